#include "support/game/TestRoom.h"
#include "game/SpyGame/CSpyObjAnimation.h"
#include "game/SpyGame/CSpyObjImage.h"
#include "game/SpyGame/CSpyObjParticles.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

namespace {

TEST(TestRoom, LoadsEveryObjectClassFromARoomFolder) {
    LogCapture log;
    TestRoom room("Study");
    room.addImage("desk", 40, 20, std::vector<u32>(800, 0xFF808080));
    room.addImage("clock_strip", 32, 16, std::vector<u32>(512, 0xFFFFFFFF));
    room.addAnimations("[clock]\nTextureName = clock_strip\nRectFirstSprite = 0 0 16 16\nFramesCount = 2\n");
    room.addParticles("smoke", "emit_per_sec 20\nfps 30\nparticle_life 3 3\nvelocity 1 3\nsize 4 4 0\n");
    room.addTexts("note_text = \"Back at nine\"\n");
    room.setObjects("[desk]\nClass = image\nImage = desk\nX = 10\nY = 10\n"
                    "[clock]\nClass = animation\nX = 20\nY = 12\n"
                    "[smoke]\nClass = particles\nX = 100\nY = 100\n"
                    "[note]\nClass = text\nX = 0\nY = 50\nWidth = 50\nHeight = 20\nStringID = note_text\n"
                    "[hot]\nClass = object\n");
    room.load();
    for (const std::string& line : log.messages())
        EXPECT_EQ(line.find("Cannot find"), std::string::npos) << line;
    ASSERT_EQ(room.objects().GetObjects().size(), 5u);
    EXPECT_NE(static_cast<CSpyObjImage*>(room.objects().GetObject("desk"))->GetImage(), nullptr);
    EXPECT_EQ(room.objects().GetObject("clock")->GetFramesCount(), 2u);
    EXPECT_TRUE(room.objects().GetObject("smoke")->IsAnimPlaying());
    EXPECT_EQ(room.objects().GetObject("note")->GetText(), L"Back at nine");

    room.frame(0.1f);
    EXPECT_EQ(room.hitTest(25, 15), room.objects().GetObject("clock")) << "the last drawn is on top";
    EXPECT_EQ(room.hitTest(12, 12), room.objects().GetObject("desk"));
    EXPECT_EQ(room.hitTest(5, 55), room.objects().GetObject("note"));
    EXPECT_EQ(room.hitTest(100, 100), room.objects().GetObject("smoke"));
    EXPECT_EQ(room.hitTest(500, 500), nullptr);
}

} // namespace
