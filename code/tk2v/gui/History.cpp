#include "tk2v/gui/History.h"

namespace GUI {

void History::Push(std::unique_ptr<HistoryEvent> record) {
    m_undo.push_front(std::move(record));
    if (m_undo.size() > m_capacity)
        m_undo.pop_back();
    m_redo.clear();
}

void History::Move(Records& from, Records& to) {
    if (from.empty())
        return;
    std::unique_ptr<HistoryEvent> record = std::move(from.front());
    from.pop_front();
    record->Toggle();
    to.push_front(std::move(record));
}

void History::Undo() {
    Move(m_undo, m_redo);
}

void History::Redo() {
    Move(m_redo, m_undo);
}

} // namespace GUI
