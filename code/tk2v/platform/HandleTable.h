#pragma once
#include "tk2v/util/types.h"

#include <cstddef>
#include <vector>

namespace platform {

// Owns items behind 32-bit handles: slot number + 1 in the low half, the slot's generation in the high
// half. A removed item's handle never finds the slot's next item, and no handle is 0.
template <class Pointer> class HandleTable {
public:
    static constexpr std::size_t MAX_ITEMS = 0xFFFF;

    // 0 when the table is full.
    u32 add(Pointer item) {
        if (m_free.empty() && m_slots.size() == MAX_ITEMS)
            return 0;
        if (m_free.empty()) {
            m_free.push_back(m_slots.size());
            m_slots.emplace_back();
        }
        std::size_t index = m_free.back();
        m_free.pop_back();
        m_slots[index].item = std::move(item);
        return u32(m_slots[index].generation) << 16 | u32(index + 1);
    }

    // The item behind a live handle, else null.
    auto* get(u32 handle) const {
        std::size_t index = indexOf(handle);
        return index < m_slots.size() ? m_slots[index].item.get() : nullptr;
    }

    // Takes the item out; null for a handle that is not live.
    Pointer remove(u32 handle) {
        std::size_t index = indexOf(handle);
        if (index >= m_slots.size())
            return nullptr;
        Pointer item = std::move(m_slots[index].item);
        retire(index);
        return item;
    }

    template <class Visit> void forEach(Visit visit) const {
        for (const Slot& slot : m_slots)
            if (slot.item)
                visit(slot.item);
    }

    // Drops every item; the handles given out so far stay dead.
    void clear() {
        for (std::size_t index = 0; index < m_slots.size(); ++index)
            if (m_slots[index].item)
                retire(index);
    }

private:
    struct Slot {
        Pointer item;
        u16 generation = 0;
    };

    // The slot of a live handle, else past the end.
    std::size_t indexOf(u32 handle) const {
        std::size_t index = std::size_t(handle & 0xFFFF) - 1;
        if (index >= m_slots.size() || !m_slots[index].item || m_slots[index].generation != handle >> 16)
            return m_slots.size();
        return index;
    }

    void retire(std::size_t index) {
        m_slots[index].item = nullptr;
        ++m_slots[index].generation;
        m_free.push_back(index);
    }

    std::vector<Slot> m_slots;
    std::vector<std::size_t> m_free;
};

} // namespace platform
