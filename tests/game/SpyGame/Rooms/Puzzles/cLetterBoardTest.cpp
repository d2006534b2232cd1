#include "game/SpyGame/Rooms/Puzzles/cLetterBoard.h"
#include "game/SpyGame/InGameKit.h"
#include "support/Golden.h"
#include "support/game/FakeRooms.h"
#include "support/game/SaveRecords.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/SpriteBatch.h"

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr u8 KEY_A = 30, KEY_B = 48, KEY_C = 46, KEY_1 = 2, BLANK = 57, SHIFT = 42, LEFT = 203, RIGHT = 205;

// A board in the 10 x 16 test font at scale 1, with no room: cells stand 11.2 pixels apart and are hit
// within 10.4 x 19.2 pixels from their corner. "W" at (100, 50) holds "A#B#", "R" at (100, 100) the
// row "XYZ" (its flag set).
class LetterBoard : public InGameTest {
protected:
    void SetUp() override {
        board.AddLine("W", "", 100, 50, false);
        board.AddLine("R", "", 100, 100, true);
        board.SetLineText("W", "A#B#");
        board.SetLineText("R", "XYZ");
    }

    // The cell's middle on the screen.
    static i32 cellX(i32 index) { return 105 + i32(index * 11.2f); }

    cLetterBoard::Typed step(i32 x, i32 y, std::function<void()> input = {}, f32 dt = 0.02f) {
        this->input.setCursor(x, y);
        if (input)
            input();
        clock.advanceMs(u64(dt * 1000 + 0.5f));
        inputServer->update();
        cLetterBoard::Typed typed;
        board.HandleInput(dt, typed);
        return typed;
    }
    // A click on the cell of line W, the button up again in the next frame.
    void clickCell(i32 index, i32 y = 55) {
        step(cellX(index), y, [&] { input.buttonDown(0); });
        step(cellX(index), y, [&] { input.buttonUp(0); });
    }
    cLetterBoard::Typed tap(std::vector<u8> keys) {
        return step(0, 0, [&] {
            for (u8 key : keys)
                input.tapKey(key);
        });
    }
    std::vector<u32> states(const std::string& line) {
        board.SelectLine(line);
        std::vector<u32> out;
        for (i32 i = 0; i < board.GetCellCount(); ++i)
            out.push_back(board.GetCellState(i));
        return out;
    }

    cLetterBoard board{dir.file("text.fnt"), nullptr};
};

TEST_F(LetterBoard, LineTextsMakeShownLettersAndHiddenBlanks) {
    EXPECT_EQ(board.GetLineText("W"), "A B ");
    EXPECT_EQ(states("W"), (std::vector<u32>{3, 1, 3, 1}));
    board.SetLineDimmed("W", true);
    EXPECT_EQ(states("W"), (std::vector<u32>{7, 5, 7, 5}));
    board.SetLineDimmed("W", false);
    board.SelectLine("R");
    EXPECT_EQ(board.FindChar('Z'), 2);
    EXPECT_EQ(board.FindChar('Q'), -1);
    board.SetCellOpen(1, false);
    EXPECT_FALSE(board.IsCellOpen(1));
    board.SelectLine("W");
    board.SetCellChar(1, 'K', true);
    EXPECT_EQ(board.GetLineText("W"), "AKB ");
    EXPECT_EQ(board.GetCellState(1), 3u);
    // Lines the board does not hold change nothing and answer empty.
    board.SetLineText("none", "Q");
    EXPECT_EQ(board.GetLineText("none"), "");
    EXPECT_FALSE(board.SelectLine("none"));
    EXPECT_EQ(board.GetCellCount(), -1);
    EXPECT_EQ(board.HitTest(105, 55), -2);
}

