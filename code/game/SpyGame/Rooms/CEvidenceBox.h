#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"

// The built-in room of the evidence collected so far: its items stay hidden until a picked item of
// the same name is handed over in any room, which raises the panel's new-evidence marker.
class CEvidenceBox : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "EvidenceBox"; }

    CEvidenceBox();
    ~CEvidenceBox() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void Enter(const std::string& entryName, CSpyItem* entryItem) override;
    void Leave() override;
    // The text is not used.
    virtual void ResetBox(const std::string& text);

    bool ShowEvidence(const std::string& itemName);
    u32 CountClosedItems();
    bool HasNewEvidence() const { return m_NewEvidence != 0; }

private:
    u8 m_NewEvidence = 0;
};
