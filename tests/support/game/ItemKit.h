#pragma once
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "support/TempDir.h"
#include "support/game/FakeRooms.h"
#include "support/game/SceneKit.h"
#include "tk2v/sound/SoundFixture.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/sound/aSoundManager.h"

#include <map>
#include <memory>
#include <string>

// Rooms made from objects.ini and items.ini texts over a resource owner with pictures and sounds, and
// the rooms of the investigation as the items reach them. Sounds play on an output nobody pulls, so a
// sound that was started stays playing until it is stopped.
class ItemKit : public SoundFixture {
protected:
    // Creates the room's objects and items; they are not reset.
    CSpyItemManager& room(const std::string& name, const std::string& objectsIni,
                          const std::string& itemsIni) {
        auto folder = std::make_unique<TempDir>();
        folder->write("objects.ini", objectsIni);
        folder->write("items.ini", itemsIni);
        auto manager = std::make_unique<CSpyItemManager>();
        manager->CreateItems(&rooms, name, folder->path());
        rooms.rooms[name] = manager.get();
        folders.push_back(std::move(folder));
        return *(managers[name] = std::move(manager));
    }

    // A one-second sound known as `name` in the group.
    aSound* sound(const std::string& name, const std::string& group = "") {
        writeWav(name + ".wav", RATE);
        dir.write(name + ".list", name + ".wav 1\n");
        kit.res->getSoundManager()->loadList(dir.file(name + ".list"), group);
        return kit.res->getSoundManager()->getSound(name, group);
    }

    // The playing sounds among these, stopped again.
    static std::string playing(std::initializer_list<std::pair<const char*, aSound*>> sounds) {
        std::string names;
        for (auto [name, s] : sounds)
            if (s->isPlaying()) {
                names += names.empty() ? name : std::string(" ") + name;
                s->stop();
            }
        return names;
    }

    SceneKit kit;
    FakeRooms rooms;
    std::vector<std::unique_ptr<TempDir>> folders;
    std::map<std::string, std::unique_ptr<CSpyItemManager>> managers;
};