TEST_F(LetterBoard, CellsAreHitWithinTheirOwnBoxes) {
    board.SelectLine("W");
    struct Case {
        f32 x, y;
        i32 cell;
    } cases[] = {{100, 50, 0}, {110, 68, 0},  {110.5f, 55, -1}, {111.2f, 50, 1},
                 {134, 69, 3}, {105, 49, -1}, {105, 69.3f, -1}, {99, 55, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(board.HitTest(c.x, c.y), c.cell) << c.x << ", " << c.y;
}

TEST_F(LetterBoard, TypingGoesIntoTheSelectedHiddenCellOnly) {
    EXPECT_EQ(tap({KEY_A}).letter, 0) << "nothing selected";
    clickCell(0);
    EXPECT_EQ(tap({KEY_A}).letter, 0) << "a shown letter takes no typing";
    clickCell(1);
    cLetterBoard::Typed typed = tap({KEY_B, KEY_C});
    EXPECT_EQ(typed.letter, 'C') << "the lower key code of the frame";
    EXPECT_EQ(typed.line, "W");
    EXPECT_EQ(typed.cell, 1);
    EXPECT_EQ(board.GetLineText("W"), "ACB ");
    EXPECT_EQ(tap({KEY_1}).letter, 0) << "digits are not letters";
    typed = tap({BLANK});
    EXPECT_EQ(typed.letter, ' ') << "a blank stays a blank";
    step(0, 0, [&] { input.keyDown(SHIFT); });
    EXPECT_EQ(tap({KEY_C}).letter, 'C');
    step(0, 0, [&] { input.keyUp(SHIFT); });
    EXPECT_EQ(states("W"), (std::vector<u32>{3, 1, 3, 1}));
    // The selection is dropped once its cell takes no typing.
    board.SelectLine("W");
    board.SetCellChar(1, 'C', true);
    EXPECT_EQ(tap({KEY_A}).letter, 0);
}

TEST_F(LetterBoard, ArrowsMoveTheSelectionOverCellsThatTakeTyping) {
    clickCell(1);
    tap({RIGHT});
    EXPECT_EQ(tap({KEY_A}).cell, 3);
    tap({RIGHT});
    EXPECT_EQ(tap({KEY_B}).cell, 3) << "nothing further right";
    tap({LEFT});
    EXPECT_EQ(tap({KEY_C}).cell, 1);
    EXPECT_EQ(board.GetLineText("W"), "ACBB");
    // A click on a cell of the row selects nothing.
    step(cellX(0), 105, [&] { input.buttonDown(0); });
    step(cellX(0), 105, [&] { input.buttonUp(0); });
    EXPECT_EQ(tap({KEY_A}).cell, 1);
}

TEST_F(LetterBoard, EachCellDrawsInTheColourOfItsState) {
    board.AddLine("D", "", 100, 150, false);
    board.SetLineText("D", "Q");
    board.SetLineDimmed("D", true);
    board.SelectLine("R");
    board.SetCellOpen(1, false);
    // Setting a line's text drops the selection: the click comes last.
    clickCell(3);
    aGraphServer& graph = testGraphServer();
    graph.clearColor = 0xFF000000;
    RgbaImage image;
    ASSERT_TRUE(graph.beginScene());
    board.Render();
    graph.getSprite()->flush();
    ASSERT_TRUE(platform::succeeded(graph.getDevice()->readBackBuffer({0, 0, 160, 180}, image.rgba)));
    image.width = 160;
    image.height = 180;
    graph.endScene();
    // The underline of each cell, one size below its top.
    struct Case {
        const char* what;
        i32 x, y;
        u32 rgba;
    } cases[] = {{"shown letter", cellX(0), 66, 0x00A000FF}, {"hidden letter", cellX(1), 66, 0x00FF00FF},
                 {"selected", cellX(3), 66, 0xFF0000FF},     {"for sale", cellX(0), 116, 0x00A000FF},
                 {"sold", cellX(1), 116, 0xD0D0D0FF},        {"dimmed", cellX(0), 166, 0x808080FF}};
    for (const Case& c : cases)
        EXPECT_EQ(image.pixel(u32(c.x), u32(c.y)), c.rgba) << c.what;
    EXPECT_EQ(image.pixel(u32(cellX(2)), 66), 0x00A000FFu);
    EXPECT_TRUE(matchesGolden("letter_board", image));
}

TEST_F(LetterBoard, TheRecordKeepsEveryLineAndTheSelection) {
    clickCell(1);
    tap({KEY_C});
    board.SelectLine("R");
    SaveRecords records;
    HostEntity host;
    host.save = [&](SaveLoadSystem& sys, u8* pos) { return board.Save(sys, pos); };
    const std::string bytes = records.save(host);

    cLetterBoard fresh{dir.file("text.fnt"), nullptr};
    fresh.AddLine("R", "", 0, 0, false);
    fresh.AddLine("W", "", 0, 0, false);
    FakeRooms noRooms;
    host.load = [&](SaveLoadSystem& sys, const u8* pos) { return fresh.Load(noRooms, sys, pos); };
    ASSERT_TRUE(records.load(host, bytes));
    EXPECT_EQ(host.leftAfterLoad, 0u);
    EXPECT_EQ(fresh.GetLineText("W"), "ACB ");
    EXPECT_EQ(fresh.GetLinePos("W").y, 50);
    host.save = [&](SaveLoadSystem& sys, u8* pos) { return fresh.Save(sys, pos); };
    EXPECT_EQ(records.save(host), bytes);

    // A selected place past the line's cells selects nothing; a cell count past the record's end is
    // not believed.
    host.load = [&](SaveLoadSystem& sys, const u8* pos) { return fresh.Load(noRooms, sys, pos); };
    const size_t w = bytes.find(std::string("W\0", 2)) + 2;
    std::string damaged = bytes;
    damaged[w + 20] = 9;
    ASSERT_TRUE(records.load(host, damaged));
    EXPECT_EQ(records.save(host)[w + 20], 0);
    damaged[w + 8 + 3] = '\x7F';
    log.clear();
    EXPECT_TRUE(records.load(host, damaged));
    EXPECT_EQ(fresh.GetLineText("W"), "");
    EXPECT_EQ(log.messages().size(), 1u);
}

} // namespace
