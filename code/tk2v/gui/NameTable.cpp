#include "tk2v/gui/NameTable.h"

#include "tk2v/gui/PropertySet.h"

#include <cstring>

namespace GUI {

namespace {

u64 load8(const char* p) {
    u64 v;
    std::memcpy(&v, p, 8);
    return v;
}

u32 load4(const char* p) {
    u32 v;
    std::memcpy(&v, p, 4);
    return v;
}

// Names of equal length that are the same byte for byte, compared without a call for the usual
// lengths; any other pair goes to the case-folding comparison.
bool sameName(std::string_view a, std::string_view b) {
    const size_t n = a.size();
    if (n != b.size())
        return false;
    const char *p = a.data(), *q = b.data();
    bool same = false;
    if (n >= 8 && n <= 16)
        same = load8(p) == load8(q) && load8(p + n - 8) == load8(q + n - 8);
    else if (n >= 4 && n < 8)
        same = load4(p) == load4(q) && load4(p + n - 4) == load4(q + n - 4);
    return same || NoCaseEqual(a, b);
}

} // namespace

u32 NameTable::Hash(std::string_view name) {
    // Eight letters at a time with bit 5 set, which folds case for letters; the other characters it
    // touches only collide, and every hit is checked by comparing the names.
    u64 h = name.size() * 0x9E3779B97F4A7C15ull;
    auto mix = [&h](u64 chunk) {
        h = (h ^ (chunk | 0x2020202020202020ull)) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    };
    size_t i = 0;
    for (; i + 8 <= name.size(); i += 8) {
        u64 chunk;
        std::memcpy(&chunk, name.data() + i, 8);
        mix(chunk);
    }
    // The tail from two overlapping loads: a short copy through memory stalls the load that follows.
    const size_t rest = name.size() - i;
    const char* p = name.data() + i;
    if (rest >= 4) {
        u32 head, tail;
        std::memcpy(&head, p, 4);
        std::memcpy(&tail, p + rest - 4, 4);
        mix(head | u64(tail) << 32);
    } else if (rest > 0) {
        mix(u8(p[0]) | u64(u8(p[rest / 2])) << 8 | u64(u8(p[rest - 1])) << 16);
    }
    return u32(h);
}

size_t NameTable::Find(std::string_view name) const {
    return Find(name, Hash(name));
}

size_t NameTable::Find(std::string_view name, u32 hash) const {
    if (m_slots.empty())
        return npos;
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const u16 slot = m_slots[i];
        if (slot == 0)
            return npos;
        if (m_hashes[slot - 1] == hash && sameName(m_names[slot - 1], name))
            return slot - 1;
    }
}

bool NameTable::Add(std::string_view name) {
    const u32 hash = Hash(name);
    if (Find(name, hash) != npos)
        return false;
    m_names.emplace_back(name);
    m_hashes.push_back(hash);
    if (m_slots.size() < 2 * m_names.size())
        Reserve(m_names.size());
    else
        Insert(m_names.size() - 1, hash);
    return true;
}

void NameTable::Reserve(size_t count) {
    size_t size = 16;
    while (size < 2 * count)
        size *= 2;
    m_names.reserve(count);
    m_hashes.reserve(count);
    if (size <= m_slots.size())
        return;
    m_slots.assign(size, 0);
    for (size_t n = 0; n < m_names.size(); ++n)
        Insert(n, m_hashes[n]);
}

void NameTable::Insert(size_t number, u32 hash) {
    const size_t mask = m_slots.size() - 1;
    size_t i = hash & mask;
    while (m_slots[i] != 0)
        i = (i + 1) & mask;
    m_slots[i] = u16(number + 1);
}

} // namespace GUI
