#pragma once
#include "game/SpyGame/Rooms/Puzzles/cReservationsRegisterRoom.h"
#include "game/SpyGame/Rooms/Toolkit/cAnimateItems.h"
#include "game/SpyGame/Rooms/Toolkit/cMoveItemsManager.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// A register book whose room also holds a table of numbered holes. The player brings numbered lamps
// from the inventory and drags them into the holes: the room shows the picture of that lamp standing
// in that hole ("2_IN_3"), a lamp in its own hole locks with a short pulse, and the table is solved
// once every hole holds its own lamp. Lamps not yet locked may be lifted out again or swapped.
class cDilaryLightsPuzzle : public cReservationsRegisterRoom {
public:
    static const char* GetClassStaticName() { return "DilaryLightsPuzzle"; }

    cDilaryLightsPuzzle();
    ~cDilaryLightsPuzzle() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    void Enter(const std::string& entryName, CSpyItem* entryItem) override;
    u32 FrameMove(f32 dt, bool paused) override;
    void SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                         std::optional<SpyPoint> grabOffset = std::nullopt) override;
    bool ProcessAutoActions() override;
    void HandleCursorItemInput(f32 dt) override;
    void HandleInput(f32 dt) override;
    void RenderItems() override;

    bool IsSolved() const { return m_bSolved; }
    bool IsTableBuilt() const { return !m_bTableNeedsBuilding; }
    const std::vector<CSpyItem*>& GetLamps() const { return m_Lamps; }

protected:
    static constexpr f32 PulseTime = 0.4f;

    // Lamp and hole numbers of a picture, from 1.
    struct Spot {
        i32 lamp = 0;
        i32 hole = 0;
    };

    std::string LampName(i32 lamp) const;
    std::string HoleName(i32 hole) const;
    std::string PictureName(i32 lamp, i32 hole) const;
    // The lamps of the saved list, or else of the inventory; false, logged, while any lamp, hole or
    // picture is missing, and the table waits for the next entry.
    bool BuildTable(const std::vector<CSpyItem*>* saved);
    void RegisterTable();
    // The table's part of a frame with the button pressed or released: false when it leaves the
    // frame to the room.
    bool ProcessTableInput(f32 dt);
    bool OnLampPut(const GUI::EventArgs& args);
    // Pictures standing in their own holes lock and pulse; false while one does not stand there.
    bool LockRightLamps();
    // A lamp dropped on a place that is no hole goes back to the strip.
    void ReturnToInventory(CSpyItem* lamp);
    void ShowSolvedTable();

    CSpyItem* GetPictureFor(const CSpyItem* lamp, const CSpyItem* hole) const;
    CSpyItem* GetLampOfPicture(const CSpyItem* item) const;
    CSpyItem* GetHoleOfPicture(const CSpyItem* item) const;
    // The first visible picture in the hole, lamps in order.
    CSpyItem* FindShownPictureInHole(const CSpyItem* hole) const;
    CSpyItem* Picture(i32 lamp, i32 hole) const;
    // The room's item of that name, looked up without a log line for none.
    CSpyItem* FindRoomItem(const std::string& name) const;
    // The number of the lamp or hole in its list; 0 for none.
    static i32 IndexOf(const std::vector<CSpyItem*>& items, const CSpyItem* item);

    i32 m_LampCount = 0;
    std::string m_OutsideLamp;
    std::string m_HolePrefix;
    std::string m_InsideLamp;
    // Lamp i's pictures are row i; every hole's column is its number.
    std::vector<CSpyItem*> m_Holes;
    std::vector<CSpyItem*> m_Pictures;
    std::unordered_map<const CSpyItem*, Spot> m_Spots;
    cAnimateItems m_FirstPulse{m_Transform};
    cAnimateItems m_SecondPulse{m_Transform};
    // Made anew with each table, so that a table built again holds no lamp twice.
    std::unique_ptr<cMoveItemsManager> m_pMoves;
    std::vector<CSpyItem*> m_Lamps;
    bool m_bSolved = false;
    bool m_bTableNeedsBuilding = true;
    CSpyItem* m_pLastLifted = nullptr;
};
