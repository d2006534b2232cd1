#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Toolkit/cAnimHidingByColor.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"

#include <optional>
#include <vector>

// Sliding tiles on the lid of a box. The tiles ("CELL" row column, counted from 1) lie in a grid with
// one of them hidden as the gap; a tile next to the gap slides into it. Once every tile of
// "win_order" is home the box fades in and then shows its card.
class cPiatnashkiRoom : public CRoomBase {
public:
    using Grid = std::vector<std::vector<CSpyItem*>>;
    struct Cell {
        size_t row = 0;
        size_t col = 0;
    };

    static const char* GetClassStaticName() { return "PiatnashkiRoom"; }

    cPiatnashkiRoom();
    ~cPiatnashkiRoom() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    u32 FrameMove(f32 dt, bool paused) override;
    bool ProcessAutoActions() override;
    void HandleInput(f32 dt) override;

    // Mixes the current grid: rows x rows passes of random swaps, up to 25 times until the win tiles
    // lie in a layout it accepts.
    void Shuffle();

    const Grid& GetGrid() const { return m_Grid; }
    const Grid& GetHomeGrid() const { return m_HomeGrid; }
    const std::vector<CSpyItem*>& GetWinTiles() const { return m_WinTiles; }
    CSpyItem* GetLastHovered() const { return m_pLastHovered; }
    bool IsCardShown() const { return m_bCardShown; }
    bool IsBoxFading() const { return m_BoxFade.IsActive(); }

protected:
    static constexpr int ShuffleAttempts = 25;

    // Hides one tile that need not come home; false (logged) when the grid has none.
    bool ChooseGap();
    void ShufflePass();
    bool IsLayoutAccepted() const;
    // Exchanges the two cells' tiles and their places; a cell without a tile takes no part.
    void SwapCells(Cell a, Cell b);
    bool IsWinTile(const CSpyItem* tile) const;
    std::optional<Cell> FindCell(const CSpyItem* tile) const;
    // The neighbour holding the hidden tile: above, left, below, right.
    std::optional<Cell> GapNeighbour(Cell cell) const;
    CSpyItem* TileAt(size_t row, size_t col) const;
    CSpyItem* HomeAt(size_t row, size_t col) const;
    void CheckWin();
    bool OpenBox();
    void Play(const char* sound) const;

    // Where the room is drawn, for the fade.
    cRoomTransform m_Transform{&m_Origin, &m_Scale};

    // From room.ini.
    Grid m_HomeGrid;
    std::vector<CSpyItem*> m_WinTiles;
    CSpyItem* m_pBox = nullptr;
    CSpyItem* m_pCard = nullptr;

    // Play state, in record order.
    Grid m_Grid;
    CSpyItem* m_pLastHovered = nullptr;
    bool m_bCardShown = false;
    cAnimHidingByColor m_BoxFade{m_Transform};
};
