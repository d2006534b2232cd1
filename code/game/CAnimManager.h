#pragma once
#include "tk2v/file/aBaseManager.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aAnim.h"

#include <list>
#include <map>
#include <string>
#include <utility>

class aImageManager;

// The game's sprite animations by key (the name, plus ":" and the group when one is given; letter
// case does not matter). An animation list is an options file with one section per animation that
// cuts its frames from one texture. Users copy a template into an animation of their own.
class CAnimManager {
public:
    CAnimManager() = default;
    CAnimManager(const CAnimManager&) = delete;
    CAnimManager& operator=(const CAnimManager&) = delete;

    void setImageManager(aImageManager* images) { m_images = images; }

    void addListToTask(const std::string& listFile, const std::string& group);
    // Loads every queued list in order, then empties the queue.
    void loadTasks();
    void clearTasks() { m_tasks.clear(); }
    bool hasTasks() const { return !m_tasks.empty(); }

    void load(const std::string& listFile, const std::string& group);
    // Erases the animations the list names under the group; names not loaded are skipped.
    void unloadList(const std::string& listFile, const std::string& group);

    // Null, after a log line, when there is no such animation.
    const aAnim* getAnimation(const std::string& name, const std::string& group = "") const;
    bool hasAnimation(const std::string& name, const std::string& group = "") const;

private:
    // The file is read again only when another one is asked for.
    void openList(const std::string& listFile);
    // From the current section of the list; false when its texture is missing.
    bool buildAnimation(const std::string& group, aAnim& out) const;

    std::map<std::string, aAnim, aBaseManager::NoCaseLess> m_animations;
    aImageManager* m_images = nullptr;
    aOptionsFile m_list;
    std::string m_listName;
    bool m_listRead = false;
    std::list<std::pair<std::string, std::string>> m_tasks;
};
