#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Toolkit/cAimatedHiding.h"

#include <list>
#include <map>
#include <string>

// A close-up of a tangle of ropes. The player clicks the ropes away one by one; a rope comes away
// only while at most one of the ropes listed as lying on it still shows, and then grows a little
// as it fades out. The net is undone when no rope is left.
class cNetPuzzleRoom : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "cNetPuzzleRoom"; }

    cNetPuzzleRoom();
    ~cNetPuzzleRoom() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    void Render() override;
    bool ProcessAutoActions() override;
    void HandleCursorItemInput(f32 dt) override;
    void HandleInput(f32 dt) override;

private:
    void ReadLines();
    bool CanRemoveRope(CSpyItem* item) const;
    bool CheckSolved();

    // Read by AfterLoadInit: each rope and the items lying on it.
    std::map<CSpyItem*, std::list<CSpyItem*>> m_Ropes;

    // Play state, in record order.
    cAimatedHiding m_Hiding;
    bool m_Solved = false;
};
