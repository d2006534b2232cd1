#include "tk2v/file/aOptionsFile.h"

#include "tk2v/file/aStringList.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {
constexpr size_t npos = std::string_view::npos;
constexpr std::string_view IncludeWord = "#include";
constexpr std::string_view KeySeparators = " =";
constexpr std::string_view ListSeparators = ", ";

std::string token(std::string_view text) {
    return std::string(text.substr(0, aOptionsFile::MaxToken));
}

// Like atoi, but a number out of range gives the nearest int instead of undefined behaviour.
i32 toInt(const std::string& text) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return i32(std::clamp<long>(value, INT_MIN, INT_MAX));
}

std::vector<std::string> splitList(const std::string& value) {
    const std::string_view text = std::string_view(value).substr(0, aOptionsFile::MaxToken);
    std::vector<std::string> pieces;
    size_t pos = text.find_first_not_of(ListSeparators);
    while (pos != npos) {
        const size_t end = text.find_first_of(ListSeparators, pos);
        pieces.emplace_back(text.substr(pos, end == npos ? npos : end - pos));
        pos = text.find_first_not_of(ListSeparators, end);
    }
    return pieces;
}

void appendList(std::vector<std::string>& out, const std::string& value) {
    for (std::string& piece : splitList(value))
        out.push_back(std::move(piece));
}

template <class Entries> auto findEntry(Entries& entries, const std::string& key) {
    const auto it = std::find_if(entries.begin(), entries.end(), [&](auto& e) { return e.key == key; });
    return it == entries.end() ? nullptr : &*it;
}
} // namespace

void aOptionsFile::load(const std::string& fileName) {
    clear();
    m_inSection = false;
    m_includes = 0;
    parseFile(fileName, 0);
    first();
}

void aOptionsFile::clear() {
    m_sections.clear();
    m_section = None;
    m_key = None;
}

void aOptionsFile::addSection(const std::string& name) {
    m_sections.push_back({name, {}});
}

void aOptionsFile::parseFile(const std::string& fileName, i32 depth) {
    const aStringList lines(fileName);
    for (const std::string& line : lines.lines())
        parseLine(fileName, line, depth);
}

void aOptionsFile::parseLine(const std::string& fileName, std::string_view line, i32 depth) {
    // Only the space character is skipped: a tab before a key belongs to the key.
    const size_t start = line.find_first_not_of(' ');
    if (start == npos || line[start] == ';')
        return;
    const std::string_view text = line.substr(start);
    if (text.starts_with(IncludeWord)) {
        includeFile(text, depth);
    } else if (text[0] == '[') {
        openSection(text.substr(1));
    } else if (!m_inSection || m_sections.empty()) {
        log("aOptionsFile. Incorrect file: " + fileName);
    } else {
        addEntry(text);
    }
}

void aOptionsFile::addEntry(std::string_view text) {
    // Key and value may be joined by any run of blanks and equals signs; the value is raw up to ";".
    const size_t keyEnd = text.find_first_of(KeySeparators);
    const size_t valueStart = text.find_first_not_of(KeySeparators, keyEnd);
    const std::string_view rest = valueStart == npos ? std::string_view() : text.substr(valueStart);
    m_sections.back().entries.push_back(
        {token(text.substr(0, keyEnd)), token(rest.substr(0, rest.find(';')))});
}

void aOptionsFile::includeFile(std::string_view line, i32 depth) {
    // The text after the first double quote up to the next one; no quote gives an empty name.
    const size_t open = line.find('"', IncludeWord.size());
    std::string fileName;
    if (open != npos) {
        const std::string_view rest = line.substr(open + 1);
        fileName = token(rest.substr(0, rest.find('"')));
    }
    if (depth >= MaxIncludeDepth || m_includes >= MaxIncludes) {
        log("aOptionsFile. Incorrect file: " + fileName);
        return;
    }
    ++m_includes;
    parseFile(fileName, depth + 1);
}

void aOptionsFile::openSection(std::string_view header) {
    addSection(token(header.substr(0, header.find(']'))));
    m_inSection = true;
}

void aOptionsFile::first() {
    m_section = m_sections.empty() ? None : 0;
    m_key = None;
}

void aOptionsFile::nextSection() {
    if (isEnd())
        return;
    m_section = m_section + 1 < m_sections.size() ? m_section + 1 : None;
    m_key = None;
}

