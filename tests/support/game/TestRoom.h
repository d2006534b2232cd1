#pragma once
#include "game/CAnimManager.h"
#include "game/CParticleManager.h"
#include "game/CResManager.h"
#include "game/GameConstants.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "game/SpyGame/CSpyObjManager.h"
#include "game/SpyGame/CSpyObject.h"
#include "support/ImageFiles.h"
#include "support/TempDir.h"
#include "support/engine/TestEngine.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/platform/Random.h"
#include "tk2v/sound/aSoundManager.h"

#include <memory>
#include <string>
#include <vector>

// A room folder written into a temp dir as a room's data lays it out, loaded under the room's name
// through the resource owner's loading pass, with its objects and items made from its objects.ini and
// items.ini and reset, and driven frame by frame as a room drives its items. rand is seeded, so
// particles and restart pauses come out alike in every run.
class TestRoom {
public:
    explicit TestRoom(std::string name = "Hall") : m_name(std::move(name)) {
        testGraphServer();
        m_res = std::make_unique<CResManager>(false);
    }

    const std::string& name() const { return m_name; }
    // The room's data folder, ending with "/".
    std::string folder() const { return m_dir.path() + "room_" + m_name + "/"; }
    CResManager& res() const { return *m_res; }
    CSpyObjManager& objects() { return m_items.GetObjManager(); }
    CSpyItemManager& items() { return m_items; }

    // A picture of 0xAARRGGBB pixels in rows, listed in "Images/_images.list".
    void addImage(const std::string& image, u32 width, u32 height, const std::vector<u32>& argb) {
        m_dir.write("room_" + m_name + "/Images/" + image + ".png",
                    imagefiles::text(imagefiles::png(width, height, argb)));
        m_images += image + ".png 8888 8888\n";
    }
    // Sections of "animations.ini".
    void addAnimations(const std::string& sections) { m_animations += sections; }
    // A ".psys" file listed in "Particles/_particles.list", drawn with a white texture of its own.
    // Particle textures are global pictures: they are listed apart and loaded in the particles' group.
    void addParticles(const std::string& system, const std::string& psys) {
        m_dir.write("room_" + m_name + "/Particles/" + system + ".psys",
                    "texture " + system + "_dot\n" + psys);
        m_dir.write("room_" + m_name + "/Particles/" + system + "_dot.png",
                    imagefiles::text(imagefiles::png(2, 2, std::vector<u32>(4, 0xFFFFFFFF))));
        m_particles += system + "\n";
        m_particleTextures += system + "_dot.png 8888 8888\n";
    }
    // Lines of "Locale/room.txt".
    void addTexts(const std::string& lines) { m_texts += lines; }
    void setObjects(const std::string& ini) { m_objectsIni = ini; }
    void setItems(const std::string& ini) { m_itemsIni = ini; }
    // A sound file listed in "Sounds/_sounds.list" at full volume.
    void addSound(const std::string& file, const std::string& bytes) {
        m_dir.write("room_" + m_name + "/Sounds/" + file, bytes);
        m_sounds += file + " 1\n";
    }

    // Writes the lists, queues them under the room's name, runs the loading pass to its end, then
    // makes the objects and items, with `rooms` answering for other rooms, and resets the items.
    void load(CRoomItemLookup* rooms = nullptr) {
        const std::string room = "room_" + m_name + "/";
        m_dir.write(room + "Images/_images.list", m_images);
        m_dir.write(room + "animations.ini", m_animations);
        m_dir.write(room + "Particles/_particles.list", m_particles);
        m_dir.write(room + "Particles/_textures.list", m_particleTextures);
        m_dir.write(room + "Locale/room.txt", m_texts);
        m_dir.write(room + "Sounds/_sounds.list", m_sounds);
        m_dir.write(room + "objects.ini", m_objectsIni);
        m_dir.write(room + "items.ini", m_itemsIni);
        m_res->getImageManager()->AddListToTask(folder() + "Images/_images.list", m_name);
        m_res->getImageManager()->AddListToTask(folder() + "Particles/_textures.list", PARTICLES_IMAGE_GROUP);
        m_res->getAnimManager()->addListToTask(folder() + "animations.ini", m_name);
        m_res->getParticleManager()->AddListToTask(folder() + "Particles/_particles.list", m_name);
        m_res->getSoundManager()->AddListToTask(folder() + "Sounds/_sounds.list", m_name);
        m_res->getLocaleServer()->loadFile(folder() + "Locale/room.txt", m_name);
        m_res->BeginLoading();
        for (int step = 0; step < 10000 && !m_res->isDone(); ++step)
            m_res->LoadStep();
        platform::srand(1);
        m_items.CreateItems(rooms, m_name, folder());
        m_items.ResetItems();
    }

    void frame(f32 dt) { m_items.FrameMoveItems(dt); }
    // The item under the point as the room finds it: hit-tested from the last drawn to the first.
    CSpyItem* itemAt(i16 x, i16 y) {
        for (size_t i = m_items.GetItemCount(); i-- > 0;) {
            CSpyItem* item = m_items.GetItemAt(i);
            if (item->IsVisible() && !item->IsInInventory() && item->HitTest(x, y))
                return item;
        }
        return nullptr;
    }
    // The topmost object under the point: the last one drawn.
    CSpyObject* hitTest(i32 x, i32 y) {
        const auto& all = objects().GetObjects();
        for (auto it = all.rbegin(); it != all.rend(); ++it)
            if ((*it)->HitTest(x, y))
                return it->get();
        return nullptr;
    }
    void render() { m_items.RenderItems(); }

private:
    std::string m_name;
    TempDir m_dir;
    std::unique_ptr<CResManager> m_res;
    CSpyItemManager m_items;
    std::string m_images, m_animations, m_particles, m_particleTextures, m_texts, m_sounds, m_objectsIni,
        m_itemsIni;
};
