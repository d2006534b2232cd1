#include "game/SpyGame/Rooms/Puzzles/cPiatnashkiRoom.h"

#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Puzzles/cRecordReader.h"
#include "game/SpyGame/Rooms/Puzzles/cRecordWriter.h"
#include "game/SpyGame/Rooms/Toolkit/MouseState.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "tk2v/platform/Random.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

constexpr f32 BoxFadeTime = 1.0f;
constexpr u32 ClearWhite = 0x00FFFFFF;
constexpr u32 Opaque = 0xFFFFFFFF;

std::string TileName(const std::string& suffix) {
    return "CELL" + suffix;
}

} // namespace

cPiatnashkiRoom::cPiatnashkiRoom() {
    m_Propertys.SolveButtonShown = 1;
}

cPiatnashkiRoom::~cPiatnashkiRoom() = default;

void cPiatnashkiRoom::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    m_BoxFade.SetParams(BoxFadeTime, ClearWhite, Opaque);
    if (!due || !m_Ini.selectSection("Options"))
        return;
    const i32 rows = std::max(m_Ini.getInt("rows"), 0), cols = std::max(m_Ini.getInt("cols"), 0);
    m_HomeGrid.assign(size_t(rows), std::vector<CSpyItem*>(size_t(cols), nullptr));
    for (i32 r = 0; r < rows; ++r)
        for (i32 c = 0; c < cols; ++c) {
            const std::string name = TileName(DoubleToString(r + 1) + DoubleToString(c + 1));
            if (m_Items.HasItem(name))
                m_HomeGrid[size_t(r)][size_t(c)] = GetItem(name);
        }
    m_pBox = GetItem(m_Ini.getString("win_box"));
    m_pCard = GetItem(m_Ini.getString("win_card"));
    std::vector<std::string> order;
    m_Ini.getStringList(order, "win_order");
    m_WinTiles.clear();
    for (const std::string& suffix : order)
        m_WinTiles.push_back(GetItem(TileName(suffix)));
}

void cPiatnashkiRoom::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    m_BoxFade.Reset();
    m_bCardShown = false;
    m_Grid = m_HomeGrid;
    if (ChooseGap())
        Shuffle();
}

bool cPiatnashkiRoom::IsWinTile(const CSpyItem* tile) const {
    return tile && std::find(m_WinTiles.begin(), m_WinTiles.end(), tile) != m_WinTiles.end();
}

bool cPiatnashkiRoom::ChooseGap() {
    m_pLastHovered = nullptr;
    // Drawing on and on would never end when every tile must come home.
    const bool anyFree = std::any_of(m_Grid.begin(), m_Grid.end(), [&](const std::vector<CSpyItem*>& row) {
        return std::any_of(row.begin(), row.end(), [&](CSpyItem* t) { return t && !IsWinTile(t); });
    });
    if (!anyFree) {
        log("cPiatnashkiRoom. no tile outside win_order to leave out for the gap!");
        return false;
    }
    CSpyItem* tile = nullptr;
    while (!tile || IsWinTile(tile)) {
        m_pLastHovered = nullptr;
        const i32 row = platform::rand() % i32(m_Grid.size());
        const std::vector<CSpyItem*>& cells = m_Grid[size_t(row)];
        if (!cells.empty())
            tile = cells[size_t(platform::rand() % i32(cells.size()))];
    }
    tile->SetVisible(false);
    return true;
}

void cPiatnashkiRoom::Shuffle() {
    for (int attempt = 0; attempt < ShuffleAttempts; ++attempt) {
        ShufflePass();
        if (IsLayoutAccepted())
            return;
    }
}

void cPiatnashkiRoom::ShufflePass() {
    const size_t rows = m_Grid.size();
    for (size_t pass = 0; pass < rows * rows; ++pass)
        for (size_t i = 0; i < rows; ++i)
            for (size_t j = 0; j < m_Grid[i].size(); ++j) {
                const i32 r1 = platform::rand() % i32(rows);
                const i32 cells = i32(m_Grid[size_t(r1)].size());
                // A row with no cell, or with its one cell at index r1, has nothing else to draw.
                if (cells == 0 || (cells == 1 && r1 == 0))
                    continue;
                i32 r2 = platform::rand() % cells;
                while (r2 == r1)
                    r2 = platform::rand() % cells;
                SwapCells({i, j}, {size_t(r1), size_t(r2)});
            }
}

bool cPiatnashkiRoom::IsLayoutAccepted() const {
    std::vector<Cell> seen;
    for (size_t r = 0; r < m_Grid.size(); ++r)
        for (size_t c = 0; c < m_Grid[r].size(); ++c) {
            if (!IsWinTile(m_Grid[r][c]))
                continue;
            const bool shares = std::any_of(seen.begin(), seen.end(),
                                            [&](const Cell& s) { return s.row == r || s.col == c; });
            if (shares)
                return seen.size() + 1 >= m_WinTiles.size();
            seen.push_back({r, c});
        }
    return true;
}

void cPiatnashkiRoom::SwapCells(Cell a, Cell b) {
    CSpyItem*& first = m_Grid[a.row][a.col];
    CSpyItem*& second = m_Grid[b.row][b.col];
    if (!first || !second)
        return;
    const SpyPoint at = first->GetPos();
    const SpyPoint other = second->GetPos();
    first->SetPos(other.x, other.y);
    second->SetPos(at.x, at.y);
    std::swap(first, second);
}

