#include "game/SpyGame/Rooms/Puzzles/cMicrofichePuzzleRoom.h"

#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Puzzles/LabRoomData.h"
#include "game/SpyGame/Rooms/Toolkit/MouseState.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "game/SpyGame/SaveCounts.h"
#include "game/SpyGame/StringListField.h"
#include "game/SpyGame/WideTextField.h"
#include "tk2v/platform/Random.h"
#include "tk2v/util/log.h"
#include "tk2v/util/str.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const Owner = "cMicrofichePuzzleRoom";
const std::string Target = "TARGET";
const std::string CardRoom = "room_ChronicleOffice:";
constexpr u32 LockedColor = 0xFFC0C0C0;
// Cell names join one-digit row and column numbers; a larger table is data gone wrong.
constexpr i32 MaxLines = 9;
// More texts than a search screen could ever show.
constexpr i32 MaxTexts = 1000;
// More result lines than a results area could ever show.
constexpr i32 MaxResultLines = 500;

} // namespace

cMicrofichePuzzleRoom::cMicrofichePuzzleRoom() {
    m_Propertys.SolveButtonShown = true;
}

cMicrofichePuzzleRoom::~cMicrofichePuzzleRoom() = default;

std::string cMicrofichePuzzleRoom::CellName(i32 row, i32 col) const {
    return m_Prefix + DoubleToString(row) + DoubleToString(col);
}

CSpyItem* cMicrofichePuzzleRoom::Cell(i32 row, i32 col) const {
    const size_t index = size_t(row - 1) * size_t(m_Cols) + size_t(col - 1);
    return index < m_Cells.size() ? m_Cells[index] : nullptr;
}

const std::string* cMicrofichePuzzleRoom::YearOf(const CSpyItem* film) const {
    const auto it = m_YearNames.find(film);
    return it == m_YearNames.end() ? nullptr : &it->second;
}

CSpyItem* cMicrofichePuzzleRoom::FilmOfYear(const std::string& year) const {
    const auto film = std::find_if(m_Cells.begin(), m_Cells.end(), [&](const CSpyItem* cell) {
        const std::string* name = YearOf(cell);
        return name && *name == year;
    });
    return film == m_Cells.end() ? nullptr : *film;
}

void cMicrofichePuzzleRoom::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (!due)
        return;
    for (const char* name : {"EDITBOX1", "EDITBOX2"})
        if (CSpyItem* item = GetItem(name))
            m_Boxes.AddEditBox(item, true)->SetCaretColor(0xFF000000);
    m_Boxes.SetSound(GetSound("microfiche_type_symbol"));
    m_pResults = GetItem("RESULTS");
    m_pSubmit = GetItem("BTN_SUBMIT");
    m_AlternativeSets = 0;
    if (m_Ini.selectSection("Options"))
        ReadOptions();
    m_Boxes.SetOnEnter(MakeHandler(this, &cMicrofichePuzzleRoom::OnSubmit));
    m_pColFlash = GetItem("FLASH_VERT");
    m_pRowFlash = GetItem("FLASH_HORIZ");
    for (CSpyItem* bar : {m_pColFlash, m_pRowFlash})
        if (bar)
            bar->Reset();
    m_Moves.SetOnPut(MakeHandler(this, &cMicrofichePuzzleRoom::OnFilmPut));
    m_Moves.SetOnTake(MakeHandler(this, &cMicrofichePuzzleRoom::OnFilmTaken));
    if (m_Ini.selectSection("Table")) {
        ReadTable();
        m_FlashTimer.SetTime(ReadSeconds(m_Ini, "timer", Owner), 0);
    }
    m_FlashTimer.SetOnFinish(MakeHandler(this, &cMicrofichePuzzleRoom::OnFlashTimer));
    if (m_Ini.selectSection("KasesInfo"))
        ReadKasesInfo();
    if (m_Ini.selectSection("Proector"))
        ReadProector();
    m_pMonitorOff = GetItem("MONIK_OFF");
    m_pProjector = GetItem("PROECTOR");
    m_pTarget = GetItem(Target);
    m_pOpenFigure = GetItem("FIGURE_OPEN");
    m_pYearLabel = GetItem("YEAR_NAME");
    for (CSpyItem* item : {m_pProjector, m_pTarget})
        if (item)
            item->Reset();
    if (m_pTarget)
        m_Moves.AddRect(Target, GetItemRect(m_pTarget), GetItemRect(m_pProjector));
    // Every target is added: the places stay put from here on.
    m_CellTargets.clear();
    for (const CSpyItem* cell : m_Cells)
        m_CellTargets.push_back(cell ? m_Moves.GetTarget(cell->GetName()) : nullptr);
}

