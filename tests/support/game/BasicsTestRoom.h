#pragma once
#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/Rooms/Toolkit/cAutoRepeater.h"
#include "game/SpyGame/Rooms/Toolkit/cCellsManager.h"
#include "game/SpyGame/Rooms/Toolkit/cEditBoxManager.h"
#include "game/SpyGame/Rooms/Toolkit/cMenu.h"
#include "game/SpyGame/Rooms/Toolkit/cPaintLayer.h"
#include "game/SpyGame/Rooms/Toolkit/cProgressBar.h"
#include "game/SpyGame/Rooms/Toolkit/cScreenInventaryPair.h"
#include "game/SpyGame/Rooms/Toolkit/cSimpleTimer.h"
#include "tk2v/gfx/aImageManager.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

// A puzzle room of the tests only, never shipped: one of each basic toolkit object over items of its
// data. Two edit boxes over the text items BOX1 and BOX2 (BOX1 focused, typing sound "type_key"); a
// menu over MENU with the entries BTN_A (highlighted BTN_A_ON) and BTN_B, the plain item MENU_TEXT and
// the sounds "menu_click" and "menu_hover"; the cells of room.ini's section "Cells"; the pairs of its
// "ScreenInventaryPair"; a timer of 1 s in 4 ticks; a bar over BAR of 2 s with a periodic handler every
// 0.5 s; a key repeater; a paint layer from the section "Paint" (rect, place, brush as "x y w h", color,
// limit, speed) over the room's picture "page". Reset shows the menu and enables the cells. Every
// handler notes its name in `calls` and then runs `react`. The toolkit objects save after the room
// base, in the order they are declared.
class BasicsTestRoom : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "BasicsTestRoom"; }
    std::string GetClassName() const override { return GetClassStaticName(); }

    void AfterLoadInit() override {
        const bool fresh = m_State == ResourcesQueued;
        CRoomBase::AfterLoadInit();
        if (!fresh || m_State != Loaded)
            return;
        for (const char* name : {"BOX1", "BOX2"})
            boxes.AddEditBox(GetItem(name), true)->SetOnRefuse(Handler("refuse"));
        boxes.SetSound(GetSound("type_key"));
        boxes.SetOnEnter(Handler("enter"));
        boxes.SelectByItem(GetItem("BOX1"));
        menu.SetBackground(GetItem("MENU"));
        aSound* click = GetSound("menu_click");
        aSound* hover = GetSound("menu_hover");
        menu.AddItem(GetItem("BTN_A"), Handler("A"), GetItem("BTN_A_ON"), click, hover);
        menu.AddItem(GetItem("BTN_B"), Handler("B"), nullptr, click, hover);
        menu.AddPlainItem(GetItem("MENU_TEXT"));
        cells.Init(m_Ini, "Cells", *this);
        pairs.Init(m_Ini);
        timer.SetTime(1, 4);
        timer.SetOnTick(Handler("tick"));
        timer.SetOnFinish(Handler("finish"));
        bar.SetItem(GetItem("BAR"), 0);
        bar.SetTime(2);
        bar.AddPeriodic(0.5f, Handler("periodic"));
        bar.SetOnFinish(Handler("bar done"));
        ReadPaint();
    }
    void Reset() override {
        if (m_State <= ResourcesQueued)
            return;
        CRoomBase::Reset();
        boxes.Reset();
        boxes.SelectByItem(GetItem("BOX1"));
        menu.Reset();
        menu.SetVisible(true);
        cells.ResetSelections();
        cells.SetAllEnabled(true);
        repeater.Reset();
        paint.Reset();
    }
    u32 FrameMove(f32 dt, bool paused) override {
        if (!paused && IsActive()) {
            timer.Update(dt);
            bar.Update(dt);
            menu.FrameMove(dt);
        }
        return CRoomBase::FrameMove(dt, paused);
    }
    void HandleInput(f32 dt) override {
        CRoomBase::HandleInput(dt);
        boxes.Update(dt);
        repeater.Update(dt);
        menu.Update(m_pItemUnderCursor);
        cells.Update();
        painted = paint.Update(dt);
    }
    void Render() override {
        CRoomBase::Render();
        menu.Render();
        boxes.Render();
        bar.Render();
        paint.Render();
    }

    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override {
        pos = CRoomBase::SaveSelf(sys, pos);
        pos = boxes.SaveSelf(sys, pos);
        pos = menu.SaveSelf(sys, pos);
        pos = cells.SaveSelf(sys, pos);
        pos = pairs.SaveSelf(sys, pos);
        pos = timer.SaveSelf(sys, pos);
        pos = bar.SaveSelf(sys, pos);
        pos = repeater.SaveSelf(sys, pos);
        return paint.SaveSelf(sys, pos);
    }
    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override {
        pos = CRoomBase::LoadSelf(sys, pos);
        if (!m_pRoomsManager)
            return pos;
        CRoomItemLookup& rooms = *m_pRoomsManager;
        pos = boxes.LoadSelf(rooms, sys, pos);
        pos = menu.LoadSelf(rooms, sys, pos);
        pos = cells.LoadSelf(rooms, sys, pos);
        pos = pairs.LoadSelf(rooms, sys, pos);
        pos = timer.LoadSelf(rooms, sys, pos);
        pos = bar.LoadSelf(rooms, sys, pos);
        pos = repeater.LoadSelf(rooms, sys, pos);
        return paint.LoadSelf(rooms, sys, pos);
    }

    cEditBoxManager boxes;
    cMenu menu;
    cCellsManager cells;
    cScreenInventaryPair pairs;
    cSimpleTimer timer;
    cProgressBar bar;
    cAutoRepeater repeater;
    cPaintLayer paint{cRoomTransform(&m_Origin, &m_Scale)};
    // Whether the layer painted in the last frame of input.
    bool painted = false;

    std::vector<std::string> calls;
    std::function<void(const std::string&)> react;

private:
    struct Noting : GUI::Subscriber {
        Noting(BasicsTestRoom& room, std::string name) : room(room), name(std::move(name)) {}
        bool operator()(const GUI::EventArgs&) override {
            room.calls.push_back(name);
            if (room.react)
                room.react(name);
            return true;
        }
        BasicsTestRoom& room;
        std::string name;
    };
    std::unique_ptr<GUI::Subscriber> Handler(const std::string& name) {
        return std::make_unique<Noting>(*this, name);
    }

    void ReadPaint() {
        if (!CheckRoomSection(m_Ini, "Paint", m_Name))
            return;
        const aRect place = ParseRect(m_Ini.getString("place"));
        const aRect brush = ParseRect(m_Ini.getString("brush"));
        aImageManager* images = m_pResManager->getImageManager();
        aImage* page = images->hasImage("page", m_Name) ? images->getImage("page", m_Name) : nullptr;
        paint.SetRect(ParseRect(m_Ini.getString("rect")));
        paint.Setup(page, place.x, place.y, brush.w, brush.h,
                    u32(std::strtoul(m_Ini.getString("color").c_str(), nullptr, 16)),
                    u8(m_Ini.getInt("limit")), std::strtof(m_Ini.getString("speed").c_str(), nullptr));
    }
};
