#pragma once
#include "tk2v/util/types.h"

#include <string>
#include <string_view>
#include <vector>

// An ini-like file in memory: "[section]" headers, "key = value" entries and "#include".
// Values are raw text (untrimmed, cut at ";"); names compare exactly; duplicate sections and keys
// remain, and lookups by name take the first. Changes stay in memory.
class aOptionsFile {
public:
    // Longest section name, key, value, include name or list that the parser and the list
    // splitting take; longer text is cut.
    static constexpr size_t MaxToken = 1023;
    // Bounds that keep include loops from hanging the parser.
    static constexpr i32 MaxIncludeDepth = 32;
    static constexpr i32 MaxIncludes = 256;

    aOptionsFile() = default;
    explicit aOptionsFile(const std::string& fileName) { load(fileName); }

    // Clears, parses the file and its includes, and makes the first section current.
    void load(const std::string& fileName);
    void clear();
    void addSection(const std::string& name);

    void first();
    bool isEnd() const { return m_section >= m_sections.size(); }
    void nextSection();
    bool selectSection(const std::string& name);
    std::string getSectionName() const;

    bool firstKey();
    bool nextKey();
    bool isKeysEnd() const;
    std::string getKeyName() const;
    std::string getKeyValue() const;

    bool hasKey(const std::string& key) const;
    bool hasSectionKey(const std::string& section, const std::string& key) const;
    std::string getString(const std::string& key) const;
    i32 getInt(const std::string& key) const;
    std::string getValue(const std::string& section, const std::string& key) const;
    // The list getters split at "," and blanks and append to `out` without clearing it.
    void getStringList(std::vector<std::string>& out, const std::string& key) const;
    void getIntList(std::vector<i32>& out, const std::string& key) const;
    void getValueList(std::vector<std::string>& out, const std::string& section,
                      const std::string& key) const;

    // Sets the key in every section of that name, adding it where it is missing.
    void setValue(const std::string& section, const std::string& key, const std::string& value);
    // Adds the entry at the end of the last section of that name, even when the key is there already.
    void appendValue(const std::string& section, const std::string& key, const std::string& value);

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    static constexpr size_t None = size_t(-1);

    void parseFile(const std::string& fileName, i32 depth);
    void parseLine(const std::string& fileName, std::string_view line, i32 depth);
    void includeFile(std::string_view line, i32 depth);
    void openSection(std::string_view header);
    void addEntry(std::string_view text);

    const Section* current() const { return isEnd() ? nullptr : &m_sections[m_section]; }
    const Section* findSection(const std::string& name) const;
    const Entry* currentKey() const;
    // The value of the key in the current section; null, after the log line, when there is none.
    const std::string* currentValue(const std::string& key) const;

    std::vector<Section> m_sections;
    size_t m_section = None;
    size_t m_key = None;
    // Set by the first header; an included file inherits it and so continues the current section.
    bool m_inSection = false;
    i32 m_includes = 0;
};
