#include "game/SpyGame/Rooms/Puzzles/cTanPheisRoom.h"
#include "CloseUpKit.h"
#include "support/game/SaveRecords.h"

namespace {

struct TableProbe : cTanPheisRoom {
    using cTanPheisRoom::m_bSharedMouseInside;
    using cTanPheisRoom::m_GrabOffset;
    using cTanPheisRoom::m_pCursorRoomForm;
};

// A dark table (the room's 400 x 300 at the screen's corner) with the print (20 x 20 at (200, 150))
// hidden on it and the second print at (250, 150); the torch carried shows the beam (60 x 60) held
// at (-30, -30).
class Table : public CloseUpTest<TableProbe> {
protected:
    void SetUp() override {
        addSound("flashlight_turn");
        addPicture("beam", 60, 60, 0x80FFFFE0);
        open("[OPTIONS]\nVinMessage = " + message + "\nItemOnTable = " + tableItem +
                 "\nItemOnTable2 = PRINT2\nItemOnCursor.name = TORCH\nItemOnCursor.roomName = BEAM\n"
                 "ItemOnCursor.dx = -30\nItemOnCursor.dy = -30\nHideItemOnCursorOnVin = " +
                 hideOnWin + "\n",
             image("beam", "beam", 0, 0) + objects({{"print", 200, 150}, {"print2", 250, 150}}),
             "[BEAM]\nObject = beam\nVisible = 0\n[PRINT]\nObject = print\nVisible = 0\n"
             "[PRINT2]\nObject = print2\nVisible = 0\n",
             objects({{"torch", 10, 10}, {"cup", 40, 10}}),
             "[TORCH]\nObject = torch\nIsQuestItem = 1\n[CUP]\nObject = cup\nIsQuestItem = 1\n");
        inventory().AddItem(&hallItem("TORCH"));
        inventory().AddItem(&hallItem("CUP"));
    }
    // Carried in from the strip, as the panel does, but the inventory keeps it for the checks.
    void hold(const std::string& name) { room->SetItemOnCursor(&hallItem(name), nullptr); }
    bool found() { return item("PRINT").IsVisible() && item("PRINT").GetColor() == 0xFFFFFFFF; }

    std::string message = "MSG_FOUND", tableItem = "PRINT", hideOnWin = "1";
};

TEST_F(Table, TheTorchShowsTheBeamAndAnyCarriedItemHidesThePointer) {
    const struct {
        const char* carried;
        CSpyItem* form;
        SpyPoint grab;
    } cases[] = {{"TORCH", &item("BEAM"), {-30, -30}}, {"CUP", nullptr, {0, 0}}};
    for (const auto& c : cases) {
        hold(c.carried);
        EXPECT_EQ(room->m_pCursorRoomForm, c.form) << c.carried;
        EXPECT_EQ(room->m_GrabOffset, c.grab) << c.carried;
        EXPECT_FALSE(room->m_bSharedMouseInside) << c.carried;
        room->SetItemOnCursor(nullptr, nullptr);
        EXPECT_TRUE(room->m_bSharedMouseInside);
    }
}

TEST_F(Table, TheLightClicksAsItCrossesTheEdgeOfTheRoom) {
    hold("TORCH");
    const struct {
        i32 x, y;
        bool inside;
        Names heard;
    } steps[] = {{100, 100, true, {"flashlight_turn"}},
                 {120, 100, true, {}},
                 {450, 100, false, {"flashlight_turn"}},
                 {500, 350, false, {}},
                 {300, 250, true, {"flashlight_turn"}}};
    for (const auto& s : steps) {
        quiet();
        frame(s.x, s.y);
        EXPECT_EQ(room->IsLightInside(), s.inside) << s.x;
        EXPECT_EQ(started(), s.heard) << s.x;
    }
    hold("CUP");
    frame(450, 100);
    EXPECT_EQ(started(), Names{}) << "only the torch is a light";
}

TEST_F(Table, ThePrintLightsUpUnderTheBeamAndTheTorchIsTakenAway) {
    hold("CUP");
    frame(210, 160);
    EXPECT_FALSE(found()) << "only the torch finds it";
    hold("TORCH");
    frame(100, 100);
    EXPECT_EQ(item("PRINT").GetColor(), 0u) << "unseen between the tests";
    EXPECT_FALSE(item("PRINT").IsVisible());
    EXPECT_EQ(shown(), Names{});
    frame(210, 160);
    EXPECT_TRUE(found());
    EXPECT_TRUE(item("PRINT2").IsVisible());
    EXPECT_EQ(shown(), Names{"MSG_FOUND"});
    EXPECT_EQ(room->GetItemOnCursor(), nullptr);
    EXPECT_TRUE(room->m_bSharedMouseInside);
    EXPECT_FALSE(inventory().HasItem("TORCH"));
    EXPECT_TRUE(inventory().HasItem("CUP"));
    room->ProcessAutoActions();
    EXPECT_EQ(shown(), Names{}) << "found already: the solve shows nothing again";
}

class TableKeepingTheTorch : public Table {
protected:
    void SetUp() override {
        hideOnWin = "0";
        message = "";
        Table::SetUp();
    }
};

TEST_F(TableKeepingTheTorch, TheTorchStaysInHandAndNoMessageShows) {
    hold("TORCH");
    frame(210, 160);
    EXPECT_TRUE(found());
    EXPECT_EQ(shown(), Names{});
    EXPECT_EQ(room->GetItemOnCursor(), &hallItem("TORCH"));
    EXPECT_TRUE(inventory().HasItem("TORCH"));
    frame(100, 100);
    EXPECT_TRUE(found()) << "lit for good";
}

TEST_F(Table, TheSolveFindsThePrintAndTakesTheTorch) {
    room->ProcessAutoActions();
    EXPECT_TRUE(found());
    EXPECT_TRUE(item("PRINT2").IsVisible());
    EXPECT_EQ(shown(), Names{"MSG_FOUND"});
    EXPECT_FALSE(inventory().HasItem("TORCH"));
}

TEST_F(Table, TheRecordIsTheLightsByte) {
    hold("TORCH");
    frame(100, 100);
    SaveRecords records;
    const std::string record = records.save(*room);
    EXPECT_EQ(record.back(), '\x01');
    expectSameBytesAfterReload();
    EXPECT_TRUE(room->IsLightInside());
}

class TableWithoutPrint : public Table {
protected:
    void SetUp() override {
        tableItem = "";
        Table::SetUp();
    }
};

TEST_F(TableWithoutPrint, TheLightAndTheSolveFindNothing) {
    hold("TORCH");
    frame(210, 160);
    room->ProcessAutoActions();
    EXPECT_FALSE(item("PRINT2").IsVisible());
    EXPECT_EQ(shown(), Names{});
}

} // namespace
