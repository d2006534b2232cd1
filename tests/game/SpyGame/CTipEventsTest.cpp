#include "game/SpyGame/CTipEvents.h"
#include "game/Profile.h"
#include "game/SpyGame/CTipPanel.h"
#include "game/SpyGame/Events/StoryFakes.h"
#include "support/game/SaveRecords.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// Shows the tips it is told to and writes down every call.
struct FakePanel : CTipPanel {
    u32 GetCommandWord() const override { return command; }
    bool ShowTip(const std::string& id, i32 x, i32 y) override {
        calls.push_back(x < 0 && y < 0 ? id : id + "@" + std::to_string(x) + "," + std::to_string(y));
        return showable.count(id) != 0;
    }
    bool ShowManagerTip(const std::string& id) override {
        calls.push_back("manager " + id);
        return showable.count(id) != 0;
    }
    void SetTipEnabled(const std::string& id, bool on) override {
        calls.push_back((on ? "enable " : "disable ") + id);
    }
    void ShowPersonagesHelp() override { calls.push_back("personages help"); }

    u32 command = 0;
    std::set<std::string> showable;
    Strings calls;
};

class TipEventsTest : public testing::Test {
protected:
    TipEventsTest() {
        g_currentProfile.showTips = true;
        tips.Init(&panel, &world);
        // The crab wait is shared by every instance: a frame in another room starts it afresh.
        tips.FrameMove(0);
        panel.calls.clear();
    }

    ~TipEventsTest() override { g_currentProfile = DEFAULT_PROFILE; }

    FakeWorld world;
    FakePanel panel;
    CTipEvents tips;
};

struct RuleCase {
    const char* what;
    std::function<void(FakeWorld&, FakePanel&)> setup;
    std::set<std::string> showable;
    bool shown;
    Strings calls;
};

TEST_F(TipEventsTest, RulesAreTriedInOrderAndTheFirstTipShownEndsTheFrame) {
    using W = FakeWorld;
    using P = FakePanel;
    auto room = [](const char* name, const char* className) {
        return [=](W& w, P&) {
            w.room = name;
            w.roomClass = className;
        };
    };
    const std::set<std::string> all = {
        "start_inv",      "clues_help", "not_clues", "evidences_help",       "room_task",
        "inv_task",       "use_hints",  "inventory", "click_disabled_hints", "click_hints_on_map",
        "id_report_view", "inventory2", "inventory3"};
    const RuleCase cases[] = {
        {"an ordinary room", [](W&, P&) {}, all, false, {}},
        {"map of the first case",
         [](W& w, P&) {
             w.investigation = "1. Golden Gate";
             w.roomClass = "GlobalMap";
         },
         all,
         true,
         {"start_inv"}},
        {"map of another case", room("map", "GlobalMap"), all, false, {}},
        {"cards, none opened",
         room("cards", "InvCards"),
         all,
         true,
         {"manager clues_help", "disable not_clues"}},
        {"cards, help used up", room("cards", "InvCards"), {}, false, {"manager clues_help"}},
        {"cards, one opened",
         [](W& w, P&) {
             w.roomClass = "InvCards";
             w.cardOpened = true;
         },
         all,
         true,
         {"not_clues"}},
        {"evidence box before the hints",
         [](W& w, P&) {
             w.roomClass = "EvidenceBox";
             w.canGiveHint = true;
         },
         all,
         true,
         {"evidences_help"}},
        {"hints: the first that shows",
         [](W& w, P&) { w.canGiveHint = true; },
         {"inv_task", "use_hints"},
         true,
         {"room_task", "inv_task"}},
        {"hints all used up",
         [](W& w, P&) { w.canGiveHint = true; },
         {},
         false,
         {"room_task", "inv_task", "use_hints"}},
        {"crab room, the photo alone",
         [](W& w, P&) {
             w.room = "zoom_CrabPuzzle";
             w.hold({"FOTO_SYMBOLS"});
         },
         all,
         false,
         {}},
        {"crab room, the photo and one more",
         [](W& w, P&) {
             w.room = "zoom_CrabPuzzle";
             w.hold({"FOTO_SYMBOLS", "KEY"});
         },
         all,
         true,
         {"inventory"}},
        {"crab room, one item",
         [](W& w, P&) {
             w.room = "zoom_CrabPuzzle";
             w.hold({"KEY"});
         },
         all,
         true,
         {"inventory"}},
        {"crab room, empty hands", room("zoom_CrabPuzzle", "CRoomBase"), all, false, {}},
        {"disabled hint button, hints off here",
         [](W& w, P& p) {
             w.hintsDisabled = true;
             p.command = 11;
         },
         all,
         true,
         {"click_disabled_hints"}},
        {"disabled hint button on the map",
         [](W& w, P& p) {
             w.roomClass = "GlobalMap";
             w.hintsDisabled = true;
             p.command = 11;
         },
         {"click_hints_on_map"},
         true,
         {"click_disabled_hints", "click_hints_on_map"}},
        {"other command on the map",
         [](W& w, P& p) {
             w.roomClass = "GlobalMap";
             p.command = 12;
         },
         all,
         false,
         {}},
        {"report held, window shown",
         [](W& w, P&) {
             w.roomClass = "VictimIdPuzzleRoom";
             w.hold({"REPORT_TEXT"});
             w.rooms.add("room_Hall:TESTWINDOW").pos = {120.7f, 48};
         },
         all,
         true,
         {"id_report_view@120,48"}},
        {"report held, window hidden",
         [](W& w, P&) {
             w.roomClass = "VictimIdPuzzleRoom";
             w.hold({"REPORT_TEXT"});
             w.rooms.add("room_Hall:TESTWINDOW").visible = false;
         },
         all,
         false,
         {}},
        {"report held, no window",
         [](W& w, P&) {
             w.roomClass = "VictimIdPuzzleRoom";
             w.hold({"REPORT_TEXT"});
         },
         all,
         false,
         {}},
        {"box puzzle", room("box", "ChineseBoxPuzzleRoom"), all, true, {"inventory2"}},
        {"orphanage", room("room_LotusFlowerOrphanage", "CRoomBase"), all, true, {"inventory3"}},
        {"no room",
         [](W& w, P&) {
             w.hasRoom = false;
             w.canGiveHint = true;
         },
         all,
         false,
         {}},
        {"no personage",
         [](W& w, P&) {
             w.hasPersonages = false;
             w.canGiveHint = true;
         },
         all,
         false,
         {}},
    };
    for (const RuleCase& c : cases) {
        FakeWorld w;
        FakePanel p;
        p.showable = c.showable;
        c.setup(w, p);
        CTipEvents t;
        t.Init(&p, &w);
        EXPECT_EQ(t.FrameMove(0.1f), c.shown) << c.what;
        EXPECT_EQ(p.calls, c.calls) << c.what;
    }
}