void cMicrofichePuzzleRoom::ReadOptions() {
    const i32 wrong = ClampCount(m_Ini.getInt("answerscount"), MaxTexts, "answerscount", Owner);
    const i32 right = ClampCount(m_Ini.getInt("trueanswerscount"), MaxTexts, "trueanswerscount", Owner);
    if (m_Ini.hasKey("nExAnswers"))
        m_AlternativeSets = ClampCount(m_Ini.getInt("nExAnswers"), MaxTexts, "nExAnswers", Owner);
    m_WrongResults.clear();
    for (i32 i = 1; i <= wrong; ++i)
        m_WrongResults.push_back(m_pResManager->GetString("ANSWER" + DoubleToString(i), m_Name));
    m_TrueAnswers.clear();
    for (i32 i = 1; i <= right; ++i)
        m_TrueAnswers.push_back(
            str_toString(m_pResManager->GetString("TRUE_ANSWER" + DoubleToString(i), m_Name)));
}

void cMicrofichePuzzleRoom::ReadTable() {
    m_Prefix = m_Ini.getString("preffix");
    m_Rows = i16(ClampCount(m_Ini.getInt("rows"), MaxLines, "rows", Owner));
    m_Cols = i16(ClampCount(m_Ini.getInt("cols"), MaxLines, "cols", Owner));
    m_Cells.clear();
    m_RowFlashes.clear();
    m_ColFlashes.clear();
    const f32 barX = m_pRowFlash ? m_pRowFlash->GetPos().x : 0;
    const f32 barY = m_pColFlash ? m_pColFlash->GetPos().y : 0;
    f32 firstY = 0;
    for (i32 r = 1; r <= m_Rows; ++r)
        for (i32 c = 1; c <= m_Cols; ++c) {
            const aRect area = ReadCell(r, c);
            if (r == 1 && c == 1)
                firstY = area.y;
            // Each row's bar stands as far from the row as the column bar stands from the first row.
            if (c == 1)
                m_RowFlashes.push_back({false, barX, f32(area.y) + (barY - firstY)});
            if (r == 1)
                m_ColFlashes.push_back({false, f32(area.x), barY});
        }
}

aRect cMicrofichePuzzleRoom::ReadCell(i32 row, i32 col) {
    CSpyItem* cell = GetItem(CellName(row, col));
    // A missing cell keeps its place in the table and is never sorted.
    m_Cells.push_back(cell);
    if (cell)
        cell->Reset();
    const aRect place = GetItemRect(cell);
    // A drop counts a little left of the cell and up to a cell's height above it.
    const aRect area{i16(place.x - place.w / 5), i16(place.y - place.h), u16(place.w + place.w / 5),
                     u16(place.h * 2)};
    if (cell) {
        m_Moves.AddItem(cell, false, true);
        m_Moves.AddRect(cell->GetName(), place, area);
    }
    return area;
}

void cMicrofichePuzzleRoom::ReadKasesInfo() {
    for (CSpyItem* cell : m_Cells) {
        if (!cell || !m_Ini.hasKey(cell->GetName()))
            continue;
        m_Pairs.GetScreenObjects()[cell->GetName()] = cell;
        m_Pairs.AddPair(cell->GetName(), m_Ini.getString(cell->GetName()));
    }
    if (m_Pairs.GetScreenToInventory().size() != m_Pairs.GetInventoryToScreen().size())
        log("cMicrofichePuzzleRoom. identical names in screen or inventary!");
}

