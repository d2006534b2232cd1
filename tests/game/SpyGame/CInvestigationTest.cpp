#include "game/SpyGame/CInvestigation.h"
#include "PanelKit.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Events/CSpyEventBase.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "support/ImageFiles.h"
#include "support/PulledAudioOutput.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gui/Window.h"
#include "tk2v/platform/AudioSystem.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/sound/aSoundManager.h"

#include <gtest/gtest.h>

#include <cstring>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using State = CInvestigation::State;

// A room whose frame result, requested target, item and size a test sets, and which counts how often
// it was entered, left and drawn.
struct ScriptedRoom : CRoomBase {
    ScriptedRoom(const std::string& name, i16 width, i16 height) : width(width), height(height) {
        m_Name = name;
    }

    std::string GetClassName() const override { return className; }
    i16 GetWidth() const override { return width; }
    i16 GetHeight() const override { return height; }
    u32 GetState() const override { return state; }
    u32 FrameMove(f32, bool paused) override {
        frames.push_back(paused);
        const u32 r = result;
        result = Playing;
        return r;
    }
    std::string GetRequestedRoom() override { return target; }
    std::string GetRequestedZoomRoom() override { return target; }
    CSpyItem* GetRequestedItem() const override { return item; }
    void Enter(const std::string&, CSpyItem*) override { ++entered; }
    void Leave() override { ++left; }
    void Render() override { draws.push_back(m_Name); }
    void RenderCursorItem() override {}
    void PutPickedItemToInventory() override { ++puts; }
    void SetEntrySound(aSound* sound) { m_Sounds[SoundOnEntry] = sound; }
    bool SolveRoom() override { return ++solved, true; }
    void Reset() override {}
    void AfterLoadInit() override {}
    void UnloadRes() override {}

    i16 width, height;
    std::string className = "RoomBase";
    u32 state = Playing;
    u32 result = Playing;
    std::string target;
    CSpyItem* item = nullptr;
    std::vector<bool> frames;
    int entered = 0, left = 0, puts = 0, solved = 0;
    std::vector<std::string> draws;
};

// An item without scene objects that keeps where it was put, whether it shows and its size.
struct PlacedItem : CSpyItem {
    explicit PlacedItem(const std::string& name) { SetIdentity(name, "", nullptr); }
    void SetPos(f32 x, f32 y) override { pos = {x, y}; }
    SpyPoint GetPos() const override { return pos; }
    void SetVisible(bool on) override { visible = on; }
    bool IsVisible() const override { return visible; }
    u16 GetWidth() const override { return 40; }
    u16 GetHeight() const override { return 20; }
    void RenderIcon() override { ++icons; }

    SpyPoint pos;
    bool visible = true;
    int icons = 0;
};

std::vector<std::string> Dialogs() {
    std::vector<std::string> windows;
    for (const char* name :
         {"PhoneCall", "ItemIdent", "PickItem", "PickEvidence", "InvCard", "EventForItem", "PersonagesHelp"})
        windows.push_back(InGameTest::window(name, {"Continue"}, {InGameTest::text("text", "0 0 300 16")}));
    for (const char* name : {"SearchFinish", "LocFinish"})
        windows.push_back(InGameTest::window(name, {"Ok"}, {InGameTest::text("text", "0 0 300 16")}));
    windows.push_back(InGameTest::window("SolveConfirm", {"Yes", "No"}));
    return windows;
}

// The investigation "Demo" over a real panel with every dialog, one personage "Ann" (and "Bob", not
// playing), scripted rooms and the events of the test. Rooms go straight into the registry's map:
// its factory knows only the shipped room classes.
class Investigation : public PanelTest {
protected:
    Investigation() {
        if (!aFileServer::getInstance())
            files = std::make_unique<aFileServer>();
        aFileServer::getInstance()->setAssign("investigations", dir.path());
        aFileServer::getInstance()->setAssign("language", dir.path() + "lang/");
        loadPanel(Dialogs());
        panel.Init();
    }

    ScriptedRoom& addRoom(const std::string& name, i16 width = 845, i16 height = 768) {
        auto* room = new ScriptedRoom(name, width, height);
        const_cast<CRoomsManager::RoomMap&>(rooms.GetRooms())[name] = boost::shared_ptr<CRoomBase>(room);
        return *room;
    }

    // Loaded and started; entered unless asked not to.
    void start(const std::string& main = "", const std::string& events = "", bool enter = true) {
        dir.write("Demo/_investigation.ini", "[Main]\n" + main + "\n[Personages]\n" + personageKeys);
        if (!events.empty())
            dir.write("Demo/_events.ini", events);
        rooms.LoadSharedRoomsList(&personages, &panel);
        inv.Init(&panel, &rooms, &personages);
        inv.LoadInvestigation("investigations:", "Demo");
        res->BeginLoading();
        while (!res->isDone())
            res->LoadStep();
        inv.OnResourcesLoaded();
        inv.Start(false);
        if (enter)
            inv.Entry();
    }

