#pragma once
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The player-visible texts of the current language, read from UTF-8 text files, as wide strings under
// "group:id" keys (the bare id for the empty group).
class aLocaleServer {
public:
    aLocaleServer();
    ~aLocaleServer();
    aLocaleServer(const aLocaleServer&) = delete;
    aLocaleServer& operator=(const aLocaleServer&) = delete;

    // The one locale server of the process; null while none exists.
    static aLocaleServer* getInstance() { return s_instance; }

    // A (file, group) pair is read once; loading it again does nothing.
    void loadFile(const std::string& fileName, const std::string& group);
    // Removes the keys the file defines under the group; false when the pair was never loaded.
    bool unloadFile(const std::string& fileName, const std::string& group);

    // An empty text when missing, after a log line.
    std::wstring getString(const std::string& id, const std::string& group = "") const;
    // Null when missing, silently: for callers to whom a missing text is normal.
    const std::wstring* findString(const std::string& id, const std::string& group = "") const;

private:
    struct Entry {
        std::string id;
        std::string text; // UTF-8; the name of the file holding the text when `fromFile` is set
        bool fromFile = false;
    };
    using FilePair = std::pair<std::string, std::string>;

    static std::string makeKey(const std::string& id, const std::string& group);
    enum class LineKind { Comment, Text, Error };
    static LineKind parseLine(const std::string& line, Entry& entry);
    static void forEachEntry(const std::string& fileName, const std::function<void(const Entry&)>& visit);
    static std::wstring readEntryText(const Entry& entry, const std::string& fileName);
    static std::wstring readTextFile(const std::string& name);
    static std::string expandLineBreaks(const std::string& text);

    std::vector<FilePair>::iterator findLoaded(const std::string& fileName, const std::string& group);

    std::map<std::string, std::wstring> m_strings;
    std::vector<FilePair> m_loadedFiles;

    static inline aLocaleServer* s_instance = nullptr;
};
