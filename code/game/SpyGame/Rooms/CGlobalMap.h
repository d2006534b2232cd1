#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"

// The built-in room from which the player travels: each location is a door of the map whose target
// is a location room. A location shows only when its room is loaded, and the personage's record for
// it hides it, greys it out or lets it be used.
class CGlobalMap : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "GlobalMap"; }

    CGlobalMap();
    ~CGlobalMap() override;

    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Enter(const std::string& entryName, CSpyItem* entryItem) override;
    void Leave() override;
    void RefreshForPersonage() override;
    void HandleInput(f32 dt) override;
    // Hidden (hide set) or shown disabled after the next refresh.
    virtual void DisableLocationForCurrPersonage(const std::string& location, bool hide);

    bool IsMouseOverLocation() const { return m_MouseOverLocation != 0; }

private:
    u8 m_MouseOverLocation = 0;
    aSound* m_pHoverSound = nullptr;
};
