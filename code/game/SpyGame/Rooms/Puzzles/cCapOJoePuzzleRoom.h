#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Puzzles/cLetterBoard.h"
#include "game/SpyGame/Rooms/Toolkit/cAnimatedLights.h"
#include "game/SpyGame/Rooms/Toolkit/cAnimatedLightsWave.h"
#include "game/SpyGame/Rooms/Toolkit/cMenu.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "game/SpyGame/Rooms/Toolkit/cSimpleTimer.h"
#include "tk2v/gfx/aGDI.h"

#include <set>
#include <string>
#include <vector>

class CInventory;

namespace GUI {
class EventArgs;
}

// A coin-operated word machine: a few hidden words share a theme, the seventh. The player drops coins
// and tokens into the slot, each paying for one letter picked from the row below; a picked letter
// shows wherever the words hold it, and every few letters found pay out a free coin. "SOLVE" lets the
// player type the theme at once. Uncovering the theme or typing it right wins: a ticket slides out.
class cCapOJoePuzzleRoom : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "CapOJoePuzzleRoom"; }

    cCapOJoePuzzleRoom();
    ~cCapOJoePuzzleRoom() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    void Leave() override;
    u32 FrameMove(f32 dt, bool paused) override;
    bool ProcessAutoActions() override;
    void HandleCursorItemInput(f32 dt) override;
    void HandleInput(f32 dt) override;
    void RenderItems() override;

protected:
    // One hidden word: what the board shows of it ("#" for each hidden letter), and the word.
    struct WordEntry {
        std::string display;
        std::string word;
    };
    // One game: a word per group, the letters shown for free at its start, and letters the start never
    // shows.
    struct WordTest {
        std::vector<WordEntry> words;
        std::string autoShow;
        std::string noStartLetters;
    };
    struct FoundMark {
        f32 x = 0, y = 0, age = 0;
    };
    // Coins are kept in the order of their numbers.
    struct CoinOrder {
        bool operator()(const CSpyItem* a, const CSpyItem* b) const;
    };

    static constexpr const char* CharsLine = "chars";

    // Reading room.ini.
    void ReadGroupNames();
    void ReadTests();
    void ReadOptions();
    void ReadLamps();
    void CloneCoins();
    void CloneLampItems();
    void BuildMenus();
    std::string Text(const std::string& id) const;

    // Rules of play.
    bool StartTest(i32 index);
    void OpenStartLetters(const WordTest& test);
    bool StartLetterLeft(const WordTest& test);
    bool OpenStartLetter(i32 index);
    bool OpenLetter(char letter, bool all);
    bool PickLetter(i32 index, bool& nothingFound, bool showMessage, bool markAlways);
    bool CheckSolved();
    void Win();
    void GiveBonusCoin();
    void CheckOutOfTokens();
    void ToggleSolutionMode();
    bool OnEnterSolution(const GUI::EventArgs& args);
    bool OnCancel(const GUI::EventArgs& args);
    bool OnShuffleTick(const GUI::EventArgs& args);
    bool OnShuffleFinished(const GUI::EventArgs& args);
    void OnCoinAccepted();
    void UpdateCounter();
    void UpdateGame(f32 dt);
    void UpdateTicket(f32 dt);
    void UpdateRollingCoin(f32 dt);
    void UpdateLamps();
    void SetLabels();
    void ShowMessageBox(CSpyItem* text);
    void JudgeTypedLetter(const cLetterBoard::Typed& typed);
    void HandleSolveButton();
    void PickFromRow();
    bool TakeCoin(CSpyItem& carried);
    void StartRolling(CSpyItem& drawn, CSpyItem* end);
    const u8* LoadTests(SaveLoadSystem& sys, const u8* pos);

    // Helpers.
    const WordTest* CurrentTest() const;
    CSpyItem* Find(const std::string& name);
    CSpyItem* RollingDrawn() const;
    bool MousePressed() const;
    void Play(const char* sound) const;
    void AddMark(const std::string& line, i32 cell);
    void Uncover(size_t word, size_t position);
    CInventory* Inventory() const;

    // From room.ini, looked up once.
    cRoomTransform m_Transform{&m_Origin, &m_Scale};
    std::vector<std::string> m_GroupNames;
    CSpyItem* m_pSolve = nullptr;
    CSpyItem* m_pSolvePushed = nullptr;
    CSpyItem* m_pSolveDisabled = nullptr;
    CSpyItem* m_pDisabledScreen = nullptr;
    CSpyItem* m_pTextBuyALetter = nullptr;
    CSpyItem* m_pTextWords = nullptr;
    CSpyItem* m_pTextCommonTheme = nullptr;
    CSpyItem* m_pTextTokenBonus = nullptr;
    CSpyItem* m_pText5FreeLetters = nullptr;
    CSpyItem* m_pTextOutOfTokens = nullptr;
    std::vector<CSpyItem*> m_SlotLampsLeft;
    std::vector<CSpyItem*> m_SlotLampsRight;
    std::vector<CSpyItem*> m_LampItems;

    // Play state, in record order.
    cLetterBoard m_Board;
    std::string m_Alphabet;
    i16 m_CurrentTest = -1;
    std::string m_SolutionLine;
    u16 m_FoundSinceBonus = 0;
    i32 m_TargetTest = -1;
    u16 m_LettersToPick = 0;
    u16 m_OpenAtStart = 0;
    u16 m_LettersPerCoin = 0;
    bool m_bSolutionMode = false;
    std::string m_SavedSolution;
    bool m_bWon = false;
    cSimpleTimer m_Timer;
    CSpyItem* m_pMoneyHole = nullptr;
    CSpyItem* m_pMoneyHoleLeft = nullptr;
    CSpyItem* m_pMoneyHoleRight = nullptr;
    CSpyItem* m_pRollingCoin = nullptr;
    bool m_bFromLeft = false;
    f32 m_MoneyHoleSpeed = 0;
    bool m_bGoingIn = false;
    std::set<CSpyItem*, CoinOrder> m_CoinPool;
    std::vector<CSpyItem*> m_CoinItems;
    CSpyItem* m_pTicket = nullptr;
    CSpyItem* m_pTicketHole = nullptr;
    f32 m_TicketHoleSpeed = 0;
    bool m_bTicketMoving = false;
    std::vector<FoundMark> m_FoundMarks;
    f32 m_FoundMarkTime = 0;
    cAnimatedLightsWave m_LightsLeft;
    cAnimatedLightsWave m_LightsRight;
    cAnimatedLights m_LightsSlot;
    cMenu m_SolutionMenu;
    SpyPoint m_ThemePos;
    SpyPoint m_ThemeBoardPos;
    cMenu m_MessageMenu;
    f32 m_LampRadius = 0;
    aGDI m_Gdi;
    CSpyItem* m_pMoneyItem = nullptr;
    CSpyItem* m_pCountInfo = nullptr;
    bool m_bOutOfTokens = false;
    bool m_bPausedCopy = false;
    std::vector<WordTest> m_Tests;
};
