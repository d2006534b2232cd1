#pragma once
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

// Records by name, kept in name order as a map keeps them but in one block: a frame walks them all
// and a walk along a vector is far quicker than one along tree nodes.
template <class T> using NamedRecords = std::vector<std::pair<std::string, T>>;

template <class T> auto NamedLowerBound(NamedRecords<T>& records, const std::string& name) {
    return std::lower_bound(records.begin(), records.end(), name,
                            [](const auto& entry, const std::string& key) { return entry.first < key; });
}

// The record of that name; null for none.
template <class T> T* FindNamed(NamedRecords<T>& records, const std::string& name) {
    const auto at = NamedLowerBound(records, name);
    return at != records.end() && at->first == name ? &at->second : nullptr;
}

template <class T> const T* FindNamed(const NamedRecords<T>& records, const std::string& name) {
    return FindNamed(const_cast<NamedRecords<T>&>(records), name);
}

// The record of that name, and whether it had to be made (empty) for it.
template <class T> std::pair<T*, bool> EmplaceNamed(NamedRecords<T>& records, const std::string& name) {
    const auto at = NamedLowerBound(records, name);
    if (at != records.end() && at->first == name)
        return {&at->second, false};
    return {&records.insert(at, {name, T{}})->second, true};
}