    u32 frame(f32 dt = 0.02f) { return inv.Update(dt); }
    // The investigation drawn over a white screen, read back whole.
    RgbaImage drawn() {
        aGraphServer& graph = testGraphServer();
        graph.clearColor = 0xFFFFFFFF;
        RgbaImage image;
        EXPECT_TRUE(graph.beginScene());
        inv.Render();
        graph.getSprite()->flush();
        EXPECT_TRUE(platform::succeeded(graph.getDevice()->readBackBuffer({0, 0, 1024, 768}, image.rgba)));
        image.width = 1024;
        image.height = 768;
        graph.endScene();
        return image;
    }

    // The names of the records of a whole save of the entity and its children, in stream order.
    std::vector<std::string> savedNames(SaveLoadEntity& entity) {
        std::vector<std::string> names;
        forEachRecord(entity, [&](const std::string& name, const std::string&) { names.push_back(name); });
        return names;
    }
    template <class F> void forEachRecord(SaveLoadEntity& entity, F f) {
        SaveLoadSystem sys;
        sys.BeginSave(dir.file("whole.save"), 1);
        sys.SaveEntity(entity);
        ASSERT_TRUE(sys.Finish());
        std::string stream = dir.read("whole.save");
        SaveLoadSystem::scramble(reinterpret_cast<u8*>(stream.data()), u32(stream.size()));
        for (size_t at = 8; at < stream.size();) {
            const size_t nul = stream.find('\0', at);
            if (nul == std::string::npos || nul + 5 > stream.size())
                break;
            u32 size = 0;
            std::memcpy(&size, stream.data() + nul + 1, 4);
            f(stream.substr(at, nul - at), stream.substr(nul + 5, size));
            at = nul + 5 + size;
        }
    }
    // The data of the entity's own record in a whole save of it and its children.
    std::string savedRecordOf(SaveLoadEntity& entity) {
        std::string record = "<no record>";
        forEachRecord(entity, [&](const std::string& name, const std::string& data) {
            if (name == entity.getName())
                record = data;
        });
        return record;
    }
    bool enabled(const char* button) const { return find(button)->IsEnabled(true); }
    bool done(size_t index) { return inv.GetEventsManager().GetEvent(index)->IsDone(); }
    void answer(const char* window, const char* button = "Continue") {
        click(find(window)->FindChild(button, true));
    }

    std::string personageKeys = "PersonagesList = Ann, Bob\nStartPersonages = Ann\n";
    std::unique_ptr<aFileServer> files;
    CPersonagesManager personages;
    CRoomsManager rooms;
    CInvestigation inv;
};

TEST_F(Investigation, StartCentresRoomsInTheRoomAreaWithHalvesRoundedDown) {
    struct Case {
        const char* name;
        i16 width, height;
        SpyPoint at;
    };
    const Case cases[] = {
        {"zoom_Desk", 400, 300, {401, 234}},
        {"room_Wide", 900, 201, {151, 283}},
        {"room_Hall", 845, 768, {179, 0}},
    };
    for (const Case& c : cases)
        addRoom(c.name, c.width, c.height);
    // The map places itself.
    ScriptedRoom& map = addRoom("_GlobalMap", 400, 300);
    map.className = "GlobalMap";
    inputServer->nonExclusive = false;
    start("", "", false);
    EXPECT_TRUE(inputServer->nonExclusive);
    for (const Case& c : cases)
        EXPECT_EQ(rooms.GetRoom(c.name)->GetPosition(), c.at) << c.name;
    EXPECT_EQ(map.GetPosition(), (SpyPoint{0, 0}));
    EXPECT_EQ(inv.GetState(), State::Started);
    EXPECT_EQ(inv.GetSavedState(), u32(-1));
    EXPECT_EQ(panel.GetHintCount(), CInvestigation::StartHintCount);
    EXPECT_EQ(personages.GetCurrentPersonage()->GetName(), "Ann");
    EXPECT_EQ(panel.GetPersonageName(), "Ann");
}

TEST_F(Investigation, EntryGoesToTheStartRoomOrTheMapAndRunsOneEventOnceEntered) {
    struct Case {
        const char* main;
        bool map;
        u32 state;
        const char* room;
        const char* logged;
    };
    const Case cases[] = {
        {"", true, State::OnMap, "_GlobalMap", nullptr},
        {"StartRoom = room_Hall", true, State::Playing, "room_Hall", nullptr},
        {"", false, State::Started, nullptr,
         "CInvestigation::Entry(). Not exist map and not define start room!"},
        {"StartRoom = Cellar", true, State::Started, nullptr,
         "CInvestigation::Entry(). Not find start room 'Cellar'."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.main);
        rooms.Clear();
        addRoom("room_Hall");
        if (c.map)
            addRoom("_GlobalMap");
        log.clear();
        start(c.main, "[ShowMessage]\nTextId = hello\n[ShowMessage]\nTextId = again\n");
        EXPECT_EQ(inv.GetState(), c.state);
        EXPECT_EQ(inv.GetCurrentRoomPtr(), c.room ? rooms.GetRoom(c.room) : nullptr);
        EXPECT_EQ(enabled("Map"), c.map && c.state != State::OnMap);
        EXPECT_EQ(done(0), c.state != State::Started);
        EXPECT_FALSE(done(1));
        if (c.logged) {
            EXPECT_EQ(logged(c.logged), 1u) << logText();
        }
        inv.Close();
    }
}

