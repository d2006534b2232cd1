#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"

// A close-up of a blood stain. The player picks up the swab "TAMPON", carries it onto the stain
// "BLOOD" and so takes a sample: the swab is used up and the sample packet "PAKET" shows in the room.
// The room keeps no state of its own; what was done lives in its items.
class cGettingBloodSample : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "GettingBloodSample"; }

    cGettingBloodSample();
    ~cGettingBloodSample() override;

    std::string GetClassName() const override { return GetClassStaticName(); }
    void SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                         std::optional<SpyPoint> grabOffset = std::nullopt) override;
    bool ProcessAutoActions() override;
    void HandleCursorItemInput(f32 dt) override;

protected:
    void TakeSample();
    // The room's item of that name; null, without a log line, when it has none.
    CSpyItem* FindItem(const std::string& name);
};