void cMicrofichePuzzleRoom::ReadProector() {
    m_YearNames.clear();
    for (i32 k = 1; m_Ini.hasKey("lineYearNames" + DoubleToString(k)); ++k) {
        std::vector<std::string> years;
        m_Ini.getStringList(years, "lineYearNames" + DoubleToString(k));
        for (size_t j = 0; j < years.size(); ++j)
            if (k <= m_Rows && i32(j) < m_Cols)
                if (CSpyItem* film = Cell(k, i32(j) + 1))
                    m_YearNames[film] = years[j];
    }
    m_WinningYear = m_Ini.getString("windata");
    m_pFinalReport = GetItem(m_Ini.getString("finalReport"));
}

void cMicrofichePuzzleRoom::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    m_Boxes.Reset();
    m_SearchSolved = m_NoSearchHintShown = m_FilmsSorted = m_SortedAnnounced = false;
    m_ProjectedRight = m_Found = false;
    m_pAnswerFilm = nullptr;
    m_Moves.Reset();
    EnableProjector(false);
    m_SetupPending = true;
    if (m_pSubmit)
        m_pSubmit->SetDisabled(true);
}

void cMicrofichePuzzleRoom::Enter(const std::string& entryName, CSpyItem* entryItem) {
    CRoomBase::Enter(entryName, entryItem);
    CPersonage* personage = CurrentPersonage();
    if (m_SetupPending && personage && m_pPersonagesManager &&
        personage == m_pPersonagesManager->GetPersonage("Rusca")) {
        m_SetupPending = false;
        SetupFilms();
    }
}

u32 cMicrofichePuzzleRoom::FrameMove(f32 dt, bool paused) {
    if (m_SortedAnnounced && !m_SearchSolved)
        m_Boxes.Update(dt);
    return CRoomBase::FrameMove(dt, paused);
}

void cMicrofichePuzzleRoom::RenderItems() {
    CRoomBase::RenderItems();
    m_Boxes.Render();
    m_Moves.Render(nullptr);
}

void cMicrofichePuzzleRoom::HandleInput(f32 dt) {
    if (HandleDrag(dt))
        return;
    if (LeftButtonState() == KEY_PRESSED) {
        const std::pair<i32, i32> mouse = MousePosition();
        const bool overLocked = std::any_of(m_LockedFilms.begin(), m_LockedFilms.end(), [&](CSpyItem* film) {
            return GetItemRect(film).contains(i16(mouse.first), i16(mouse.second));
        });
        if (overLocked)
            ShowMessage("MSG_NOCANUSE");
    }
    CRoomBase::HandleInput(dt);
}

void cMicrofichePuzzleRoom::HandleCursorItemInput(f32 dt) {
    if (!HandleDrag(dt))
        CRoomBase::HandleCursorItemInput(dt);
}

bool cMicrofichePuzzleRoom::OnClickUseItem() {
    m_Boxes.SelectByItem(m_pItemUnderCursor);
    if (m_pItemUnderCursor && m_pItemUnderCursor == m_pSubmit)
        OnSubmit({});
    return CRoomBase::OnClickUseItem();
}

void cMicrofichePuzzleRoom::SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                                            std::optional<SpyPoint> grabOffset) {
    if (!item) {
        m_Moves.ClearLastMove();
        CRoomBase::SetItemOnCursor(nullptr, roomForm, grabOffset);
        return;
    }
    // A film travels as its card, drawn as the film over the room.
    if (CSpyItem* card = m_Pairs.GetInventoryObject(item->GetName())) {
        item->SetInInventory(true);
        CRoomBase::SetItemOnCursor(card, item, grabOffset);
    } else if (CSpyItem* film = m_Pairs.GetScreenObject(item->GetName())) {
        film->SetInInventory(true);
        CRoomBase::SetItemOnCursor(item, film, grabOffset);
    } else {
        CRoomBase::SetItemOnCursor(item, roomForm, grabOffset);
    }
}

