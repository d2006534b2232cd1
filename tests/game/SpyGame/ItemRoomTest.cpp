#include "game/SpyGame/CSpyItem.h"
#include "support/LogCapture.h"
#include "support/game/TestRoom.h"
#include "tk2v/sound/SoundFixture.h"
#include "tk2v/sound/aSound.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ItemRoomTest = SoundFixture;

TEST_F(ItemRoomTest, TheItemDrawnLastTakesTheMouse) {
    TestRoom room("Hall");
    room.addImage("table", 40, 40, std::vector<u32>(1600, 0xFFFFFFFF));
    room.addImage("cup", 10, 10, std::vector<u32>(100, 0xFFFFFFFF));
    room.addSound("clink.wav", wav(RATE));
    room.setObjects("[cup]\nClass = image\nImage = cup\nX = 15\nY = 15\n"
                    "[table]\nClass = image\nImage = table\nX = 0\nY = 0\n");
    room.setItems("[Cup]\nObject = cup\nSoundOnClickUse = clink\n[Table]\nObject = table\n");
    LogCapture capture;
    room.load();
    EXPECT_TRUE(capture.messages().empty()) << capture.messages().front();
    room.frame(0.1f);
    EXPECT_EQ(room.itemAt(20, 20)->GetName(), "Table");
    EXPECT_EQ(room.itemAt(45, 20), nullptr);

    room.items().MoveItemToTop("Cup");
    CSpyItem* cup = room.itemAt(20, 20);
    ASSERT_EQ(cup->GetName(), "Cup");
    EXPECT_TRUE(cup->ClickUse());
    EXPECT_TRUE(cup->GetSound(CSpyItem::ClickUseSound)->isPlaying());
    cup->SetInInventory(true);
    EXPECT_EQ(room.itemAt(20, 20)->GetName(), "Table");
}

} // namespace
