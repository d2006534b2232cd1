#pragma once
#include "tk2v/util/types.h"

#include <string>
#include <string_view>
#include <vector>

namespace GUI {

// Names numbered in the order they were added, found without regard to ASCII letter case through a
// hash of their lower-case forms: widgets look their properties and events up by name all the time.
class NameTable {
public:
    static constexpr size_t npos = size_t(-1);

    // The number the name was added under, or npos.
    size_t Find(std::string_view name) const;
    // Adds the name under the number Size(); false, adding nothing, when it is there already.
    bool Add(std::string_view name);
    const std::string& Name(size_t number) const { return m_names[number]; }
    size_t Size() const { return m_names.size(); }
    void Reserve(size_t count);

private:
    static u32 Hash(std::string_view name);
    size_t Find(std::string_view name, u32 hash) const;
    void Insert(size_t number, u32 hash);

    std::vector<std::string> m_names;
    std::vector<u32> m_hashes;
    // Open addressing, at most half full: 0 is free, otherwise the name's number + 1.
    std::vector<u16> m_slots;
};

} // namespace GUI