bool cMicrofichePuzzleRoom::HandleDrag(f32 dt) {
    m_FlashTimer.Update(dt);
    if (m_Found)
        return true;
    CSpyItem* held = nullptr;
    if (m_pCursorItem) {
        held = m_Pairs.GetScreenObject(m_pCursorItem->GetName());
        if (!held)
            return false;
    }
    CSpyItem* next = m_Moves.ProcessMouse(dt, held, m_pItemUnderCursor);
    if (next == held)
        return false;
    SetItemOnCursor(next, nullptr);
    return true;
}

void cMicrofichePuzzleRoom::MarkFilm(CSpyItem* film, bool lock) {
    if (!film)
        return;
    if (film == m_pAnswerFilm)
        lock = false;
    film->SetDisabled(lock);
    film->SetColor(lock ? LockedColor : film->GetOrigColor());
    m_Moves.SetItemEnabled(film, !lock);
    const auto at = std::find(m_LockedFilms.begin(), m_LockedFilms.end(), film);
    if (lock && at == m_LockedFilms.end())
        m_LockedFilms.push_back(film);
    else if (!lock && at != m_LockedFilms.end())
        m_LockedFilms.erase(at);
}

void cMicrofichePuzzleRoom::EnableProjector(bool on) {
    m_Moves.SetRectEnabled(Target, on);
    for (CSpyItem* item : {m_pTarget, m_pProjector})
        if (item)
            item->SetDisabled(!on);
}

bool cMicrofichePuzzleRoom::CheckSorted() {
    std::vector<i32> colCounters(size_t(m_Cols), 0), rowCounters(size_t(m_Rows), 0);
    m_Moves.AreItemsInPlaces(m_Cells, m_CellTargets, m_CellsHome);
    bool sorted = true;
    size_t i = 0;
    for (i32& rowCounter : rowCounters)
        for (i32& colCounter : colCounters) {
            const bool home = i < m_CellsHome.size() && m_CellsHome[i];
            rowCounter += home;
            colCounter += home;
            sorted = sorted && home;
            ++i;
        }
    ShowLineFlash(m_ColFlashes, colCounters, m_Rows, false);
    ShowLineFlash(m_RowFlashes, rowCounters, m_Cols, true);
    return sorted;
}

void cMicrofichePuzzleRoom::ShowLineFlash(std::vector<LinePosition>& positions,
                                          const std::vector<i32>& counters, i32 full, bool rows) {
    CSpyItem* bar = rows ? m_pRowFlash : m_pColFlash;
    const size_t lines = std::min(positions.size(), counters.size());
    for (size_t i = 1; i <= lines; ++i) {
        LinePosition& line = positions[i - 1];
        if (counters[i - 1] < full) {
            line.shown = false;
            continue;
        }
        if (!line.shown) {
            if (bar) {
                const SpyPoint at = m_Transform.LocalToScreen(line.x, line.y);
                bar->SetPos(at.x, at.y);
                bar->SetVisible(true);
            }
            m_FlashTimer.Start();
            const i32 across = rows ? m_Cols : m_Rows;
            for (i32 k = 1; k <= across; ++k)
                MarkFilm(rows ? Cell(i32(i), k) : Cell(k, i32(i)), true);
        }
        line.shown = true;
    }
}

bool cMicrofichePuzzleRoom::OnFlashTimer(const GUI::EventArgs&) {
    for (CSpyItem* bar : {m_pRowFlash, m_pColFlash})
        if (bar)
            bar->SetVisible(false);
    return true;
}

