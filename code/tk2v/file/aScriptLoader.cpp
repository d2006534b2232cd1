#include "tk2v/file/aScriptLoader.h"

#include "tk2v/file/aStringList.h"
#include "tk2v/util/log.h"

namespace {
constexpr size_t npos = std::string_view::npos;
constexpr std::string_view Blanks = " \t";
constexpr std::string_view DefineWord = "#define";
constexpr std::string_view IncludeWord = "#include";

// Blank-separated tokens; a token opened by a double quote runs to the next one, blanks included,
// and a quote that is never closed ends the tokens.
std::vector<std::string> tokenize(std::string_view text) {
    std::vector<std::string> tokens;
    size_t pos = text.find_first_not_of(Blanks);
    while (pos != npos) {
        size_t end;
        if (text[pos] == '"') {
            end = text.find('"', pos + 1);
            if (end == npos)
                break;
            tokens.emplace_back(text.substr(pos + 1, end - pos - 1));
            ++end;
        } else {
            end = text.find_first_of(Blanks, pos);
            tokens.emplace_back(text.substr(pos, end == npos ? npos : end - pos));
        }
        pos = text.find_first_not_of(Blanks, end);
    }
    return tokens;
}

// The text between the first double quote at or after `from` and the last one of the text.
bool quotedText(std::string_view text, size_t from, std::string& out) {
    const size_t open = text.find('"', from);
    const size_t close = text.rfind('"');
    if (open == npos || close <= open)
        return false;
    out = text.substr(open + 1, close - open - 1);
    return true;
}
} // namespace

void aScriptLoader::BeginScript(const std::string&) {}

int aScriptLoader::EndScript(const std::string&) {
    return 0;
}

int aScriptLoader::load(const std::string& scriptName) {
    BeginScript(scriptName);
    parse(scriptName, true);
    return EndScript(scriptName);
}

void aScriptLoader::parse(const std::string& scriptName, bool topLevel) {
    if (topLevel) {
        clearPending();
        m_sections.clear();
        m_defines.clear();
        m_depth = 0;
        m_includes = 0;
    }
    aStringList lines(scriptName);
    i32 lineNumber = 0;
    for (std::string line : lines.lines()) {
        ++lineNumber;
        if (!readLine(line))
            log("Error in script \"%s\", line %i", scriptName.c_str(), lineNumber);
    }
}

bool aScriptLoader::readLine(std::string& line) {
    // A line that would outgrow the limit keeps the rest unreplaced and is still read.
    const bool replaced = replaceDefines(line);
    const size_t first = line.find_first_not_of(Blanks);
    if (first == npos || line[first] == ';')
        return replaced;
    const std::string_view text = std::string_view(line).substr(first);
    const std::string_view trimmed = text.substr(0, text.find_last_not_of(Blanks) + 1);
    bool ok = true;
    if (text.starts_with(DefineWord))
        ok = readDefine(text);
    else if (text.starts_with(IncludeWord))
        ok = readInclude(text);
    else if (trimmed == "}")
        ok = closeSection();
    else if (trimmed == "{")
        ok = openSection();
    else
        readEntryLine(trimmed);
    return ok && replaced;
}

bool aScriptLoader::replaceDefines(std::string& line) const {
    size_t pos = 0;
    for (;;) {
        const size_t open = line.find('$', pos);
        const size_t close = open == npos ? npos : line.find('$', open + 1);
        if (close == npos)
            return true;
        const auto define = m_defines.find(std::string_view(line).substr(open + 1, close - open - 1));
        if (define == m_defines.end()) {
            // The closing sign may open the next pair.
            pos = open + 1;
            continue;
        }
        const size_t replacedLength = close - open + 1;
        if (line.size() - replacedLength + define->second.size() > MaxLineLength)
            return false;
        line.replace(open, replacedLength, define->second);
        // The inserted text is not searched again.
        pos = open + define->second.size();
    }
}

bool aScriptLoader::readDefine(std::string_view text) {
    // One separator character follows the word; the name ends at the next blank.
    const size_t nameStart = text.find_first_not_of(Blanks, DefineWord.size() + 1);
    if (nameStart == npos)
        return false;
    const size_t nameEnd = text.find_first_of(Blanks, nameStart);
    if (nameEnd == npos)
        return false;
    std::string value;
    const bool quoted = quotedText(text, nameEnd, value);
    m_defines.insert_or_assign(std::string(text.substr(nameStart, nameEnd - nameStart)), std::move(value));
    return quoted;
}

bool aScriptLoader::readInclude(std::string_view text) {
    std::string fileName;
    if (!quotedText(text, IncludeWord.size() + 1, fileName))
        return false;
    if (m_depth >= MaxIncludeDepth || m_includes >= MaxIncludes)
        return false;
    ++m_includes;
    ++m_depth;
    parse(fileName, false);
    --m_depth;
    return true;
}

bool aScriptLoader::closeSection() {
    if (m_sections.empty())
        return false;
    if (const u32 handle = m_sections.back()) {
        if (!m_pending.empty())
            ReadEntry(handle, m_pendingTokens);
        EndSection(handle);
    }
    m_sections.pop_back();
    clearPending();
    return true;
}

bool aScriptLoader::openSection() {
    if (m_pending.empty())
        return false;
    // Inside an ignored section every nested section is ignored too, without asking.
    const bool ignored = !m_sections.empty() && m_sections.back() == 0;
    m_sections.push_back(ignored ? 0 : BeginSection(innermost(), m_pendingTokens));
    clearPending();
    return true;
}

void aScriptLoader::readEntryLine(std::string_view text) {
    // A pending line outside every section, or inside an ignored one, is dropped.
    if (!m_pending.empty() && innermost() != 0)
        ReadEntry(innermost(), m_pendingTokens);
    m_pending = text;
    m_pendingTokens = tokenize(text);
}

void aScriptLoader::clearPending() {
    m_pending.clear();
    m_pendingTokens.clear();
}