TEST_F(Investigation, ACloseUpIsDrawnOverItsRoomInAFrameTenPixelsLarger) {
    ScriptedRoom& hall = addRoom("room_Hall");
    ScriptedRoom& desk = addRoom("zoom_Desk", 400, 300);
    start("StartRoom = room_Hall");
    hall.result = CRoomBase::ZoomRoomRequested;
    hall.target = "zoom_Desk";
    frame();
    ASSERT_EQ(inv.GetCurrentRoomPtr(), &desk);
    EXPECT_TRUE(inv.IsCloseUp());
    EXPECT_TRUE(find("BackBtnPanel")->IsVisible(true));
    inv.Render();
    EXPECT_EQ(hall.draws, std::vector<std::string>{"room_Hall"});
    EXPECT_EQ(desk.draws, std::vector<std::string>{"zoom_Desk"});
    EXPECT_EQ(inv.GetFrameWindow()->GetArea(), (aRect{396, 229, 410, 310}));

    // A room as wide as the area is never a close-up, even with a history.
    desk.width = 845;
    EXPECT_FALSE(inv.IsCloseUp());
}

TEST_F(Investigation, TheCloseUpFrameIsAtLeastItsStylesMinimumAndReachesPastTheRoomByHalfItsGrowth) {
    // Corners 160 + 161 wide side by side and 50 + 50 high stacked: at least 321 x 100.
    load("style frame_style_gb\n{\n  TopLeft 0 0 160 50\n  TopRight 0 0 161 50\n"
         "  BottomLeft 0 0 160 50\n  BottomRight 0 0 161 50\n}\n",
         "style.agui");
    ScriptedRoom& hall = addRoom("room_Hall");
    ScriptedRoom& desk = addRoom("zoom_Desk", 400, 300);
    start("StartRoom = room_Hall");
    hall.result = CRoomBase::ZoomRoomRequested;
    hall.target = "zoom_Desk";
    frame();
    // The frame's left and top lie half its growth (rounded down) before the room's, so an odd
    // growth leaves the extra pixel on the right or bottom.
    struct Case {
        i16 width, height;
        SpyPoint at;
        aRect frame;
    };
    const Case cases[] = {
        {300, 200, {451, 284}, {441, 279, 321, 210}}, // growth 21 (style) and 10
        {301, 200, {451, 284}, {441, 279, 321, 210}}, // 20 (style)
        {400, 300, {396, 229}, {391, 224, 410, 310}}, // 10 and 10
        {200, 50, {100, 71}, {40, 46, 321, 100}},     // 121 and 50 (both style)
        {200, 51, {100, 71}, {40, 47, 321, 100}},     // 49 (style)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        desk.width = c.width;
        desk.height = c.height;
        desk.SetPosition(c.at);
        inv.Render();
        EXPECT_EQ(inv.GetFrameWindow()->GetArea(), c.frame);
    }
}

// Sounds play on an output nobody pulls: a started sound plays until it is stopped.
class InvestigationSounds : public Investigation {
protected:
    InvestigationSounds() {
        EXPECT_TRUE(platform::AudioSystem::shared().init(44100, 64, std::make_unique<PulledAudioOutput>()));
        for (const char* name : {"closeup_zoomin", "closeup_zoomout", "entry"}) {
            writeWav(std::string(name) + ".wav");
            res->getSoundManager()->loadResource(dir.path(), std::string(name) + ".wav 1.0", "");
        }
    }
    ~InvestigationSounds() override { platform::AudioSystem::shared().close(); }

    bool played(const char* name) {
        aSound* sound = res->getSoundManager()->getSound(name);
        const bool was = sound->isPlaying();
        sound->stop();
        return was;
    }
};

TEST_F(InvestigationSounds, TheZoomInSoundPlaysOnlyForCloseUpsWithoutTheirOwnEntrySound) {
    ScriptedRoom& hall = addRoom("room_Hall");
    addRoom("zoom_Desk", 400, 300);
    ScriptedRoom& safe = addRoom("zoom_Safe", 300, 300);
    safe.SetEntrySound(res->getSoundManager()->getSound("entry"));
    start("StartRoom = room_Hall");
    struct Case {
        const char* target;
        bool zoomIn;
    };
    for (const Case c : {Case{"zoom_Desk", true}, Case{"zoom_Safe", false}}) {
        SCOPED_TRACE(c.target);
        hall.result = CRoomBase::ZoomRoomRequested;
        hall.target = c.target;
        frame();
        EXPECT_EQ(played("closeup_zoomin"), c.zoomIn);
        inv.GoBack();
        EXPECT_TRUE(played("closeup_zoomout"));
        EXPECT_EQ(inv.GetCurrentRoomPtr(), &hall);
    }
}

