#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"

#include <string>
#include <vector>

// The rack of sample bottles, close up: every place shows a bottle and its label. The player clicks
// one bottle (it pulses) and then another, and the two places exchange their texts, on the bench's
// namesakes too. The rack is sorted, and the puzzle won, when every label shows the text its place
// expects; the bench decides that order.
class cCrimeLabButtles : public CRoomBase {
public:
    // One place of the rack: the bottle item named by "Order", its label "T" + that name, and the
    // label text the place shows once the rack is sorted.
    struct ButtleSlot {
        std::wstring expectedText;
        CSpyItem* labelItem = nullptr;
        CSpyItem* bottleItem = nullptr;
    };

    static const char* GetClassStaticName() { return "CrimeLabButtles"; }

    cCrimeLabButtles();
    ~cCrimeLabButtles() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    bool ProcessAutoActions() override;
    bool OnClickUseItem() override;

    // The bench's bottle order (slot indices): the rack copies the bench's texts, learns what each
    // place expects and shuffles itself.
    void SetOrder(const std::vector<u16>& newOrder);
    // Bottles highlight on hover again, nothing pulses, nothing is selected, not solved.
    void ResetPuzzleState();

    const std::vector<ButtleSlot>& GetSlots() const { return slots; }
    bool IsOrderCorrect() const;

protected:
    // The bench's item of that name, quietly; null when there is none.
    CSpyItem* Namesake(const CSpyItem& item) const;
    void SwapTexts(CSpyItem* a, CSpyItem* b);
    void Exchange(ButtleSlot& a, ButtleSlot& b);
    static bool IsInPlace(const ButtleSlot& slot);
    ButtleSlot* SlotOfBottle(const CSpyItem* item);
    void Unselect();
    void PutAllInPlace();
    void Shuffle();
    void OnWin();
    void Play(const char* sound) const;

    // From room.ini.
    std::vector<ButtleSlot> slots;
    CRoomBase* linkedRoom = nullptr;

    // Play state, in record order (the expected texts are the slots').
    ButtleSlot* selectedSlot = nullptr;
    std::vector<u16> order;
    u8 solved = 0;
    std::string itemToShow;
};
