#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Toolkit/cEditBoxManager.h"
#include "game/SpyGame/Rooms/Toolkit/cMoveItemsManager.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "game/SpyGame/Rooms/Toolkit/cScreenInventaryPair.h"
#include "game/SpyGame/Rooms/Toolkit/cSimpleTimer.h"

#include <list>
#include <map>
#include <string>
#include <vector>

// The newspaper archive's microfiche reader: a table of film cells, a projector and a monitor. The
// player sorts the films into their cells (the missing ones come from their cards in the inventory),
// complete rows and columns flash and lock, then types a search into the monitor's two fields; a right
// search names the film to load, and the puzzle is won when that film lies in the projector.
class cMicrofichePuzzleRoom : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "MicrofichePuzzleRoom"; }

    cMicrofichePuzzleRoom();
    ~cMicrofichePuzzleRoom() override;

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
    bool OnClickUseItem() override;
    void RenderItems() override;

private:
    // Where a line's flash bar stands, in room units, and whether the line has flashed since it last
    // became complete.
    struct LinePosition {
        bool shown = false;
        f32 x = 0, y = 0;
    };

    void ReadOptions();
    void ReadTable();
    // The cell's place and catch area registered; the catch area returned.
    aRect ReadCell(i32 row, i32 col);
    void ReadKasesInfo();
    void ReadProector();
    std::string CellName(i32 row, i32 col) const;
    CSpyItem* Cell(i32 row, i32 col) const;
    // The first film of the table that bears the year name; null for none.
    CSpyItem* FilmOfYear(const std::string& year) const;
    const std::string* YearOf(const CSpyItem* film) const;

    bool HandleDrag(f32 dt);
    void MarkFilm(CSpyItem* film, bool lock);
    void EnableProjector(bool on);
    bool CheckSorted();
    void ShowLineFlash(std::vector<LinePosition>& positions, const std::vector<i32>& counters, i32 full,
                       bool rows);
    bool CheckAnswer(u8& almost) const;
    void ShowFailedSearch(bool almost);
    void OnTrueSearch();
    void OnFilmFound();
    void SetupFilms();
    // Every card in the inventory and known to the pairs; false when one of them is missing.
    bool HandOutCards();
    // The row keeps the film of the drawn column, locked; the others come back from their cards.
    CSpyItem* KeepOneFilm(i32 row, std::vector<bool>& drawn, const CSpyItem* winFilm);
    void LoadIntoProjector(CSpyItem* film);

    bool OnSubmit(const GUI::EventArgs&);
    bool OnFilmPut(const GUI::EventArgs&);
    bool OnFilmTaken(const GUI::EventArgs&);
    bool OnFlashTimer(const GUI::EventArgs&);

    // Read by AfterLoadInit.
    cRoomTransform m_Transform{&m_Origin, &m_Scale};
    std::vector<CSpyItem*> m_Cells;
    // Each cell's target as the moves manager holds it (null for a missing cell), so that a sort check
    // after every drop finds none by name.
    std::vector<const cMoveItemsManager::Target*> m_CellTargets;
    // The last sort check's finding per cell, kept to spare the check an allocation.
    std::vector<u8> m_CellsHome;
    std::map<const CSpyItem*, std::string> m_YearNames;
    CSpyItem* m_pMonitorOff = nullptr;

    // Saved, in record order.
    cEditBoxManager m_Boxes;
    CSpyItem* m_pResults = nullptr;
    CSpyItem* m_pSubmit = nullptr;
    std::vector<std::wstring> m_WrongResults;
    std::list<std::string> m_TrueAnswers;
    bool m_SearchSolved = false;
    bool m_NoSearchHintShown = false;
    i32 m_AlternativeSets = 0;
    std::string m_Prefix;
    i16 m_Rows = 0;
    i16 m_Cols = 0;
    std::list<CSpyItem*> m_LockedFilms;
    bool m_FilmsSorted = false;
    bool m_SortedAnnounced = false;
    bool m_SetupPending = true;
    CSpyItem* m_pRowFlash = nullptr;
    CSpyItem* m_pColFlash = nullptr;
    std::vector<LinePosition> m_RowFlashes;
    std::vector<LinePosition> m_ColFlashes;
    cSimpleTimer m_FlashTimer;
    cScreenInventaryPair m_Pairs;
    cMoveItemsManager m_Moves{m_Transform};
    CSpyItem* m_pTarget = nullptr;
    CSpyItem* m_pOpenFigure = nullptr;
    CSpyItem* m_pProjector = nullptr;
    CSpyItem* m_pYearLabel = nullptr;
    CSpyItem* m_pAnswerFilm = nullptr;
    std::string m_WinningYear;
    bool m_ProjectedRight = false;
    bool m_Found = false;
    CSpyItem* m_pFinalReport = nullptr;
};
