#include "tk2v/gui/PropertySet.h"

#include "tk2v/util/log.h"

namespace GUI {

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

} // namespace

bool NoCaseEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    if (a == b)
        return true;
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
    for (Property* record : m_records)
        record->changed = false;
}

void PropertySet::Set(std::string_view name, const std::string& value) {
    const size_t n = m_names.Find(name);
    if (n == NameTable::npos) {
        log("PropertySet::Set - property '%s' not found", std::string(name).c_str());
        return;
    }
    m_records[n]->value = value;
    m_records[n]->changed = true;
}

std::string PropertySet::Get(std::string_view name) const {
    const size_t n = m_names.Find(name);
    if (n == NameTable::npos) {
        log("PropertySet::Get - property '%s' not found", std::string(name).c_str());
        return {};
    }
    return m_records[n]->value;
}

void PropertySet::AddProperty(const std::string& name, Property* record) {
    if (!record)
        return;
    if (!m_names.Add(name)) {
        log("PropertySet::AddProperty - property '%s' already exists", name.c_str());
        return;
    }
    m_records.push_back(record);
}

} // namespace GUI
