#include "tk2v/file/aBaseManager.h"

#include "tk2v/file/file.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <limits>
#include <strings.h>

bool aBaseManager::NoCaseLess::operator()(const std::string& a, const std::string& b) const {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
}

std::string aBaseManager::makeKey(const std::string& name, const std::string& group) {
    return group.empty() ? name : name + ":" + group;
}

bool aBaseManager::openList(const std::string& listFile) {
    if (listFile == m_listName)
        return false;
    m_list.load(listFile);
    m_listName = listFile;
    return true;
}

u16 aBaseManager::getListSize(const std::string& listFile) {
    openList(listFile);
    return u16(std::min<size_t>(m_list.size(), std::numeric_limits<u16>::max()));
}

// A copy: a subclass's load may open another list and so replace the current lines.
std::vector<std::string> aBaseManager::listLines(const std::string& listFile) {
    const u16 listed = getListSize(listFile);
    const size_t count = std::min<size_t>(listed, m_list.size());
    return std::vector<std::string>(m_list.lines().begin(), m_list.lines().begin() + long(count));
}

void aBaseManager::loadList(const std::string& listFile, const std::string& group) {
    const std::string dir = file_getDir(listFile);
    for (const std::string& line : listLines(listFile))
        loadResource(dir, line, group);
}

void aBaseManager::decodeList(const std::string& listFile, std::vector<std::string>& out) {
    const std::string dir = file_getDir(listFile);
    for (const std::string& line : listLines(listFile))
        out.push_back(dir + parseListLine(line));
}

void aBaseManager::AddListToTask(const std::string& listFile, const std::string& group) {
    std::vector<std::string> decoded;
    decodeList(listFile, decoded);
    const std::string dir = file_getDir(listFile);
    const std::vector<std::string> lines = listLines(listFile);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i >= decoded.size()) {
            log("aBaseManager::AddListToTask decode error! \"%s\"", listFile.c_str());
            continue;
        }
        m_tasks.push_back({group, decoded[i], lines[i], dir});
    }
}

void aBaseManager::firstTask() {
    m_cursor = m_tasks.begin();
    m_cursorSet = true;
}

void aBaseManager::nextTask() {
    if (hasCurrentTask())
        ++m_cursor;
}

bool aBaseManager::hasCurrentTask() const {
    return m_cursorSet && m_cursor != m_tasks.end();
}

void aBaseManager::loadCurrentTask() {
    if (!hasCurrentTask())
        return;
    // Copied: the load may queue or clear tasks.
    const LoadTask task = *m_cursor;
    loadResource(task.dir, task.line, task.group);
}

void aBaseManager::runAllTasks() {
    TaskList tasks;
    tasks.swap(m_tasks);
    m_cursorSet = false;
    for (const LoadTask& task : tasks)
        loadResource(task.dir, task.line, task.group);
}

void aBaseManager::clearTasks() {
    m_tasks.clear();
    m_cursorSet = false;
}

void aBaseManager::getTaskCosts(std::vector<f32>& out) const {
    for (const LoadTask& task : m_tasks)
        out.push_back(getLoadCost(task.fullPath));
}

f32 aBaseManager::getLoadCost(const std::string& path) const {
    const u32 size = file_getSize(path);
    auto found = m_extensionCosts.find(file_getExt(path));
    if (found == m_extensionCosts.end())
        return f32(size);
    return found->second.weight * f32(std::max(size, found->second.minSize));
}

void aBaseManager::setExtensionCost(const std::string& extension, f32 weight, u32 minSize) {
    m_extensionCosts[extension] = {weight, minSize};
}

size_t aBaseManager::findBlank(const std::string& line, size_t from) {
    return line.find_first_of(" \t", from);
}

size_t aBaseManager::findNonBlank(const std::string& line, size_t from) {
    return line.find_first_not_of(" \t", from);
}

void aBaseManager::reportProgress(const std::string& fileName) const {
    if (m_progress)
        m_progress(fileName);
}
