#pragma once
#include "game/SpyGame/Rooms/Toolkit/cHandlerCell.h"
#include "tk2v/gfx/aGDI.h"
#include "tk2v/util/types.h"

#include <list>
#include <memory>

class CRoomItemLookup;
class CSpyItem;
class SaveLoadSystem;

// A timed bar over a room item: fills the item's rectangle in the drawing colour as the duration runs,
// calls its periodic handlers while it runs and its finish handler once the duration has passed.
class cProgressBar {
public:
    cProgressBar() = default;
    cProgressBar(const cProgressBar&) = delete;
    cProgressBar& operator=(const cProgressBar&) = delete;
    virtual u8* SaveSelf(SaveLoadSystem& sys, u8* pos);
    virtual const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);
    virtual ~cProgressBar() = default;

    // Direction 0 fills the item downwards along its height, any other value rightwards along its width.
    void SetItem(CSpyItem* item, u8 direction);
    void SetTime(f32 duration) { m_Duration = duration; }
    void SetOnFinish(std::unique_ptr<GUI::Subscriber> handler) {
        m_OnFinish = cHandlerCell(std::move(handler));
    }
    // Called each time `period` seconds have gathered while the bar runs.
    void AddPeriodic(f32 period, std::unique_ptr<GUI::Subscriber> handler);
    void AddPeriodicHandler(f32 period, std::unique_ptr<GUI::Subscriber> handler) {
        AddPeriodic(period, std::move(handler));
    }
    void Start();
    void Update(f32 dt);
    void Render();

    bool IsRunning() const { return m_Running; }
    void SetRunning(bool running) { m_Running = running; }
    bool IsVisible() const { return m_Visible; }
    void SetVisible(bool visible) { m_Visible = visible; }
    f32 GetElapsed() const { return m_Elapsed; }
    void SetElapsed(f32 elapsed) { m_Elapsed = elapsed; }
    // Kept and saved for the room; the bar itself never counts with it.
    u32 GetCounter() const { return m_Counter; }
    void SetCounter(u32 counter) { m_Counter = counter; }
    u32 GetValue() const { return m_Value; }
    void SetValue(u32 value) { m_Value = value; }
    u32 GetColor() const { return m_Gdi.color; }
    void SetColor(u32 argb) { m_Gdi.color = argb; }

private:
    struct Periodic {
        cHandlerCell handler;
        f32 period = 0;
        f32 gathered = 0;
    };

    // How much of the item the bar covers: 0..1.
    f32 Fraction() const;

    aGDI m_Gdi;
    u32 m_Value = 0;
    CSpyItem* m_Item = nullptr;
    u8 m_Direction = 0;
    bool m_Running = false;
    bool m_Visible = false;
    u32 m_Counter = 0;
    f32 m_Duration = 0;
    f32 m_Elapsed = 0;
    cHandlerCell m_OnFinish;
    std::list<Periodic> m_Periodic;
    // Changes with every Start, so an update knows when a handler has started the bar anew.
    u32 m_Starts = 0;
};
