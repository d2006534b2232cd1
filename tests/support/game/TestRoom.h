#pragma once
#include "game/CAnimManager.h"
#include "game/CParticleManager.h"
#include "game/CResManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "support/TempDir.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/platform/Random.h"
#include "tk2v/sound/aSoundManager.h"

#include <string>

// A room folder in a temp dir, loaded as a room loads it: its resource lists queued under the room's
// name through the resource owner (which must exist) and loaded, then its items created and reset. Each
// frame steps the items, hit-tests them from the last to the first as the room does, and draws them.
class TestRoom {
public:
    explicit TestRoom(std::string name = "Hall") : m_name(std::move(name)) {}

    // A file of the folder, by its path inside it ("objects.ini", "Images/_images.list", ...).
    void write(const std::string& path, const std::string& bytes) const { m_dir.write(path, bytes); }
    const std::string& folder() const { return m_dir.path(); }
    const std::string& name() const { return m_name; }

    // The whole load, with `rand` seeded so that restart timers and emitters repeat.
    void load(CRoomItemLookup* rooms = nullptr, unsigned seed = 1) {
        platform::srand(seed);
        CResManager& res = *CResManager::getSingleton();
        queue("Images/_images.list",
              [&](const std::string& list) { res.getImageManager()->AddListToTask(list, m_name); });
        queue("Particles/_particles.list",
              [&](const std::string& list) { res.getParticleManager()->AddListToTask(list, m_name); });
        queue("animations.ini",
              [&](const std::string& list) { res.getAnimManager()->addListToTask(list, m_name); });
        queue("Sounds/_sounds.list",
              [&](const std::string& list) { res.getSoundManager()->AddListToTask(list, m_name); });
        res.BeginLoading();
        while (!res.isDone())
            res.LoadStep();
        m_items.CreateItems(rooms, m_name, folder());
        m_items.ResetItems();
    }

    // One frame with the mouse at (x, y): the item under it (the last hit in drawing order), or null.
    CSpyItem* frame(f32 dt, i16 x, i16 y) {
        m_items.FrameMoveItems(dt);
        CSpyItem* hit = nullptr;
        for (size_t i = m_items.GetItemCount(); i-- > 0 && !hit;) {
            CSpyItem* item = m_items.GetItemAt(i);
            if (item->IsVisible() && !item->IsInInventory() && item->HitTest(x, y))
                hit = item;
        }
        m_items.RenderItems();
        return hit;
    }

    CSpyItemManager& items() { return m_items; }

private:
    template <class Queue> void queue(const std::string& path, Queue add) const {
        if (file_exists(m_dir.file(path)))
            add(m_dir.file(path));
    }

    TempDir m_dir;
    std::string m_name;
    CSpyItemManager m_items;
};