bool cMicrofichePuzzleRoom::OnFilmPut(const GUI::EventArgs&) {
    m_FilmsSorted = CheckSorted();
    if (!m_SortedAnnounced && m_FilmsSorted) {
        m_SortedAnnounced = true;
        if (m_pSubmit)
            m_pSubmit->SetDisabled(false);
        if (m_pMonitorOff)
            m_pMonitorOff->SetVisible(false);
        ShowMessage("MSG_FILMSSORTED");
    }
    m_ProjectedRight = false;
    std::string target;
    if (m_Moves.GetDragState().rectName == Target)
        target = Target;
    else if (!m_Moves.GetLastMoved()) {
        PlayRoomSound(*this, "microfiche_put");
        return false;
    } else {
        target = m_Moves.GetRectOfItem(m_Moves.GetLastMoved());
    }
    if (target != Target) {
        PlayRoomSound(*this, "microfiche_put");
        return true;
    }
    PlayRoomSound(*this, "microfiche_charging");
    if (m_pOpenFigure)
        m_pOpenFigure->SetVisible(true);
    const std::string* year = YearOf(m_Moves.GetItemInRect(Target));
    if (m_pYearLabel)
        m_pYearLabel->SetText(str_toWString(year ? *year : std::string()));
    // A film without a year name is never the one sought, even when the data names no year.
    m_ProjectedRight = year && *year == m_WinningYear;
    if (m_SetupPending)
        return true;
    if (m_SearchSolved && m_ProjectedRight)
        OnFilmFound();
    if (!m_SearchSolved && !m_NoSearchHintShown) {
        ShowMessage("MSG_NOFILMSEARCH");
        m_NoSearchHintShown = true;
    }
    return true;
}

bool cMicrofichePuzzleRoom::OnFilmTaken(const GUI::EventArgs&) {
    if (!m_Moves.GetItemInRect(Target)) {
        if (m_pYearLabel)
            m_pYearLabel->SetText(L"");
        m_ProjectedRight = false;
        if (m_pOpenFigure)
            m_pOpenFigure->SetVisible(false);
    }
    PlayRoomSound(*this, "microfiche_get");
    CheckSorted();
    return true;
}

bool cMicrofichePuzzleRoom::OnSubmit(const GUI::EventArgs&) {
    u8 almost = 0;
    m_SearchSolved = CheckAnswer(almost);
    if (!m_SearchSolved) {
        ShowFailedSearch(almost != 0);
        return true;
    }
    if (m_pSubmit)
        m_pSubmit->SetDisabled(true);
    OnTrueSearch();
    return true;
}

bool cMicrofichePuzzleRoom::CheckAnswer(u8& almost) const {
    std::list<std::string> texts;
    for (const cEditBox& box : m_Boxes.GetBoxes())
        texts.push_back(box.GetText());
    if (MatchAnswer(texts, m_TrueAnswers, nullptr, &almost))
        return true;
    for (i32 k = 1; k <= m_AlternativeSets; ++k) {
        std::list<std::string> words;
        for (const char* stem : {"TRUE_ANSWER1_", "TRUE_ANSWER2_"}) {
            std::string word = str_toString(m_pResManager->GetString(stem + DoubleToString(k), m_Name));
            if (!word.empty())
                words.push_back(std::move(word));
        }
        // A set whose texts are all missing would take any search at all.
        if (!words.empty() && MatchAnswer(texts, words, nullptr, &almost))
            return true;
    }
    return false;
}

void cMicrofichePuzzleRoom::ShowFailedSearch(bool almost) {
    const f32 lineHeight = TextLineHeight(m_pResults);
    i32 lines = 0;
    if (m_pResults && lineHeight > 0)
        lines = i32(std::min(f32(m_pResults->GetHeight()) / lineHeight + 0.555f, f32(MaxResultLines)));
    std::wstring text;
    const size_t count = m_WrongResults.size();
    size_t previous = count;
    // One result more than the area holds, no two neighbours alike.
    for (i32 line = 0; count > 0 && line <= lines; ++line) {
        size_t drawn = size_t(platform::rand()) % count;
        while (count > 1 && drawn == previous)
            drawn = size_t(platform::rand()) % count;
        text += m_WrongResults[drawn] + L"\n";
        previous = drawn;
    }
    if (m_pResults)
        m_pResults->SetText(text);
    ShowMessage(almost ? "MSG_ANSWERALMOSTTRUE" : "MSG_FAILDSEARCH");
}

