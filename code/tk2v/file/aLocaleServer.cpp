#include "tk2v/file/aLocaleServer.h"

#include "tk2v/file/aFileBuffer.h"
#include "tk2v/file/aStringList.h"
#include "tk2v/file/file.h"
#include "tk2v/util/log.h"
#include "tk2v/util/str.h"

#include <algorithm>

namespace {

bool startsWithBom(const std::string& text) {
    return text.starts_with("\xEF\xBB\xBF");
}

} // namespace

aLocaleServer::aLocaleServer() {
    s_instance = this;
}

aLocaleServer::~aLocaleServer() {
    if (s_instance == this)
        s_instance = nullptr;
}

void aLocaleServer::loadFile(const std::string& fileName, const std::string& group) {
    if (findLoaded(fileName, group) != m_loadedFiles.end())
        return;
    m_loadedFiles.emplace_back(fileName, group);
    forEachEntry(fileName, [&](const Entry& entry) {
        m_strings[makeKey(entry.id, group)] = readEntryText(entry, fileName);
    });
}

bool aLocaleServer::unloadFile(const std::string& fileName, const std::string& group) {
    const auto loaded = findLoaded(fileName, group);
    if (loaded == m_loadedFiles.end())
        return false;
    m_loadedFiles.erase(loaded);
    forEachEntry(fileName, [&](const Entry& entry) { m_strings.erase(makeKey(entry.id, group)); });
    return true;
}

std::wstring aLocaleServer::getString(const std::string& id, const std::string& group) const {
    if (const std::wstring* text = findString(id, group))
        return *text;
    log("aLocaleServer. String [%s] not found", id.c_str());
    return {};
}

const std::wstring* aLocaleServer::findString(const std::string& id, const std::string& group) const {
    const auto found = m_strings.find(makeKey(id, group));
    return found == m_strings.end() ? nullptr : &found->second;
}

std::string aLocaleServer::makeKey(const std::string& id, const std::string& group) {
    return group.empty() ? id : group + ":" + id;
}

std::vector<aLocaleServer::FilePair>::iterator aLocaleServer::findLoaded(const std::string& fileName,
                                                                         const std::string& group) {
    return std::find(m_loadedFiles.begin(), m_loadedFiles.end(), FilePair(fileName, group));
}

void aLocaleServer::forEachEntry(const std::string& fileName,
                                 const std::function<void(const Entry&)>& visit) {
    const aStringList list(fileName);
    const std::vector<std::string>& lines = list.lines();
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool bom = i == 0 && startsWithBom(lines[i]);
        Entry entry;
        const LineKind kind = parseLine(bom ? lines[i].substr(3) : lines[i], entry);
        if (kind == LineKind::Error)
            log("aLocaleServer. Error in file %s, line %i", fileName.c_str(), static_cast<int>(i + 1));
        else if (kind == LineKind::Text)
            visit(entry);
    }
}

// A line is an id ending at a blank, "=" or tab, then anything, then the text between the first double
// quote after the id and the last one of the line, so that the text may hold double quotes itself.
aLocaleServer::LineKind aLocaleServer::parseLine(const std::string& line, Entry& entry) {
    const size_t idStart = line.find_first_not_of(" \t");
    if (idStart == std::string::npos || line[idStart] == ';')
        return LineKind::Comment;
    const size_t idEnd = line.find_first_of(" =\t", idStart);
    if (idEnd == std::string::npos)
        return LineKind::Error;
    const size_t open = line.find('"', idEnd);
    const size_t close = line.rfind('"');
    if (open == std::string::npos || close == open)
        return LineKind::Error;
    entry.id = line.substr(idStart, idEnd - idStart);
    entry.text = line.substr(open + 1, close - open - 1);
    entry.fromFile = line.find("file,", idEnd) < open;
    return LineKind::Text;
}

std::wstring aLocaleServer::readEntryText(const Entry& entry, const std::string& fileName) {
    if (!entry.fromFile)
        return str_utf8ToWString(expandLineBreaks(entry.text));
    // A bare name sits beside the text file; one with a folder (usually an assign) is taken as written.
    const bool hasFolder = entry.text.find_first_of("/\\") != std::string::npos;
    return readTextFile(hasFolder ? entry.text : file_getDir(fileName) + entry.text);
}

std::wstring aLocaleServer::readTextFile(const std::string& name) {
    const aFileBuffer file(name);
    const char* data = reinterpret_cast<const char*>(file.getData());
    std::string text = data ? std::string(data, file.getSize()) : std::string();
    if (startsWithBom(text))
        text.erase(0, 3);
    std::erase(text, '\r');
    return str_utf8ToWString(text);
}

std::string aLocaleServer::expandLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}
