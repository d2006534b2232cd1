#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Toolkit/cPaintLayer.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"

#include <optional>

class aSound;

// An open appointment book whose page bears the imprint of hidden writing. Carrying the pencil over
// the page with the button held rubs colour onto it, with a pencil sound, and the writing shows where
// it was rubbed. Once enough of it shows, the text counts as found: a message, the pencil back to the
// inventory and the written-out text on the page.
class cAppointmentBookRoom : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "AppointmentBookRoom"; }

    cAppointmentBookRoom();
    ~cAppointmentBookRoom() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    void Leave() override;
    void SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                         std::optional<SpyPoint> grabOffset = std::nullopt) override;
    bool ProcessAutoActions() override;
    void HandleCursorItemInput(f32 dt) override;
    void RenderItems() override;
    void StopAmbient() override;

protected:
    void ReadPaintSection();
    void Rub(f32 dt);
    void FindText();
    void StopPen();

    // From room.ini.
    CSpyItem* m_pPen = nullptr;
    CSpyItem* m_pTextImprint = nullptr;
    CSpyItem* m_pPageZone = nullptr;
    aSound* m_pPenSound = nullptr;
    cRoomTransform m_Transform{&m_Origin, &m_Scale};
    // None without the page's picture: then only the solve finds the text.
    std::optional<f32> m_WinAmount;

    // Play state, in record order.
    bool m_bFound = false;
    cPaintLayer m_PaintLayer{m_Transform};
};