void cMicrofichePuzzleRoom::OnTrueSearch() {
    if (m_pResults)
        m_pResults->SetText(m_pResManager->GetString("TRUE_ANSWER", m_Name));
    ShowMessage(m_FilmsSorted ? "MSG_TRUESEARCHFILMSSORTED" : "MSG_NOFILMSSORTED");
    m_pAnswerFilm = FilmOfYear(m_WinningYear);
    MarkFilm(m_pAnswerFilm, false);
    if (m_SortedAnnounced)
        EnableProjector(true);
    if (m_ProjectedRight)
        OnFilmFound();
}

void cMicrofichePuzzleRoom::OnFilmFound() {
    if (m_Found)
        return;
    ShowMessage("MSG_FINDFILM");
    if (m_pFinalReport)
        m_pFinalReport->SetVisible(true);
    m_Found = true;
    if (CPersonage* personage = CurrentPersonage())
        for (const auto& [card, film] : m_Pairs.GetInventoryToScreen())
            personage->GetInventory().RemoveItem(card);
}

bool cMicrofichePuzzleRoom::HandOutCards() {
    CInventory& inventory = CurrentPersonage()->GetInventory();
    for (const auto& [card, film] : m_Pairs.GetInventoryToScreen()) {
        CSpyItem* item = inventory.FindItem(card);
        if (!item && m_pRoomsManager && (item = m_pRoomsManager->GetItemByFullName(CardRoom + card)))
            inventory.AddItem(item);
        if (!item)
            return false;
        m_Pairs.GetInventoryObjects()[card] = item;
    }
    return true;
}

void cMicrofichePuzzleRoom::SetupFilms() {
    if (!HandOutCards()) {
        // Tried again at the next entry; until then the films the cards bring stay away.
        m_SetupPending = true;
        const CInventory& inventory = CurrentPersonage()->GetInventory();
        for (const auto& [card, film] : m_Pairs.GetInventoryToScreen())
            if (CSpyItem* item = m_Pairs.GetScreenObject(card); item && inventory.HasItem(card))
                item->SetVisible(false);
        return;
    }
    m_LockedFilms.clear();
    const CSpyItem* winFilm = FilmOfYear(m_WinningYear);
    i32 answerRow = 0;
    if (winFilm) {
        std::string name = winFilm->GetName();
        answerRow = CutTrailingNumber(name) / 10;
    }
    // The answer row takes its film first, in row 1's turn.
    std::vector<i32> order;
    for (i32 r = 1; r <= m_Rows; ++r)
        order.push_back(r == 1 && answerRow > 1 && answerRow <= m_Rows ? answerRow
                        : r == answerRow && r > 1                      ? 1
                                                                       : r);
    std::vector<bool> drawn(size_t(m_Cols) + 1, false);
    std::vector<CSpyItem*> kept;
    for (i32 row : order)
        if (CSpyItem* film = KeepOneFilm(row, drawn, winFilm))
            kept.push_back(film);
    if (!kept.empty())
        LoadIntoProjector(kept[size_t(platform::rand()) % kept.size()]);
}

