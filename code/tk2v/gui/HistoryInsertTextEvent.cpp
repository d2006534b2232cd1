#include "tk2v/gui/HistoryInsertTextEvent.h"
#include "tk2v/gui/Memo.h"

#include <algorithm>

namespace GUI {

HistoryInsertTextEvent::HistoryInsertTextEvent(Memo* memo, u32 position, std::wstring text,
                                               bool selectOnInsert)
    : m_position(position), m_text(std::move(text)), m_memo(memo), m_selectOnInsert(selectOnInsert) {}

bool HistoryInsertTextEvent::Toggle() {
    Memo& memo = *m_memo;
    // Text set from outside since the record was made may be shorter than its position.
    m_position = std::min<u32>(m_position, u32(memo.m_text.size()));
    const u32 end = m_position + u32(m_text.size());
    if (m_present) {
        memo.m_text.erase(m_position, m_text.size());
        memo.LayOut();
        memo.SetSelection(m_position, m_position);
        memo.SetCursorPos(m_position);
    } else {
        memo.m_text.insert(m_position, m_text);
        memo.LayOut();
        memo.SetSelection(m_selectOnInsert ? m_position : end, end);
        memo.SetCursorPos(end);
    }
    WidgetEventArgs e(&memo);
    memo.Editbox::OnTextChanged(e);
    m_present = !m_present;
    return m_present;
}

} // namespace GUI