TEST_F(Investigation, RoomChangesAndTheWaysBack) {
    ScriptedRoom& map = addRoom("_GlobalMap");
    ScriptedRoom& hall = addRoom("room_Hall");
    ScriptedRoom& study = addRoom("room_Study");
    ScriptedRoom& desk = addRoom("zoom_Desk", 400, 300);
    addRoom("Evidence_box");
    addRoom("_InvestigationCards");
    start();
    ASSERT_EQ(inv.GetState(), State::OnMap);

    // From the map the entered room becomes the location; between two rooms it does not.
    map.result = CRoomBase::RoomRequested;
    map.target = "room_Hall";
    frame();
    EXPECT_EQ(inv.GetState(), State::Playing);
    EXPECT_EQ(inv.GetCurrentLocation(), "room_Hall");
    EXPECT_TRUE(enabled("Map"));
    hall.result = CRoomBase::RoomRequested;
    hall.target = "room_Study";
    frame();
    EXPECT_EQ(inv.GetCurrentRoomPtr(), &study);
    EXPECT_EQ(inv.GetCurrentLocation(), "room_Hall");

    // A target no room answers to: nothing pushed, the room entered again, the state kept.
    for (CRoomBase::State request : {CRoomBase::RoomRequested, CRoomBase::ZoomRoomRequested}) {
        const int entered = study.entered;
        study.result = request;
        study.target = "Cellar";
        frame();
        EXPECT_EQ(inv.GetCurrentRoomPtr(), &study);
        EXPECT_EQ(study.entered, entered + 1);
        EXPECT_EQ(inv.GetState(), State::Playing);
        EXPECT_TRUE(inv.GetHistory().empty());
        EXPECT_TRUE(enabled("Map"));
    }

    // Out of the last close-up the map button comes back.
    study.result = CRoomBase::ZoomRoomRequested;
    study.target = "zoom_Desk";
    frame();
    EXPECT_EQ(inv.GetHistory(), std::vector<CRoomBase*>{&study});
    desk.result = CRoomBase::RoomRequested;
    desk.target = "_BACK";
    frame();
    EXPECT_EQ(inv.GetCurrentRoomPtr(), &study);
    EXPECT_TRUE(inv.GetHistory().empty());
    EXPECT_TRUE(enabled("Map"));

    // "_BACK" with nothing behind leads to the map.
    study.result = CRoomBase::RoomRequested;
    study.target = "_BACK";
    frame();
    EXPECT_EQ(inv.GetState(), State::OnMap);
    EXPECT_EQ(inv.GetCurrentRoomPtr(), &map);
}

TEST_F(Investigation, EvidenceBoxAndCardsOpenFromTheirStatesAndPushOnlyRoomsAndTheMap) {
    ScriptedRoom& map = addRoom("_GlobalMap");
    ScriptedRoom& hall = addRoom("room_Hall");
    CRoomBase* box = &addRoom("Evidence_box");
    CRoomBase* cards = &addRoom("_InvestigationCards");
    start();

    // From the map, and back to it.
    ASSERT_TRUE(inv.OpenEvidenceBox());
    EXPECT_EQ(inv.GetHistory(), std::vector<CRoomBase*>{&map});
    EXPECT_FALSE(enabled("Evidences"));
    EXPECT_FALSE(inv.OpenEvidenceBox());
    inv.GoBack();
    EXPECT_EQ(inv.GetState(), State::OnMap);
    EXPECT_TRUE(inv.GetHistory().empty());

    // Room, box, cards: the box is not pushed, so back from the cards is back in the room.
    map.result = CRoomBase::RoomRequested;
    map.target = "room_Hall";
    frame();
    ASSERT_TRUE(inv.OpenEvidenceBox());
    ASSERT_TRUE(inv.OpenInvCards());
    EXPECT_EQ(inv.GetCurrentRoomPtr(), cards);
    EXPECT_EQ(inv.GetHistory(), std::vector<CRoomBase*>{&hall});
    EXPECT_FALSE(inv.OpenInvCards());
    ASSERT_TRUE(inv.OpenEvidenceBox());
    EXPECT_EQ(inv.GetCurrentRoomPtr(), box);
    EXPECT_EQ(inv.GetHistory(), std::vector<CRoomBase*>{&hall});
    inv.GoBack();
    EXPECT_EQ(inv.GetCurrentRoomPtr(), &hall);
    EXPECT_EQ(inv.GetState(), State::Playing);

    // No story event runs in the box or the cards room, nor while a pick effect runs.
    dir.write("Demo/_events.ini", "[ShowMessage]\nTextId = hello\n");
    inv.GetEventsManager().AddEvents(dir.file("Demo/_events.ini"));
    const size_t last = inv.GetEventsManager().GetEventCount() - 1;
    for (CRoomBase* held : {box, cards}) {
        EXPECT_TRUE(held == box ? inv.OpenEvidenceBox() : inv.OpenInvCards());
        frame();
        EXPECT_FALSE(done(last));
        inv.GoBack();
    }
    hall.state = CRoomBase::PickShowing;
    frame();
    EXPECT_FALSE(done(last));
    hall.state = CRoomBase::Playing;
    const size_t frames = hall.frames.size();
    frame();
    EXPECT_TRUE(done(last));
    // An event that ran ends the frame before the room's.
    EXPECT_EQ(hall.frames.size(), frames);
}

