#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Toolkit/cAnimateItems.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "game/SpyGame/Rooms/Toolkit/cScreenInventaryPair.h"

#include <map>
#include <optional>
#include <string>

class aSound;
class CInventory;

// A table on which the player puts a torn letter together. A few pieces lie in place from the start;
// the others come from the inventory, turned and strewn over the table. The player takes a piece,
// turns it with the right button in quarter turns and drops it with the left: upright and within 15
// pixels of its place it locks there. With every piece locked the letter is whole.
class cAssembleInviationRoom : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "AssembleInviationRoom"; }

    cAssembleInviationRoom();
    ~cAssembleInviationRoom() override;

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

protected:
    enum SoundIndex { GrabSound, PlaceBackSound, LockSound, RotateSound, CompletedSound, SoundCount };
    static constexpr f32 LockDistance = 15.0f;

    void LayOutPieces();
    // The carried item's piece on the table; null when it has none.
    CSpyItem* CarriedPiece() const;
    void DropPiece(CSpyItem& piece);
    SpyPoint HomeOf(const CSpyItem& piece) const;
    bool AllPiecesLocked() const;
    void LockAllPieces();
    void OnCompleted();
    CInventory* Inventory() const;
    void Play(SoundIndex sound) const;

    // From room.ini.
    cRoomTransform m_Transform{&m_Origin, &m_Scale};
    std::string m_Prefix;
    // The screen pieces by their number.
    std::map<i32, CSpyItem*> m_Pieces;
    i32 m_PiecesToLock = 0;
    aSound* m_Sounds[SoundCount] = {};

    // Play state, in record order.
    bool m_bNeedsSetup = true;
    cAnimateItems m_Pulse{m_Transform};
    cScreenInventaryPair m_Pairs;
    bool m_bCompleted = false;
};
