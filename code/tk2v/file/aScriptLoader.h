#pragma once
#include "tk2v/util/types.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

// Reads section scripts ("{" and "}" on lines of their own) through a small preprocessor
// ("#define" with "$name$" substitution, "#include", ";" comments, quoted tokens) and reports
// sections and entries to the subclass. An entry line is held back one line, because only the
// next line tells whether it was an entry or the header of a section.
class aScriptLoader {
public:
    // Bounds that keep include loops and self-feeding defines from hanging the reader.
    static constexpr i32 MaxIncludeDepth = 32;
    static constexpr i32 MaxIncludes = 256;
    static constexpr size_t MaxLineLength = 4096;

    aScriptLoader() = default;
    virtual ~aScriptLoader() = default;
    aScriptLoader(const aScriptLoader&) = delete;
    aScriptLoader& operator=(const aScriptLoader&) = delete;

    // BeginScript, the top-level parse, then EndScript, whose result is returned.
    int load(const std::string& scriptName);
    // The top level starts afresh; a nested read (an include) shares defines, open sections and the
    // pending entry with the file that includes it.
    void parse(const std::string& scriptName, bool topLevel);

protected:
    virtual void BeginScript(const std::string& scriptName);
    virtual int EndScript(const std::string& scriptName);
    // Returns the new section's handle; 0 ignores the section and everything inside it.
    virtual u32 BeginSection(u32 parent, const std::vector<std::string>& tokens) = 0;
    virtual void EndSection(u32 handle) = 0;
    virtual void ReadEntry(u32 handle, const std::vector<std::string>& tokens) = 0;

private:
    // Each returns false when the line is an error in the script.
    bool readLine(std::string& line);
    bool replaceDefines(std::string& line) const;
    bool readDefine(std::string_view text);
    bool readInclude(std::string_view text);
    bool closeSection();
    bool openSection();
    void readEntryLine(std::string_view text);

    u32 innermost() const { return m_sections.empty() ? 0 : m_sections.back(); }
    void clearPending();

    std::map<std::string, std::string, std::less<>> m_defines;
    std::vector<u32> m_sections;
    std::string m_pending;
    std::vector<std::string> m_pendingTokens;
    i32 m_depth = 0;
    i32 m_includes = 0;
};