TEST_F(Investigation, APickRequestWithoutAnItemIsOrdinaryPlayAndWithoutATextGoesStraightIn) {
    ScriptedRoom& hall = addRoom("room_Hall");
    start("StartRoom = room_Hall");
    hall.result = CRoomBase::ItemRequested;
    frame();
    EXPECT_EQ(inv.GetState(), State::Playing);
    EXPECT_EQ(hall.puts, 0);

    CSpyItem item;
    hall.item = &item;
    hall.result = CRoomBase::ItemRequested;
    frame();
    EXPECT_EQ(inv.GetState(), State::Playing);
    EXPECT_EQ(hall.puts, 1);
}

TEST_F(Investigation, APickedItemOpensTheDialogItsClickUseAsksFor) {
    struct Case {
        const char* about;
        const char* clickUse;
        u32 state;
        const char* window;
        int putsAtOnce;
    };
    const Case cases[] = {
        {"note", "", State::ItemPick, "PickItem", 0},
        {"note", "EVIDENCE", State::EvidencePick, "PickEvidence", 0},
        {"", "", State::Playing, nullptr, 1},
        // The card's picture comes from the cards room's own class.
        {"note", "INVCARD", State::Playing, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clickUse);
        rooms.Clear();
        ScriptedRoom& hall = addRoom("room_Hall");
        start("StartRoom = room_Hall");
        CPersonage& ann = *personages.GetCurrentPersonage();
        ann.EnterRoom("room_Hall");
        CPersonage::CItemInfo& info = ann.GetItemInfo({"room_Hall", "KEY"});
        info.m_About = c.about;
        info.m_ClickUse = c.clickUse;
        PlacedItem key("KEY");
        hall.item = &key;
        hall.result = CRoomBase::ItemRequested;
        frame();
        EXPECT_EQ(inv.GetState(), c.state);
        EXPECT_EQ(hall.puts, c.putsAtOnce);
        EXPECT_EQ(info.m_TouchCount, 1u);
        if (c.window) {
            EXPECT_TRUE(find(c.window)->IsVisible(true));
            EXPECT_EQ(inv.GetPickedItem(), &key);
            inv.Render();
            answer(c.window);
            frame();
            EXPECT_EQ(inv.GetState(), State::Playing);
            EXPECT_EQ(hall.puts, 1);
            EXPECT_EQ(inv.GetPickedItem(), nullptr);
        }
        if (c.state == State::ItemPick) {
            // Drawn by the investigation in the dialog, not by the room.
            EXPECT_EQ(key.pos, (SpyPoint{145, 150}));
            EXPECT_FALSE(key.visible);
            EXPECT_EQ(key.icons, 1);
        }
        inv.Close();
    }
    EXPECT_EQ(logged("CInvestigation:ShowInvCard(). Not find investigation card 'KEY'."), 1u);
}

TEST_F(Investigation, TheMenuKeepsTheRoomAnimatedAndReturnsToTheSavedState) {
    ScriptedRoom& hall = addRoom("room_Hall");
    start("StartRoom = room_Hall");
    click(find("Menu"));
    frame();
    EXPECT_EQ(inv.GetState(), State::Menu);
    EXPECT_EQ(inv.GetSavedState(), State::Playing);
    hall.frames.clear();
    frame();
    EXPECT_EQ(hall.frames, std::vector<bool>{true});
    inv.CloseMenu();
    EXPECT_EQ(inv.GetState(), State::Playing);
}

TEST_F(Investigation, AnInvestigationWithoutPersonagesIsClosedNotThrownOnward) {
    dir.write("Demo/_investigation.ini", "[Main]\n");
    rooms.LoadSharedRoomsList(&personages, &panel);
    inv.Init(&panel, &rooms, &personages);
    inv.LoadInvestigation("investigations:", "Demo");
    res->BeginLoading();
    while (!res->isDone())
        res->LoadStep();
    inv.OnResourcesLoaded();
    EXPECT_EQ(inv.GetState(), State::Wired);
    EXPECT_EQ(inv.GetName(), "");
    EXPECT_NE(logText().find("Application generated exception!"), std::string::npos) << logText();
}

