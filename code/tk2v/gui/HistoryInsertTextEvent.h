#pragma once
#include "tk2v/gui/History.h"

#include <string>

namespace GUI {

class Memo;

// Text that stands at a position of a memo's text, or stood there: toggling removes it or puts it
// back. A deletion is recorded as such a record toggled once at once.
class HistoryInsertTextEvent : public History::HistoryEvent {
public:
    HistoryInsertTextEvent(Memo* memo, u32 position, std::wstring text, bool selectOnInsert);

    bool Toggle() override;
    bool IsPresent() const { return m_present; }

private:
    u32 m_position;
    std::wstring m_text;
    Memo* m_memo;
    bool m_selectOnInsert;
    bool m_present = true;
};

} // namespace GUI
