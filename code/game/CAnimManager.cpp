#include "game/CAnimManager.h"

#include "tk2v/gfx/aImageManager.h"
#include "tk2v/util/log.h"

#include <cstdio>

void CAnimManager::addListToTask(const std::string& listFile, const std::string& group) {
    m_tasks.emplace_back(listFile, group);
}

void CAnimManager::loadTasks() {
    for (const auto& [listFile, group] : m_tasks)
        load(listFile, group);
    m_tasks.clear();
}

void CAnimManager::openList(const std::string& listFile) {
    if (m_listRead && listFile == m_listName)
        return;
    m_list.load(listFile);
    m_listName = listFile;
    m_listRead = true;
}

void CAnimManager::load(const std::string& listFile, const std::string& group) {
    if (!m_images) {
        log("CAnimManager. Class Not Initialized!");
        return;
    }
    openList(listFile);
    for (m_list.first(); !m_list.isEnd(); m_list.nextSection()) {
        const std::string key = aBaseManager::makeKey(m_list.getSectionName(), group);
        if (m_animations.count(key)) {
            log("AnimManager. Animation with name \"" + key + "\" already exist!");
            continue;
        }
        aAnim anim;
        if (buildAnimation(group, anim))
            m_animations.emplace(key, anim);
    }
}

bool CAnimManager::buildAnimation(const std::string& group, aAnim& out) const {
    const aImage* texture = m_images->getImage(m_list.getString("TextureName"), group);
    if (!texture)
        return false;
    aRect first;
    i16 x = 0, y = 0, w = 0, h = 0;
    if (std::sscanf(m_list.getString("RectFirstSprite").c_str(), "%hi %hi %hi %hi", &x, &y, &w, &h) == 4)
        first = aRect{x, y, u16(w), u16(h)};
    const u16 count = u16(m_list.getInt("FramesCount"));
    f32 speed = 0.025f;
    if (m_list.hasKey("AnimSpeed"))
        std::sscanf(m_list.getString("AnimSpeed").c_str(), "%f", &speed);
    const u32 mode = m_list.hasKey("AnimMode") ? u32(m_list.getInt("AnimMode")) : u32(aAnim::MODE_LOOP);
    const i32 step = m_list.hasKey("PixelsStep") ? m_list.getInt("PixelsStep") : 0;

    // Frames run in rows: a frame that would reach past the texture's right edge starts a new row at
    // the first frame's x, so a texture narrower than one frame still gets every frame.
    i32 frameX = first.x, frameY = first.y;
    for (u16 i = 0; i < count; ++i) {
        out.addFrame(1, texture, aRect{i16(frameX), i16(frameY), first.w, first.h});
        frameX += first.w + step;
        if (frameX + first.w > texture->getWidth()) {
            frameY += first.h + step;
            frameX = first.x;
        }
    }
    // Without frames there is no frame 0 to make current.
    if (count > 0)
        out.setFrame(0);
    out.setFrameTime(speed);
    out.playMode = mode;
    out.play();
    return true;
}

void CAnimManager::unloadList(const std::string& listFile, const std::string& group) {
    openList(listFile);
    for (m_list.first(); !m_list.isEnd(); m_list.nextSection())
        m_animations.erase(aBaseManager::makeKey(m_list.getSectionName(), group));
}

const aAnim* CAnimManager::getAnimation(const std::string& name, const std::string& group) const {
    auto found = m_animations.find(aBaseManager::makeKey(name, group));
    if (found != m_animations.end())
        return &found->second;
    log("AnimManager. Cannot find animation: " + name + (group.empty() ? "" : " : " + group));
    return nullptr;
}

bool CAnimManager::hasAnimation(const std::string& name, const std::string& group) const {
    return m_animations.count(aBaseManager::makeKey(name, group)) > 0;
}