// Each event class: the state it leaves, what it shows, and where closing its dialog returns.
TEST_F(Investigation, EachEventClassActsAndItsDialogReturnsToTheSavedState) {
    struct Case {
        const char* events;
        bool ran;
        u32 state;
        const char* window;
        const char* button;
        u32 after;
    };
    const Case cases[] = {
        {"[EventBase]\n", false, State::Playing, nullptr, nullptr, State::Playing},
        {"[ShowMessage]\n", true, State::Playing, nullptr, nullptr, State::Playing},
        {"[SearchFinish]\nTextId = t\nIsGoToMap = 0\n", true, State::SearchFinish, "SearchFinish", "Ok",
         State::Playing},
        {"[SearchFinish]\nTextId = t\nIsGoToMap = 1\n", true, State::SearchFinish, "SearchFinish", "Ok",
         State::OnMap},
        {"[LocationFinish]\nTextId = t\n", true, State::LocationFinish, "LocFinish", "Ok", State::OnMap},
        {"[NpcItemIdent]\nNPC_Image = npc\nTextId = t\n", true, State::ItemIdent, "ItemIdent", "Continue",
         State::Playing},
        {"[EventForItem]\nNPC_Image = npc\nTextId = t\n", true, State::EventForItem, "EventForItem",
         "Continue", State::Playing},
        {"[EventForItem]\nTextId = t\n", true, State::Playing, nullptr, nullptr, State::Playing},
        {"[ChangePersonages]\nTextId = call\nNewPersonages = Bob\nIsGoToMap = 0\n", true, State::PhoneCall,
         "PhoneCall", "Continue", State::Playing},
        {"[ChangePersonages]\nNewPersonages = Bob\n", true, State::OnMap, nullptr, nullptr, State::OnMap},
        {"[InvestigationClose]\n", true, State::Finished, nullptr, nullptr, State::Finished},
        // Comics and the completion effect end by themselves and run the next event at once.
        {"[EventForComics]\nComicsName = intro\n[ShowMessage]\nTextId = next\n", true, State::Comics, nullptr,
         nullptr, State::Playing},
        {"[InvestigationWin]\nIsGoToMap = 0\n[ShowMessage]\nTextId = next\n", true, State::Completion,
         nullptr, nullptr, State::Playing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.events);
        rooms.Clear();
        addRoom("_GlobalMap");
        ScriptedRoom& hall = addRoom("room_Hall");
        start("StartRoom = room_Hall", "[EventBase]\nName = opening\n");
        inv.GetEventsManager().ResetAll();
        dir.write("Demo/more.ini", c.events);
        inv.GetEventsManager().AddEvents(dir.file("Demo/more.ini"));
        inv.GetEventsManager().GetEvent(0)->SetDone();

        const size_t frames = hall.frames.size();
        EXPECT_EQ(inv.ProcessEvents(), c.ran);
        EXPECT_TRUE(done(1));
        EXPECT_EQ(inv.GetState(), c.state);
        if (c.window) {
            EXPECT_EQ(inv.GetSavedState(), State::Playing);
            EXPECT_TRUE(find(c.window)->IsVisible(true));
            EXPECT_TRUE(find("BlockWidget")->IsVisible(true));
            frame();
            EXPECT_EQ(inv.GetState(), c.state) << "still waiting";
            EXPECT_EQ(hall.frames.back(), true) << "the room only animates";
            answer(c.window, c.button);
            frame();
            EXPECT_FALSE(find(c.window)->IsVisible(true));
            EXPECT_FALSE(find("BlockWidget")->IsVisible(true));
        }
        for (int i = 0;
             i < 5 && (c.state == State::Comics || c.state == State::Completion) && inv.GetState() == c.state;
             ++i)
            frame(60.0f);
        EXPECT_EQ(inv.GetState(), c.after);
        if (inv.GetEventsManager().GetEventCount() > 2) {
            EXPECT_TRUE(done(2)) << "the next event ran at once";
        }
        if (!c.ran) {
            EXPECT_EQ(hall.frames.size(), frames);
        }
        inv.Close();
    }
}

TEST_F(Investigation, AChangeOfPersonagesWithoutNewOnesKeepsThePersonageAndLogsMissingOnes) {
    addRoom("room_Hall");
    start("StartRoom = room_Hall",
          "[ChangePersonages]\nQuitPersonages = Bob\nIsGoToMap = 0\nSendItemsList = Ann:Zed>room_Hall:KEY\n"
          "SendFinishedTasks = Ann:Nothing\n");
    EXPECT_EQ(inv.GetState(), State::Playing);
    EXPECT_TRUE(done(0));
    EXPECT_EQ(personages.GetCurrentPersonage()->GetName(), "Ann");
    EXPECT_EQ(logged("CInvestigation::OnEventChangePersonages(). Personage 'Zed' not exist!"), 1u)
        << logText();
    EXPECT_EQ(logged("CInvestigation::OnEventChangePersonages(). Personage 'Ann', task 'Nothing' not exist!"),
              1u)
        << logText();
}

TEST_F(Investigation, TheSolveConfirmationSolvesOnlyOnYes) {
    ScriptedRoom& hall = addRoom("room_Hall");
    start("StartRoom = room_Hall");
    for (const char* button : {"No", "Yes"}) {
        click(find("SolveBtnPanel")->FindChild("Solve", true));
        frame();
        ASSERT_EQ(inv.GetState(), State::SolveConfirm);
        answer("SolveConfirm", button);
        frame();
        EXPECT_EQ(inv.GetState(), State::Playing);
    }
    EXPECT_EQ(hall.solved, 1);
}

TEST_F(Investigation, APersonagesHelpShownByTheTipsWaitsForItsAnswer) {
    personageKeys = "PersonagesList = Soleth\nStartPersonages = Soleth\n";
    ScriptedRoom& hall = addRoom("room_Hall");
    start("StartRoom = room_Hall");
    frame();
    EXPECT_EQ(inv.GetState(), State::PersonagesHelp);
    EXPECT_EQ(inv.GetSavedState(), State::Playing);
    EXPECT_TRUE(find("PersonagesHelp")->IsVisible(true));
    EXPECT_TRUE(find("BlockWidget")->IsVisible(true));
    answer("PersonagesHelp");
    frame();
    EXPECT_EQ(inv.GetState(), State::Playing);
    EXPECT_FALSE(find("BlockWidget")->IsVisible(true));
    // Once per game.
    frame();
    EXPECT_EQ(inv.GetState(), State::Playing);
    EXPECT_EQ(hall.frames.back(), false);
}

