#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Toolkit/cAnimHidingByColor.h"
#include "game/SpyGame/Rooms/Toolkit/cMenu.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"

namespace GUI {
class EventArgs;
}

// A register book of numbered pages ("PAGE1", "PAGE2", ...) that the player leafs through with the
// buttons "BACK" and "NEXT": the buttons and the page fade out while the next page fades in. A page
// may hold the item "TARGET" the story asks for; the book itself is never won. The lamp table builds
// its puzzle on top of this paging.
class cReservationsRegisterRoom : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "ReservationsRegisterRoom"; }

    cReservationsRegisterRoom();
    ~cReservationsRegisterRoom() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    u32 FrameMove(f32 dt, bool paused) override;
    void HandleInput(f32 dt) override;

protected:
    static constexpr f32 FadeTime = 0.75f;

    // The menu's button handlers: false when there is no page on that side.
    bool PrevPage(const GUI::EventArgs& args);
    bool NextPage(const GUI::EventArgs& args);
    // Fills the fade with the buttons, the target and the current page, and starts it.
    void SetupPageFade(cAnimHidingByColor& fade);
    // Opens the page after a turn: its item becomes the menu's background.
    void ShowPage(i16 page);
    CSpyItem* PageItem(i16 page);
    void EnableButton(CSpyItem* button, bool enabled);

    // Where the room is drawn, for the fades.
    cRoomTransform m_Transform{&m_Origin, &m_Scale};

    // Play state, in record order.
    cMenu m_PageMenu;
    cAnimHidingByColor m_FadeOut{m_Transform};
    cAnimHidingByColor m_FadeIn{m_Transform};
    CSpyItem* m_pTarget = nullptr;
    CSpyItem* m_pNext = nullptr;
    CSpyItem* m_pBack = nullptr;
    i16 m_CurrentPage = 0;
    i16 m_PageCount = 0;
    bool m_bShowAfterReset = false;
};
