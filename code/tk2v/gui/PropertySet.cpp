#include "tk2v/gui/PropertySet.h"

#include "tk2v/util/log.h"

#include <algorithm>

namespace GUI {

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

} // namespace

bool NoCaseEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

bool NoCaseLess::operator()(std::string_view a, std::string_view b) const {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const unsigned char ca = u8(lower(a[i])), cb = u8(lower(b[i]));
        if (ca != cb)
            return ca < cb;
    }
    return a.size() < b.size();
}

void PropertySet::ClearChanged() {
    for (auto& entry : m_properties)
        entry.second->changed = false;
}

Property* PropertySet::Find(std::string_view name) const {
    auto it = std::lower_bound(m_properties.begin(), m_properties.end(), name,
                               [](const Entry& e, std::string_view n) { return NoCaseLess()(e.first, n); });
    return it != m_properties.end() && NoCaseEqual(it->first, name) ? it->second : nullptr;
}

void PropertySet::Set(std::string_view name, const std::string& value) {
    Property* record = Find(name);
    if (!record) {
        log("PropertySet::Set - property '%s' not found", std::string(name).c_str());
        return;
    }
    record->value = value;
    record->changed = true;
}

std::string PropertySet::Get(std::string_view name) const {
    const Property* record = Find(name);
    if (!record) {
        log("PropertySet::Get - property '%s' not found", std::string(name).c_str());
        return {};
    }
    return record->value;
}

void PropertySet::AddSortedProperties(const std::pair<const char*, Property*>* records, size_t count) {
    if (!m_properties.empty()) {
        for (size_t i = 0; i < count; ++i)
            AddProperty(records[i].first, records[i].second);
        return;
    }
    for (size_t i = 0; i < count; ++i)
        m_properties.emplace_back(records[i].first, records[i].second);
}

void PropertySet::AddProperty(const std::string& name, Property* record) {
    if (!record)
        return;
    auto it = std::lower_bound(m_properties.begin(), m_properties.end(), name,
                               [](const Entry& e, const std::string& n) { return NoCaseLess()(e.first, n); });
    if (it != m_properties.end() && NoCaseEqual(it->first, name)) {
        log("PropertySet::AddProperty - property '%s' already exists", name.c_str());
        return;
    }
    m_properties.emplace(it, name, record);
}

} // namespace GUI