// The record: state, saved state, location, current room, history names.
std::string Record(u32 state, u32 saved, const std::string& location, const std::string& room,
                   const std::vector<std::string>& history, u32 count) {
    std::string bytes = InGameTest::le32(state) + InGameTest::le32(saved) + location + '\0' + room + '\0' +
                        InGameTest::le32(count);
    for (const std::string& name : history)
        bytes += name + '\0';
    return bytes;
}

// The shipped evidence box and cards room, registered from their folders, beside a scripted hall.
class InvestigationBuiltIns : public Investigation {
protected:
    InvestigationBuiltIns() {
        dir.write("Demo/_rooms.list", "Evidence_box\n_InvestigationCards\n");
        dir.write("Demo/Evidence_box/room.ini", "[Room]\nClass = EvidenceBox\n");
        std::string objects;
        for (const char* name : {"a", "b", "c"})
            objects += "[" + std::string(name) + "]\nClass = object\nX = 0\nY = 0\nWidth = 10\nHeight = 10\n";
        dir.write("Demo/Evidence_box/objects.ini", objects);
        dir.write("Demo/Evidence_box/items.ini", "[A]\nObject = a\n[B]\nObject = b\n[C]\nObject = c\n");
        dir.write("Demo/_InvestigationCards/room.ini", "[Room]\nClass = InvCards\n");
        dir.write("Demo/_InvestigationCards/objects.ini", "");
        dir.write("Demo/_InvestigationCards/items.ini", "");
        dir.write("Demo/_InvestigationCards/InvCards/LETTER.jng",
                  imagefiles::text(imagefiles::png(4, 2, std::vector<u32>(8, 0xff00ff00))));
        hall = &addRoom("room_Hall");
    }

    ScriptedRoom* hall = nullptr;
};

TEST_F(InvestigationBuiltIns, ACardFromTheCardsRoomWaitsInItsDialog) {
    start("StartRoom = room_Hall");
    ASSERT_EQ(inv.GetState(), State::Playing);
    EXPECT_FALSE(inv.ShowInvCard("NONE"));
    EXPECT_EQ(logged("CInvestigation:ShowInvCard(). Not find investigation card 'NONE'."), 1u) << logText();
    ASSERT_TRUE(inv.ShowInvCard("LETTER"));
    EXPECT_EQ(inv.GetState(), State::InvCard);
    EXPECT_EQ(inv.GetSavedState(), State::Playing);
    EXPECT_TRUE(find("InvCard")->IsVisible(true));
    frame();
    answer("InvCard");
    frame();
    EXPECT_EQ(inv.GetState(), State::Playing);
    EXPECT_FALSE(find("InvCard")->IsVisible(true));
}

TEST_F(InvestigationBuiltIns, ClosingWarnsOfEvidenceLeftClosed) {
    start("StartRoom = room_Hall", "[InvestigationClose]\n", false);
    for (const char* name : {"A", "B", "C"})
        rooms.GetItem("Evidence_box", name)->SetVisible(std::string(name) == "B");
    inv.Entry();
    EXPECT_EQ(inv.GetState(), State::Finished);
    EXPECT_EQ(logged("Warning, remain not opened '2' items in evidence box!"), 1u) << logText();
    EXPECT_EQ(inv.GetCurrentRoomPtr(), nullptr);
    EXPECT_EQ(hall->left, 1);
}

TEST_F(InvestigationBuiltIns, AFinishedLocationIsDisabledOnTheMapForThePersonage) {
    dir.write("Demo/_rooms.list", "_GlobalMap\n");
    dir.write("Demo/_GlobalMap/room.ini", "[Room]\nClass = GlobalMap\n");
    dir.write("Demo/_GlobalMap/objects.ini",
              "[hall]\nClass = object\nX = 0\nY = 0\nWidth = 10\nHeight = 10\n");
    dir.write("Demo/_GlobalMap/items.ini", "[TO_HALL]\nClass = Door\nObject = hall\nUseRoom = room_Hall\n");
    start("StartRoom = room_Hall", "[LocationFinish]\nLocation = room_Hall\nTextId = done\n", false);
    ASSERT_TRUE(loadRecord(inv, Record(State::Playing, 0, "room_Hall", "room_Hall", {}, 0)));
    ASSERT_TRUE(inv.ProcessEvents());
    EXPECT_EQ(inv.GetState(), State::LocationFinish);
    const CPersonage::CItemInfo* door =
        personages.GetCurrentPersonage()->FindItemInfo({"_GlobalMap", "TO_HALL"});
    ASSERT_NE(door, nullptr);
    EXPECT_EQ(door->m_UseTo.second, "NONE");
    answer("LocFinish", "Ok");
    frame();
    EXPECT_EQ(inv.GetState(), State::OnMap);
}