CSpyItem* cMicrofichePuzzleRoom::KeepOneFilm(i32 row, std::vector<bool>& drawn, const CSpyItem* winFilm) {
    // Every row keeps a column of its own, never the one holding the film sought.
    std::vector<i32> allowed;
    for (i32 c = 1; c <= m_Cols; ++c)
        if (!drawn[size_t(c)] && Cell(row, c) && Cell(row, c) != winFilm)
            allowed.push_back(c);
    const i32 keep = allowed.empty() ? 0 : allowed[size_t(platform::rand()) % allowed.size()];
    drawn[size_t(keep)] = keep != 0;
    CInventory& inventory = CurrentPersonage()->GetInventory();
    for (i32 c = 1; c <= m_Cols; ++c) {
        CSpyItem* film = Cell(row, c);
        if (!film)
            continue;
        if (c == keep) {
            MarkFilm(film, true);
            if (CSpyItem* card = m_Pairs.GetInventoryObject(film->GetName())) {
                inventory.RemoveItem(card->GetName());
                card->SetInInventory(false);
                card->SetVisible(false);
            }
            continue;
        }
        MarkFilm(film, false);
        film->SetVisible(false);
        film->SetPos(0.0f, 0.0f);
    }
    return keep ? Cell(row, keep) : nullptr;
}

void cMicrofichePuzzleRoom::LoadIntoProjector(CSpyItem* film) {
    MarkFilm(film, false);
    if (m_pTarget) {
        const SpyPoint at = m_pTarget->GetPos();
        film->SetPos(at.x, at.y);
    }
    m_Moves.GetDragState().rectName = Target;
    OnFilmPut({});
}

bool cMicrofichePuzzleRoom::ProcessAutoActions() {
    if (m_Found)
        return false;
    EnableProjector(true);
    if (m_pSubmit)
        m_pSubmit->SetDisabled(false);
    if (m_pMonitorOff)
        m_pMonitorOff->SetVisible(false);
    ShowMessage("MSG_FILMSSORTED");
    std::list<CSpyItem*> films;
    m_Moves.GetItems(films);
    for (CSpyItem* film : films) {
        const SpyPoint home = film->GetOrigPos();
        const SpyPoint at = m_Transform.LocalToScreen(home.x, home.y);
        film->SetInInventory(false);
        film->SetPos(at.x, at.y);
        film->SetVisible(true);
        MarkFilm(film, true);
    }
    if (m_pYearLabel)
        m_pYearLabel->SetText(str_toWString(m_WinningYear));
    if (CSpyItem* film = FilmOfYear(m_WinningYear); film && m_pTarget) {
        m_pTarget->SetDisabled(false);
        m_pTarget->SetColor(m_pTarget->GetOrigColor());
        m_pTarget->SetVisible(true);
        const SpyPoint at = m_pTarget->GetPos();
        film->SetPos(at.x, at.y);
        if (m_pOpenFigure)
            m_pOpenFigure->SetVisible(true);
    }
    OnFilmFound();
    return true;
}

u8* cMicrofichePuzzleRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = CRoomBase::SaveSelf(sys, pos);
    pos = m_Boxes.SaveSelf(sys, pos);
    pos = SaveItemRef(sys, pos, m_pResults);
    pos = SaveItemRef(sys, pos, m_pSubmit);
    pos = sys.writeU32(pos, u32(m_WrongResults.size()));
    for (const std::wstring& text : m_WrongResults)
        pos = SaveWideText(sys, pos, text);
    pos = SaveStringList(sys, pos, m_TrueAnswers);
    pos = sys.writeBool(pos, m_SearchSolved);
    pos = sys.writeBool(pos, m_NoSearchHintShown);
    pos = sys.writeU32(pos, u32(m_AlternativeSets));
    pos = sys.writeString(pos, m_Prefix);
    pos = sys.writeU16(pos, u16(m_Rows));
    pos = sys.writeU16(pos, u16(m_Cols));
    pos = SaveItemRefList(sys, pos, m_LockedFilms);
    for (bool flag : {m_FilmsSorted, m_SortedAnnounced, m_SetupPending})
        pos = sys.writeBool(pos, flag);
    pos = SaveItemRef(sys, pos, m_pRowFlash);
    pos = SaveItemRef(sys, pos, m_pColFlash);
    for (const std::vector<LinePosition>* lines : {&m_RowFlashes, &m_ColFlashes}) {
        pos = sys.writeU32(pos, u32(lines->size()));
        for (const LinePosition& line : *lines)
            pos = sys.writeF32(sys.writeF32(sys.writeBool(pos, line.shown), line.x), line.y);
    }
    pos = m_FlashTimer.SaveSelf(sys, pos);
    pos = m_Pairs.SaveSelf(sys, pos);
    pos = m_Moves.SaveSelf(sys, pos);
    for (const CSpyItem* item : {m_pTarget, m_pOpenFigure, m_pProjector, m_pYearLabel, m_pAnswerFilm})
        pos = SaveItemRef(sys, pos, item);
    pos = sys.writeString(pos, m_WinningYear);
    pos = sys.writeBool(sys.writeBool(pos, m_ProjectedRight), m_Found);
    return SaveItemRef(sys, pos, m_pFinalReport);
}

const u8* cMicrofichePuzzleRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    CRoomItemLookup& rooms = RecordLookup(m_pRoomsManager);
    pos = CRoomBase::LoadSelf(sys, pos);
    pos = m_Boxes.LoadSelf(rooms, sys, pos);
    pos = LoadItemRef(rooms, sys, pos, m_pResults);
    pos = LoadItemRef(rooms, sys, pos, m_pSubmit);
    u32 count = 0;
    pos = sys.readU32(pos, count);
    m_WrongResults.clear();
    if (!countFits(sys, pos, count, 2, "cMicrofichePuzzleRoom::LoadSelf()"))
        pos += sys.bytesLeftInRecord(pos);
    else
        for (m_WrongResults.resize(count); std::wstring & text : m_WrongResults)
            pos = LoadWideText(sys, pos, text);
    pos = LoadStringList(sys, pos, m_TrueAnswers);
    pos = sys.readBool(pos, m_SearchSolved);
    pos = sys.readBool(pos, m_NoSearchHintShown);
    pos = sys.readI32(pos, m_AlternativeSets);
    pos = sys.readString(pos, m_Prefix);
    u16 rows = 0, cols = 0;
    pos = sys.readU16(sys.readU16(pos, rows), cols);
    // A damaged record's table size would size the line counters from a negative or huge count.
    m_Rows = i16(ClampCount(i16(rows), MaxLines, "rows", Owner));
    m_Cols = i16(ClampCount(i16(cols), MaxLines, "cols", Owner));
    pos = LoadItemRefList(rooms, sys, pos, m_LockedFilms);
    for (bool* flag : {&m_FilmsSorted, &m_SortedAnnounced, &m_SetupPending})
        pos = sys.readBool(pos, *flag);
    pos = LoadItemRef(rooms, sys, pos, m_pRowFlash);
    pos = LoadItemRef(rooms, sys, pos, m_pColFlash);
    for (std::vector<LinePosition>* lines : {&m_RowFlashes, &m_ColFlashes}) {
        pos = sys.readU32(pos, count);
        lines->clear();
        if (!countFits(sys, pos, count, 9, "cMicrofichePuzzleRoom::LoadSelf()")) {
            pos += sys.bytesLeftInRecord(pos);
            continue;
        }
        for (lines->resize(count); LinePosition & line : *lines)
            pos = sys.readF32(sys.readF32(sys.readBool(pos, line.shown), line.x), line.y);
    }
    pos = m_FlashTimer.LoadSelf(rooms, sys, pos);
    pos = m_Pairs.LoadSelf(rooms, sys, pos);
    pos = m_Moves.LoadSelf(rooms, sys, pos);
    for (CSpyItem** item : {&m_pTarget, &m_pOpenFigure, &m_pProjector, &m_pYearLabel, &m_pAnswerFilm})
        pos = LoadItemRef(rooms, sys, pos, *item);
    pos = sys.readString(pos, m_WinningYear);
    pos = sys.readBool(sys.readBool(pos, m_ProjectedRight), m_Found);
    return LoadItemRef(rooms, sys, pos, m_pFinalReport);
}
