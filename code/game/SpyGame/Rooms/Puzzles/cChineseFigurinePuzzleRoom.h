#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"

#include <string>
#include <vector>

// A close-up of a row of figurines holding hands. The player swaps them two at a time: a click picks
// one (it flashes), a second click trades their places. The row is right when, from left to right,
// each figurine's right hand matches the next one's left hand and, from the second on, women and men
// take turns. Then the row stops reacting and the item of "ItemToShow" shows.
class cChineseFigurinePuzzleRoom : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "ChineseFigurinePuzzleRoom"; }

    // One "FIGURE_"n section: the hand poses, whether a woman, the room item.
    struct Figure {
        u8 leftHand = 0;
        u8 rightHand = 0;
        u8 woman = 0;
        CSpyItem* item = nullptr;
        // n of its section: a figurine's item name ends with it.
        i32 number = 0;
    };

    cChineseFigurinePuzzleRoom();
    ~cChineseFigurinePuzzleRoom() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    bool ProcessAutoActions() override;
    bool OnClickUseItem() override;

    // The figurines from left to right, one per record; null entries while none has been found.
    std::vector<CSpyItem*> GetRowOrder() const;
    bool IsRowRight() const;
    const std::vector<Figure>& GetFigures() const { return m_Figures; }
    CSpyItem* GetSelected() const { return m_pSelected; }
    bool IsSolved() const { return m_Solved != 0; }

protected:
    void Swap(CSpyItem* clicked);
    void Succeed();
    // The record the item's trailing number names; null for none.
    const Figure* RecordOf(const CSpyItem* item) const;

    // Built from room.ini.
    std::vector<Figure> m_Figures;
    std::string m_ItemToShow;

    // Play state, saved flag first.
    CSpyItem* m_pSelected = nullptr;
    u8 m_Solved = 0;
};