TEST_F(Investigation, TheRecordKeepsRoomsByNameAndLoadsOnlyWhatCanBePlayed) {
    addRoom("_GlobalMap");
    addRoom("room_Hall");
    ScriptedRoom& desk = addRoom("zoom_Desk", 400, 300);
    start("StartRoom = room_Hall");

    struct Case {
        std::string record;
        u32 state;
        CRoomBase* room;
        std::vector<CRoomBase*> history;
        bool logs;
    };
    CRoomBase* hall = rooms.GetRoom("room_Hall");
    CRoomBase* map = rooms.GetRoom("_GlobalMap");
    const Case cases[] = {
        {Record(5, 22, "room_Hall", "zoom_Desk", {"_GlobalMap", "room_Hall"}, 2),
         5,
         &desk,
         {map, hall},
         false},
        // A history name no room answers to is dropped.
        {Record(5, 22, "", "zoom_Desk", {"Cellar", "room_Hall"}, 2), 5, &desk, {hall}, false},
        {Record(99, 5, "", "room_Hall", {}, 0), 4, hall, {}, false},
        {Record(3, 5, "", "room_Hall", {}, 0), 4, hall, {}, false},
        // A state that needs a room, with none.
        {Record(7, 5, "", "Cellar", {}, 0), 4, nullptr, {}, false},
        {Record(23, 5, "", "", {}, 0), 23, nullptr, {}, false},
        // The menu and the dialogs return only to a state of play.
        {Record(23, 22, "", "room_Hall", {}, 0), 23, hall, {}, false},
        {Record(23, 2, "", "room_Hall", {}, 0), 4, hall, {}, false},
        {Record(12, 0xFFFFFFFF, "", "room_Hall", {}, 0), 4, hall, {}, false},
        {Record(20, 23, "", "room_Hall", {}, 0), 4, hall, {}, false},
        // A count beyond the record stops the list.
        {Record(5, 5, "", "room_Hall", {"room_Hall"}, 0xFFFFFFFF), 5, hall, {}, true},
    };
    for (const Case& c : cases) {
        log.clear();
        ASSERT_TRUE(loadRecord(inv, c.record));
        EXPECT_EQ(inv.GetState(), c.state);
        EXPECT_EQ(inv.GetCurrentRoomPtr(), c.room);
        EXPECT_EQ(inv.GetHistory(), c.history);
        EXPECT_EQ(logText().find("LoadStringList()") != std::string::npos, c.logs) << logText();
    }

    ASSERT_TRUE(loadRecord(inv, cases[0].record));
    EXPECT_EQ(savedRecordOf(inv), cases[0].record);
    EXPECT_EQ(inv.GetCurrentLocation(), "room_Hall");
    EXPECT_EQ(inv.GetSavedState(), 22u);
}

TEST_F(Investigation, ChildrenAreSavedBeforeTheInvestigationInTheirOrder) {
    start();
    EXPECT_EQ(savedNames(inv),
              (std::vector<std::string>{
                  "<TipEvents>", "<tip_manager>", "<SpyGameInterface>", "<DialogMessage>", "Inventory : Ann",
                  "<Personage:Ann", "Inventory : Bob", "<Personage:Bob", "<PersonagesManager>",
                  "RoomsManager : Demo", "SpyEventsManager : Demo", "Investigation : Demo"}));
}

TEST_F(Investigation, ACloseUpShadesTheRoomAreaAndAnUnknownStateDrawsTheErrorInRed) {
    load("fontlist\n{\n  sys_s @/text.fnt\n}\n", "sys.agui");
    ScriptedRoom& hall = addRoom("room_Hall");
    addRoom("zoom_Desk", 400, 300);
    start("StartRoom = room_Hall");
    hall.result = CRoomBase::ZoomRoomRequested;
    hall.target = "zoom_Desk";
    frame();
    RgbaImage image = drawn();
    // Black at alpha 0xB0 over white inside the area; the panel's side untouched.
    EXPECT_EQ(image.pixel(300, 100), 0x4F4F4FFFu);
    EXPECT_EQ(image.pixel(100, 100), 0xFFFFFFFFu);

    dir.write("Demo/close.ini", "[InvestigationClose]\n");
    inv.GetEventsManager().AddEvents(dir.file("Demo/close.ini"));
    ASSERT_TRUE(inv.ProcessEvents());
    ASSERT_EQ(inv.GetState(), State::Finished);
    image = drawn();
    // "E" in the test font: a block from the glyph's third row, one pixel in.
    EXPECT_EQ(image.pixel(4, 8), 0xFF0000FFu);
    EXPECT_EQ(image.pixel(300, 100), 0xFFFFFFFFu);
}

TEST_F(Investigation, PickAndIdentificationStatesWithoutTheirItemDrawNone) {
    addRoom("room_Hall");
    start("StartRoom = room_Hall");
    for (u32 state : {7u, 8u, 12u}) {
        ASSERT_TRUE(loadRecord(inv, Record(state, 5, "", "room_Hall", {}, 0)));
        ASSERT_EQ(inv.GetState(), state);
        inv.Render();
    }
}

} // namespace
