#include "support/game/RoomKit.h"
#include "tk2v/sound/SoundFixture.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/sound/aSoundManager.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Sounds play on an output nobody pulls, so a sound that was started plays until it is stopped.
class RoomSounds : public RoomKitOn<SoundFixture> {
protected:
    // A one-second sound in the room's own sound list.
    void roomSound(const std::string& room, const std::string& name) {
        RoomKitOn::dir.write("Demo/" + room + "/Sounds/" + name + ".wav", wav(RATE));
        roomSounds += name + ".wav 1\n";
        RoomKitOn::dir.write("Demo/" + room + "/Sounds/_sounds.list", roomSounds);
    }

    aSound* globalSound(const std::string& name) {
        RoomKitOn::dir.write("global/" + name + ".wav", wav(RATE));
        RoomKitOn::dir.write("global/" + name + ".list", name + ".wav 1\n");
        sounds().loadList(RoomKitOn::dir.file("global/" + name + ".list"), "");
        return sounds().getSound(name);
    }

    aSoundManager& sounds() { return *kit.res->getSoundManager(); }

    std::string roomSounds;
};

TEST_F(RoomSounds, TheRoomsOwnSoundsComeFirstAndTheEntrySoundStopsOnLeaving) {
    roomSound("Hall", "entry");
    roomSound("Hall", "show_hint");
    aSound* globalHint = globalSound("show_hint");
    aSound* back = globalSound("back");
    load({{"Hall", "", "", "[Room]\nClass = RoomBase\nSoundOnEntry = entry\nSoundOnBack = back\n"}});
    CRoomBase& hall = room("Hall");
    aSound* entry = sounds().getSound("entry", "Hall");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(hall.GetSound("show_hint"), sounds().getSound("show_hint", "Hall"));
    EXPECT_NE(hall.GetSound("show_hint"), globalHint);
    EXPECT_EQ(hall.GetSound("back"), back);
    EXPECT_EQ(hall.GetSound("nothing"), nullptr);

    hall.Enter("Demo", nullptr);
    EXPECT_TRUE(entry->isPlaying());
    hall.Leave();
    EXPECT_FALSE(entry->isPlaying());
    EXPECT_FALSE(back->isPlaying());
}

} // namespace