CSpyItem* cPiatnashkiRoom::TileAt(size_t row, size_t col) const {
    return row < m_Grid.size() && col < m_Grid[row].size() ? m_Grid[row][col] : nullptr;
}

CSpyItem* cPiatnashkiRoom::HomeAt(size_t row, size_t col) const {
    return row < m_HomeGrid.size() && col < m_HomeGrid[row].size() ? m_HomeGrid[row][col] : nullptr;
}

std::optional<cPiatnashkiRoom::Cell> cPiatnashkiRoom::FindCell(const CSpyItem* tile) const {
    for (size_t r = 0; r < m_Grid.size(); ++r)
        for (size_t c = 0; c < m_Grid[r].size(); ++c)
            if (m_Grid[r][c] == tile)
                return Cell{r, c};
    return std::nullopt;
}

std::optional<cPiatnashkiRoom::Cell> cPiatnashkiRoom::GapNeighbour(Cell cell) const {
    const size_t r = cell.row, c = cell.col;
    std::vector<Cell> around;
    if (r > 0)
        around.push_back({r - 1, c});
    if (c > 0)
        around.push_back({r, c - 1});
    around.push_back({r + 1, c});
    around.push_back({r, c + 1});
    for (const Cell& n : around)
        if (const CSpyItem* tile = TileAt(n.row, n.col); tile && !tile->IsVisible())
            return n;
    return std::nullopt;
}

void cPiatnashkiRoom::HandleInput(f32 dt) {
    CRoomBase::HandleInput(dt);
    if (m_BoxFade.IsActive() || !m_pItemUnderCursor)
        return;
    const bool pressed = LeftButtonState() == KEY_PRESSED;
    if (m_pItemUnderCursor == m_pLastHovered && !pressed)
        return;
    m_pLastHovered = m_pItemUnderCursor;
    const std::optional<Cell> cell = FindCell(m_pItemUnderCursor);
    if (!cell)
        return;
    const std::optional<Cell> gap = GapNeighbour(*cell);
    m_pItemUnderCursor->SetHighlightOnMouseHover(gap.has_value());
    if (!pressed || !gap)
        return;
    SwapCells(*cell, *gap);
    Play("heartbox_figure_move");
    CheckWin();
}

void cPiatnashkiRoom::CheckWin() {
    for (size_t r = 0; r < m_Grid.size(); ++r)
        for (size_t c = 0; c < m_Grid[r].size(); ++c)
            if (IsWinTile(m_Grid[r][c]) && m_Grid[r][c] != HomeAt(r, c))
                return;
    OpenBox();
}

bool cPiatnashkiRoom::OpenBox() {
    if (!m_pBox || m_pBox->IsVisible())
        return false;
    m_pBox->SetVisible(true);
    m_BoxFade.Clear();
    m_BoxFade.AddItem(m_pBox);
    m_BoxFade.Start();
    Play("heartbox_open");
    return true;
}

void cPiatnashkiRoom::Play(const char* sound) const {
    if (aSound* found = GetSound(sound))
        found->play(false, aSound::KEEP_VOLUME, aSound::KEEP_PAN);
}

u32 cPiatnashkiRoom::FrameMove(f32 dt, bool paused) {
    m_BoxFade.Update(dt);
    if (!m_bCardShown && m_pBox && m_pBox->IsVisible() && !m_BoxFade.IsActive()) {
        if (m_pCard)
            m_pCard->SetVisible(true);
        m_bCardShown = true;
    }
    return CRoomBase::FrameMove(dt, paused);
}

bool cPiatnashkiRoom::ProcessAutoActions() {
    return OpenBox();
}

u8* cPiatnashkiRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    cRecordWriter out(sys, CRoomBase::SaveSelf(sys, pos));
    out.put(u32(m_Grid.size()));
    for (const std::vector<CSpyItem*>& row : m_Grid) {
        out.put(u32(row.size()));
        for (const CSpyItem* tile : row)
            out.ref(tile);
    }
    out.ref(m_pLastHovered).put(u8(m_bCardShown));
    return out.part([&](SaveLoadSystem& s, u8* p) { return m_BoxFade.SaveSelf(s, p); }).pos();
}

const u8* cPiatnashkiRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = CRoomBase::LoadSelf(sys, pos);
    if (!m_pRoomsManager)
        return pos;
    cRecordReader in("cPiatnashkiRoom::LoadSelf()", m_pRoomsManager, sys, pos);
    u32 rows = 0;
    if (in.count(rows, 4, "tile rows")) {
        m_Grid.assign(rows, {});
        for (std::vector<CSpyItem*>& row : m_Grid) {
            u32 cells = 0;
            if (!in.count(cells, 1, "tiles"))
                break;
            row.assign(cells, nullptr);
            for (CSpyItem*& tile : row)
                in.ref(tile);
        }
    }
    u8 cardShown = 0;
    in.ref(m_pLastHovered).get(cardShown);
    m_bCardShown = cardShown != 0;
    CRoomItemLookup& rooms = *m_pRoomsManager;
    in.part([&](SaveLoadSystem& s, const u8* p) { return m_BoxFade.LoadSelf(rooms, s, p); });
    return in.pos();
}
