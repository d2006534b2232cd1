#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Toolkit/cItemsAsOne.h"
#include "game/SpyGame/Rooms/Toolkit/cPhysicsManager.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"

#include <list>
#include <string>
#include <vector>

// A close-up of a rose whose big leaf hides a clue. The player puts bugs from the inventory on the
// leaf, each weighing it down a little; with the last one on, the wind blows the leaves away, and
// once the leaf has fallen past the rose's heart the petals go too. When everything has left the
// picture a blood stain lies bare.
class cGardenRoseRoom : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "GardenRoseRoom"; }

    cGardenRoseRoom();
    ~cGardenRoseRoom() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    u32 FrameMove(f32 dt, bool paused) override;
    void SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                         std::optional<SpyPoint> grabOffset = std::nullopt) override;
    bool ProcessAutoActions() override;
    void HandleCursorItemInput(f32 dt) override;

private:
    void ReadAnimation();
    void ReadPhysics();
    void PutBugOnLeaf(CSpyItem* bug);
    void CheckAllBugsPlaced();
    void UpdateFalling(f32 dt);
    void SetPetalsFixed(bool fixed);
    bool IsOnLeaf(const CSpyItem* item) const;

    // Read by AfterLoadInit.
    cRoomTransform m_Transform{&m_Origin, &m_Scale};
    std::list<std::string> m_BugNames;
    // The items the wind moves, by their bodies' names: the leaves, then the petals. An item the room
    // lacks is null and stays out of play.
    struct Falling {
        std::string name;
        CSpyItem* item = nullptr;
    };
    std::vector<Falling> m_Blown;
    std::list<std::string> m_PetalNames;
    CSpyItem* m_pRose = nullptr;
    CSpyItem* m_pCenter = nullptr;
    CSpyItem* m_pBlood = nullptr;

    // Play state, in record order.
    CSpyItem* m_pLeaf = nullptr;
    u32 m_BugsPlaced = 0;
    // The leaf, the bugs' places on it and the bugs put there, moved as one.
    cItemsAsOne m_LeafGroup{m_Transform};
    bool m_Falling = false;
    f32 m_FallTime = 0;
    f32 m_AnimationSpeed = 0;
    PHYSICS::cPhysicsManager m_Physics;
};
