#include "game/SpyGame/CSpyItem.h"
#include "support/ImageFiles.h"
#include "support/LogCapture.h"
#include "support/game/SceneKit.h"
#include "support/game/TestRoom.h"
#include "tk2v/sound/SoundFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ItemRoomTest : public SoundFixture {
protected:
    void picture(const std::string& name, u32 size) {
        room.write("Images/" + name + ".png",
                   imagefiles::text(imagefiles::png(size, size, std::vector<u32>(size * size, 0xFFFFFFFF))));
    }

    SceneKit kit;
    TestRoom room{"Hall"};
};

TEST_F(ItemRoomTest, TheItemDrawnLastTakesTheMouse) {
    picture("table", 40);
    picture("cup", 10);
    room.write("Images/_images.list", "table.png 8888 8888\ncup.png 8888 8888\n");
    room.write("Sounds/_sounds.list", "clink.wav 1\n");
    room.write("Sounds/clink.wav", wav(RATE));
    room.write("objects.ini", "[cup]\nClass = image\nImage = cup\nX = 15\nY = 15\n"
                              "[table]\nClass = image\nImage = table\nX = 0\nY = 0\n");
    room.write("items.ini", "[Cup]\nObject = cup\nSoundOnClickUse = clink\n[Table]\nObject = table\n");
    LogCapture capture;
    room.load();
    EXPECT_TRUE(capture.messages().empty()) << capture.messages().front();
    EXPECT_EQ(room.frame(0.1f, 20, 20)->GetName(), "Table");
    EXPECT_EQ(room.frame(0.1f, 45, 20), nullptr);

    room.items().MoveItemToTop("Cup");
    CSpyItem* cup = room.frame(0.1f, 20, 20);
    ASSERT_EQ(cup->GetName(), "Cup");
    EXPECT_TRUE(cup->ClickUse());
    EXPECT_TRUE(cup->GetSound(CSpyItem::ClickUseSound)->isPlaying());
    cup->SetInInventory(true);
    EXPECT_EQ(room.frame(0.1f, 20, 20)->GetName(), "Table");
}

} // namespace