bool aOptionsFile::selectSection(const std::string& name) {
    const Section* found = findSection(name);
    if (!found)
        return false;
    m_section = size_t(found - m_sections.data());
    m_key = None;
    return true;
}

std::string aOptionsFile::getSectionName() const {
    return isEnd() ? std::string() : current()->name;
}

const aOptionsFile::Section* aOptionsFile::findSection(const std::string& name) const {
    const auto it =
        std::find_if(m_sections.begin(), m_sections.end(), [&](const Section& s) { return s.name == name; });
    return it == m_sections.end() ? nullptr : &*it;
}

bool aOptionsFile::firstKey() {
    if (isEnd())
        return false;
    m_key = 0;
    return true;
}

bool aOptionsFile::nextKey() {
    if (isKeysEnd())
        return false;
    ++m_key;
    return true;
}

bool aOptionsFile::isKeysEnd() const {
    return currentKey() == nullptr;
}

const aOptionsFile::Entry* aOptionsFile::currentKey() const {
    const Section* section = current();
    return section && m_key < section->entries.size() ? &section->entries[m_key] : nullptr;
}

std::string aOptionsFile::getKeyName() const {
    const Entry* entry = currentKey();
    return entry ? entry->key : std::string();
}

std::string aOptionsFile::getKeyValue() const {
    const Entry* entry = currentKey();
    return entry ? entry->value : std::string();
}

bool aOptionsFile::hasKey(const std::string& key) const {
    const Section* section = current();
    return section && findEntry(section->entries, key);
}

bool aOptionsFile::hasSectionKey(const std::string& section, const std::string& key) const {
    return std::any_of(m_sections.begin(), m_sections.end(),
                       [&](const Section& s) { return s.name == section && findEntry(s.entries, key); });
}

const std::string* aOptionsFile::currentValue(const std::string& key) const {
    const Section* section = current();
    if (!section) {
        log("aOptionsFile. Error get key \"%s\" from unspecified current section!", key.c_str());
        return nullptr;
    }
    const Entry* entry = findEntry(section->entries, key);
    if (!entry) {
        log("aOptionsFile. Cannot find key \"%s\" in current section!", key.c_str());
        return nullptr;
    }
    return &entry->value;
}

std::string aOptionsFile::getString(const std::string& key) const {
    const std::string* value = currentValue(key);
    return value ? *value : std::string();
}

i32 aOptionsFile::getInt(const std::string& key) const {
    return toInt(getString(key));
}

std::string aOptionsFile::getValue(const std::string& section, const std::string& key) const {
    const Section* found = findSection(section);
    if (!found) {
        log("aOptionsFile. Cannot find section: [" + section + "]");
        return std::string();
    }
    const Entry* entry = findEntry(found->entries, key);
    if (!entry) {
        log("aOptionsFile. Cannot find key: [" + section + "]." + key);
        return std::string();
    }
    return entry->value;
}

void aOptionsFile::getStringList(std::vector<std::string>& out, const std::string& key) const {
    appendList(out, getString(key));
}

void aOptionsFile::getIntList(std::vector<i32>& out, const std::string& key) const {
    for (const std::string& piece : splitList(getString(key)))
        out.push_back(toInt(piece));
}

void aOptionsFile::getValueList(std::vector<std::string>& out, const std::string& section,
                                const std::string& key) const {
    appendList(out, getValue(section, key));
}

void aOptionsFile::setValue(const std::string& section, const std::string& key, const std::string& value) {
    bool found = false;
    for (Section& s : m_sections) {
        if (s.name != section)
            continue;
        found = true;
        if (Entry* entry = findEntry(s.entries, key))
            entry->value = value;
        else
            s.entries.push_back({key, value});
    }
    if (!found)
        log("aOptionsFile. Cannot find section for set: " + section);
}

void aOptionsFile::appendValue(const std::string& section, const std::string& key, const std::string& value) {
    const auto last = std::find_if(m_sections.rbegin(), m_sections.rend(),
                                   [&](const Section& s) { return s.name == section; });
    if (last == m_sections.rend()) {
        log("aOptionsFile. Cannot find section for set: " + section);
        return;
    }
    last->entries.push_back({key, value});
}
