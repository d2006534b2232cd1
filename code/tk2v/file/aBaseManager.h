#pragma once
#include "tk2v/file/aStringList.h"
#include "tk2v/util/aRoot.h"
#include "tk2v/util/types.h"

#include <list>
#include <map>
#include <string>
#include <vector>

// The base of the managers of named resources. A list file names one resource per line; the base reads
// the list and either loads every entry at once or queues the entries as load tasks that the loading
// screen runs one per frame. The subclass says what a line's file-name part is and how an entry loads.
class aBaseManager : public aRoot {
public:
    // Called by a subclass with the file name of each entry it has newly loaded.
    using ProgressCallback = void (*)(const std::string& fileName);

    struct LoadTask {
        std::string group;
        // The list's directory followed by the line's file-name part.
        std::string fullPath;
        std::string line;
        std::string dir;
    };
    using TaskList = std::list<LoadTask>;

    // Resource keys compare without regard to ASCII case.
    struct NoCaseLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };

    aBaseManager() = default;
    ~aBaseManager() override = default;
    aBaseManager(const aBaseManager&) = delete;
    aBaseManager& operator=(const aBaseManager&) = delete;

    virtual void loadList(const std::string& listFile, const std::string& group);
    // Lists of more than 65535 lines are cut there.
    virtual u16 getListSize(const std::string& listFile);
    // Appends the full path of every entry.
    virtual void decodeList(const std::string& listFile, std::vector<std::string>& out);
    virtual std::string parseListLine(const std::string& line) = 0;
    // False when the list is the one read last (same name, same letter case): it is not read again.
    virtual bool openList(const std::string& listFile);
    virtual void loadResource(const std::string& dir, const std::string& line, const std::string& group) = 0;

    void setProgressCallback(ProgressCallback callback) { m_progress = callback; }

    void AddListToTask(const std::string& listFile, const std::string& group);
    // The task cursor starts null; the owner puts it on the first task and steps it after each load.
    void firstTask();
    void nextTask();
    bool hasCurrentTask() const;
    // Does nothing while the cursor is null or past the last task.
    void loadCurrentTask();
    void runAllTasks();
    void clearTasks();
    const TaskList& getTasks() const { return m_tasks; }

    // Appends the load cost of every queued task, in queue order.
    void getTaskCosts(std::vector<f32>& out) const;
    // The file's size, scaled by its extension's weight with the extension's minimum size.
    f32 getLoadCost(const std::string& path) const;
    void setExtensionCost(const std::string& extension, f32 weight, u32 minSize);

    // The name, or "name:group" when a group is given.
    static std::string makeKey(const std::string& name, const std::string& group);

    // Positions in list lines, whose fields are separated by blanks (spaces or tabs); npos for none,
    // also when `from` is npos.
    static size_t findBlank(const std::string& line, size_t from);
    static size_t findNonBlank(const std::string& line, size_t from);

protected:
    void reportProgress(const std::string& fileName) const;
    // The lines of the list (opened now unless it is the current one), at most 65535 of them.
    std::vector<std::string> listLines(const std::string& listFile);

private:
    struct ExtensionCost {
        f32 weight;
        u32 minSize;
    };

    ProgressCallback m_progress = nullptr;
    aStringList m_list;
    std::string m_listName;
    TaskList m_tasks;
    TaskList::iterator m_cursor;
    bool m_cursorSet = false;
    std::map<std::string, ExtensionCost> m_extensionCosts;
};