TEST_F(TipEventsTest, NothingBeforeTheInvestigationMakesThemReady) {
    CTipEvents idle;
    world.play("Soleth");
    EXPECT_FALSE(idle.FrameMove(1));
    EXPECT_FALSE(idle.IsPersonagesHelpShown());
}

TEST_F(TipEventsTest, PersonagesHelpOpensOncePerSavedGame) {
    world.play("Soleth");
    world.canGiveHint = true;
    panel.showable = {"room_task"};
    g_currentProfile.showTips = false;
    EXPECT_FALSE(tips.FrameMove(0.1f)) << "not even the help while tips are off";
    g_currentProfile.showTips = true;
    EXPECT_TRUE(tips.FrameMove(0.1f));
    EXPECT_TRUE(tips.FrameMove(0.1f));
    EXPECT_EQ(panel.calls, (Strings{"personages help", "room_task"}));

    SaveRecords records;
    const std::string saved = records.save(tips);
    EXPECT_EQ(saved, std::string(1, '\1'));
    CTipEvents loaded;
    ASSERT_TRUE(records.load(loaded, saved));
    loaded.Init(&panel, &world);
    panel.calls.clear();
    EXPECT_TRUE(loaded.FrameMove(0.1f));
    EXPECT_EQ(panel.calls, Strings{"room_task"});

    loaded.Reset();
    panel.calls.clear();
    EXPECT_TRUE(loaded.FrameMove(0.1f));
    EXPECT_EQ(panel.calls, Strings{"personages help"});
}

// The crab tip waits until its room's tasks have been done for more than twenty seconds.
struct CrabTip : TipEventsTest {
    CrabTip() {
        atCrab(world);
        panel.showable = {"crab_puzzle"};
    }
    // Marwenn at the gate with its tasks done (it has no groups there).
    static void atCrab(FakeWorld& w) {
        w.room = "room_GoldenGate";
        w.play("Marwenn");
    }
    // Frames of half a second until the tip shows; how many there were.
    int framesUntilShown(int most) {
        for (int frame = 1; frame <= most; ++frame)
            if (tips.FrameMove(0.5f))
                return frame;
        return 0;
    }
};

TEST_F(CrabTip, ShowsOnceTheWaitExceedsTwentySeconds) {
    EXPECT_EQ(framesUntilShown(100), 41) << "20.0 s is not enough, 20.5 s is";
    EXPECT_EQ(panel.calls, Strings{"crab_puzzle"});
}

TEST_F(CrabTip, AnyFrameOutsideItsTestStartsTheWaitAgain) {
    const std::vector<std::function<void(FakeWorld&)>> breaks = {
        [](FakeWorld& w) { w.room = "room_Hall"; },
        [](FakeWorld& w) { w.play("Ann"); },
        [](FakeWorld& w) { w.leaveTask("Marwenn", "room_GoldenGate"); },
        [](FakeWorld& w) { w.hasRoom = false; },
    };
    for (size_t i = 0; i < breaks.size(); ++i) {
        ASSERT_EQ(framesUntilShown(39), 0) << i;
        FakeWorld elsewhere;
        atCrab(elsewhere);
        breaks[i](elsewhere);
        CTipEvents other;
        other.Init(&panel, &elsewhere);
        EXPECT_FALSE(other.FrameMove(0.5f)) << i;
        EXPECT_EQ(framesUntilShown(41), 41) << i;
        panel.calls.clear();
        world.room = "room_Hall";
        tips.FrameMove(0);
        world.room = "room_GoldenGate";
    }
}

} // namespace
