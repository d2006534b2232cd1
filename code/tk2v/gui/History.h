#pragma once
#include "tk2v/util/types.h"

#include <list>
#include <memory>

namespace GUI {

// The undo history of a memo: records of changes, newest first, that undo and redo toggle.
class History {
public:
    // One change that can be taken back and made again.
    class HistoryEvent {
    public:
        virtual ~HistoryEvent() = default;
        // Takes the change back or makes it again; true when it is now in effect.
        virtual bool Toggle() = 0;
    };

    static constexpr u16 DEFAULT_CAPACITY = 64;

    History() = default;
    virtual ~History() = default;
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // In front of the undo list; drops the oldest record when the list is then over the capacity (one
    // record a push, so a lowered capacity shrinks the list step by step), and empties the redo list.
    void Push(std::unique_ptr<HistoryEvent> record);
    // Toggles the newest record of one list and moves it to the front of the other.
    void Undo();
    void Redo();

    u16 GetCapacity() const { return m_capacity; }
    void SetCapacity(u16 capacity) { m_capacity = capacity; }
    size_t GetUndoCount() const { return m_undo.size(); }
    size_t GetRedoCount() const { return m_redo.size(); }

private:
    using Records = std::list<std::unique_ptr<HistoryEvent>>;
    static void Move(Records& from, Records& to);

    Records m_undo, m_redo;
    u16 m_capacity = DEFAULT_CAPACITY;
};

} // namespace GUI
