#include "game/SpyGame/Rooms/Puzzles/cBasePoizonPuzzle2.h"

#include "game/CResManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Puzzles/cCrimeLabButtles.h"
#include "game/SpyGame/Rooms/Puzzles/cRecordReader.h"
#include "game/SpyGame/Rooms/Puzzles/cRecordWriter.h"
#include "game/SpyGame/Rooms/Toolkit/MouseState.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace {

constexpr const char* BigFontFile = "fonts:system_ui_big.ini";
constexpr const char* BottleRoom = "zoom_CrimeLabButtles";
constexpr const char* ReactionSounds[] = {"lab_reaction_boil", "lab_reaction_fizz", "lab_reaction_smoke"};
// The floating reaction text grows from this scale to the next over its time, fading out.
constexpr f32 FloatFrom = 1.3f;
constexpr f32 FloatTo = 9.0f;
constexpr f32 FloatSeconds = 6.0f;
// A checklist cell takes clicks this far around its template's rectangle.
constexpr f32 CellMargin = 5.0f;
// No checklist screen holds more columns; a larger count in the data would only exhaust memory.
constexpr i32 MaxColumns = 1024;
// What "ErrorEffect" leaves out of the colour draw when its colour is none of the list's.
constexpr u16 NoExclusion = 0xFFFF;

f32 ReadFloat(const aOptionsFile& ini, const std::string& key) {
    return std::strtof(ini.getString(key).c_str(), nullptr);
}

std::list<std::string> ReadList(const aOptionsFile& ini, const std::string& key) {
    std::vector<std::string> values;
    ini.getStringList(values, key);
    return {values.begin(), values.end()};
}

// The entry at a chosen column; null for a column outside the list.
const std::string* Nth(const std::list<std::string>& list, i32 index) {
    if (index < 0 || size_t(index) >= list.size())
        return nullptr;
    return &*std::next(list.begin(), index);
}

void Disable(CSpyItem* item, bool disabled) {
    if (item)
        item->SetDisabled(disabled);
}

} // namespace

bool cBasePoizonPuzzle2::IsShown(const CSpyItem* item) {
    return item && item->IsVisible();
}

void cBasePoizonPuzzle2::Show(CSpyItem* item, bool shown) {
    if (item)
        item->SetVisible(shown);
}

bool cBasePoizonPuzzle2::LeftPressed() {
    return LeftButtonState() == KEY_PRESSED;
}

bool cBasePoizonPuzzle2::ByName::operator()(const CSpyItem* a, const CSpyItem* b) const {
    static const std::string none;
    return (a ? a->GetName() : none) < (b ? b->GetName() : none);
}

cBasePoizonPuzzle2::cBasePoizonPuzzle2() : bigFont(BigFontFile), roomTransform(&m_Origin, &m_Scale) {
    m_Propertys.SolveButtonShown = true;
}

cBasePoizonPuzzle2::~cBasePoizonPuzzle2() = default;

u32 cBasePoizonPuzzle2::EffectCode(const std::string& name) {
    if (StrEqual(name, "FIZZ"))
        return 1;
    if (StrEqual(name, "BOIL"))
        return 2;
    if (StrEqual(name, "SMOKE"))
        return 3;
    return 0;
}

std::wstring cBasePoizonPuzzle2::RoomText(const std::string& id) const {
    return m_pResManager ? m_pResManager->GetString(id, m_Name) : std::wstring();
}

CSpyItem* cBasePoizonPuzzle2::FindItem(const std::string& name) {
    return m_Items.HasItem(name) ? m_Items.GetItem(name) : nullptr;
}

CSpyItem* cBasePoizonPuzzle2::LabelOf(const CSpyItem& item) {
    return FindItem("T" + item.GetName());
}

void cBasePoizonPuzzle2::PlaySound(const std::string& name, bool loop) const {
    if (aSound* sound = GetSound(name))
        sound->play(loop, aSound::KEEP_VOLUME, aSound::KEEP_PAN);
}

// ---- Loading ----

void cBasePoizonPuzzle2::AfterLoadInit() {
    if (!IsLoadInitDue())
        return;
    CRoomBase::AfterLoadInit();
    pipetteItem = GetItem("PIPETKA");
    tablePipetteItem = GetItem("TABLE_PIPETKA");
    pipetteFullItem = GetItem("PIPETKA_FULL");
    screenOrder.clear();
    orderList.clear();
    colors.clear();
    effects.clear();
    reactions.clear();
    sampleNames.clear();
    aboutTexts.clear();
    nameTexts.clear();
    if (m_Ini.selectSection("settings")) {
        selectionDeltaY = ReadFloat(m_Ini, "Selection.deltaY");
        screenOrder = ReadList(m_Ini, "screenbuttleorder");
        orderList = ReadList(m_Ini, "CorrectOrder");
        colors = ReadList(m_Ini, "colors");
        effects = ReadList(m_Ini, "effects");
        // Every bottle starts with the first colour and effect; the first reset draws their own.
        const Reaction first{colors.empty() ? std::string() : colors.front(),
                             effects.empty() ? 0 : EffectCode(effects.front())};
        for (const std::string& name : orderList) {
            reactions[name] = first;
            sampleNames.push_back(name);
            aboutTexts.push_back(RoomText("MESSAGE_ABOUT_" + name));
            nameTexts.push_back(RoomText(name));
        }
    } else {
        log("Can not find section \"settings\"!");
    }
    colorImages.clear();
    if (m_Ini.selectSection("ColorImages") && m_Ini.firstKey())
        do
            colorImages[m_Ini.getKeyName()] = m_Ini.getKeyValue();
        while (m_Ini.nextKey());
    LoadCellTables();
    errorReaction = {};
    if (m_Ini.selectSection("ErrorEffect")) {
        errorReaction.color = m_Ini.getString("color");
        errorReaction.effect = m_Ini.getString("effect");
    }
    monitorItem = GetItem("MONITOR");
    errorAnimator.from = FloatFrom;
    errorAnimator.to = FloatTo;
    errorAnimator.duration = errorAnimator.time = FloatSeconds;
    reactionText.clear();
    bigFsItem = GetItem("BIG_FS");
    selectionItem = GetItem("SELECTION");
    bottleRoom = m_pRoomsManager ? m_pRoomsManager->GetRoom(BottleRoom) : nullptr;
}

void cBasePoizonPuzzle2::LoadCellTables() {
    LoadCellTable("ColorCells", colorGrid, colorCellNames, colorMarks);
    LoadCellTable("EffectCells", effectGrid, effectCellNames, effectMarks);
}

// One row a bottle of the checklist order; each row's mark is a clone of the table's cell item.
void cBasePoizonPuzzle2::LoadCellTable(const std::string& section, CellGrid& grid,
                                       std::list<std::string>& names, std::vector<CellMark>& marks) {
    grid.clear();
    names.clear();
    marks.clear();
    if (!m_Ini.selectSection(section)) {
        log("%s. Cannot load section \"%s\"", m_Name.c_str(), section.c_str());
        return;
    }
    CSpyItem* cell = GetItem(m_Ini.getString("cell"));
    lastCellItem = cell;
    const i32 cols = std::clamp(m_Ini.getInt("cols"), 0, MaxColumns);
    const f32 dx = ReadFloat(m_Ini, "dx");
    const f32 dy = ReadFloat(m_Ini, "dy");
    if (!cell)
        return;
    cell->Reset();
    const size_t rows = screenOrder.size();
    const SpyPoint origin = cell->GetPos();
    const f32 w = cell->GetWidth(), h = cell->GetHeight();
    marks.resize(rows);
    for (size_t i = 0; i < rows; ++i) {
        std::string name = cell->GetName() + DoubleToString(double(i));
        names.push_back(name);
        CSpyItem* clone =
            m_Items.CloneItem(cell->GetName(), name, SpyPoint{origin.x, origin.y + f32(i) * (h + dy)});
        marks[i] = {clone, 0};
    }
    grid.assign(rows, {});
    for (size_t r = 0; r < rows; ++r)
        for (i32 c = 0; c < cols; ++c)
            grid[r].push_back({origin.x + f32(c) * (w + dx), origin.y + f32(r) * (h + dy)});
}

// ---- Reset ----

void cBasePoizonPuzzle2::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    auto none = colorImages.find("NONE");
    colorImageItem = none == colorImages.end() ? nullptr : GetItem(none->second);
    SwapVisibleItem(submitItem, GetItem("SUBMIT_ON"));
    Show(submitItem, false);
    filledFrom = nullptr;
    pipetteInHand = 0;
    dishDrops.clear();
    fillCandidate = fillCandidatePosition = nullptr;
    dishTimer = 0;
    m_bSharedMouseInside = true;
    const u32 bottles = u32(orderList.size());
    if (reshuffle && bottles > 0)
        MakeRandomSequence(bottles, bottles, bottleOrder);
    PlaceBottles();
    if (reshuffle) {
        reshuffle = 0;
        DrawReactions();
    }
    DescribeBottles();
    if (auto* rack = dynamic_cast<cCrimeLabButtles*>(bottleRoom))
        rack->SetOrder(bottleOrder);
    HideCheckMarks();
    blocked = testDone = 0;
    effectItem = nullptr;
    bigFont.color = 0xFFFFFFFF;
    reservedFlag = checklistLocked = 0;
    dishReaction.effect = 0;
    needsEnable = 1;
    Show(selectionItem, false);
    errorAnimator.Stop();
    reactionText.clear();
    Disable(tablePipetteItem, true);
}

// The bottle drawn for position i stands there with the description of position i and its own label.
void cBasePoizonPuzzle2::PlaceBottles() {
    orderList.clear();
    positionToBottle.clear();
    for (size_t i = 0; i < sampleNames.size() && i < bottleOrder.size(); ++i) {
        const u16 drawn = bottleOrder[i];
        if (drawn >= sampleNames.size())
            continue;
        const std::string& name = sampleNames[drawn];
        orderList.push_back(name);
        CSpyItem* bottle = GetItem(name);
        if (!bottle)
            continue;
        if (i < aboutTexts.size())
            bottle->SetText(aboutTexts[i]);
        if (CSpyItem* position = GetItem(sampleNames[i]))
            positionToBottle[position] = bottle;
        if (CSpyItem* label = LabelOf(*bottle)) {
            const SpyPoint at = bottle->GetPos();
            label->SetPos(at.x, at.y);
            if (drawn < nameTexts.size())
                label->SetText(nameTexts[drawn]);
        }
    }
}

// Both sequences are taken from their ends, one value for every row, whether the row's bottle has a
// reaction or not. The error colour is never drawn; without a colour or effect to draw, a bottle gets
// none.
void cBasePoizonPuzzle2::DrawReactions() {
    const u32 rows = u32(screenOrder.size());
    auto errorColor = std::find(colors.begin(), colors.end(), errorReaction.color);
    const bool colorExcluded = errorColor != colors.end();
    const u16 excluded = colorExcluded ? u16(std::distance(colors.begin(), errorColor)) : NoExclusion;
    std::vector<u16> colorDraw, effectDraw;
    if (colors.size() > (colorExcluded ? 1u : 0u))
        MakeRandomSequence(rows, u32(colors.size()), colorDraw, {excluded});
    if (!effects.empty())
        MakeRandomSequence(rows, u32(effects.size()), effectDraw);
    for (const std::string& name : screenOrder) {
        Reaction drawn;
        if (!colorDraw.empty()) {
            if (const std::string* color = Nth(colors, colorDraw.back()))
                drawn.color = *color;
            colorDraw.pop_back();
        }
        if (!effectDraw.empty()) {
            if (const std::string* effect = Nth(effects, effectDraw.back()))
                drawn.effect = EffectCode(*effect);
            effectDraw.pop_back();
        }
        if (auto found = reactions.find(name); found != reactions.end())
            found->second = drawn;
    }
}

// Each bottle's text is a template: %j% takes the label of the j-th bottle of the rack, %j+2n% the
// name of the place that bottle stands at.
void cBasePoizonPuzzle2::DescribeBottles() {
    const u32 n = u32(orderList.size());
    // What %j% and %j+2n% stand for, the same in every description: the j-th bottle's label, and the
    // place the j-th name stands at. Either may be missing; its placeholder then stays.
    struct Fill {
        std::wstring placeholder;
        std::optional<std::wstring> value;
    };
    std::vector<Fill> fills;
    u32 j = 1;
    for (const std::string& other : orderList) {
        const CSpyItem* label = FindItem("T" + other);
        fills.push_back(
            {L"%" + std::to_wstring(j) + L"%", label ? std::optional(label->GetText()) : std::nullopt});
        auto at = std::find(bottleOrder.begin(), bottleOrder.end(), u16(j - 1));
        fills.push_back({L"%" + std::to_wstring(j + 2 * n) + L"%",
                         at == bottleOrder.end()
                             ? std::nullopt
                             : std::optional(RoomText(
                                   "BTL_UID_" + DoubleToString(double(at - bottleOrder.begin() + 1))))});
        ++j;
    }
    for (const std::string& name : orderList) {
        CSpyItem* bottle = GetItem(name);
        if (!bottle)
            continue;
        SplitTemplate(bottle->GetText());
        for (const Fill& fill : fills)
            if (fill.value)
                ReplacePlaceholder(fill.placeholder, *fill.value);
        bottle->SetText(JoinTemplate());
    }
}

// ---- Message templates ----

// Literal and placeholder pieces alternate, a literal first; an unclosed "%" stays in the last literal,
// so that joining the pieces gives the text back.
void cBasePoizonPuzzle2::SplitTemplate(const std::wstring& text) {
    dropTemplate.clear();
    size_t from = 0;
    while (from < text.size()) {
        const size_t open = text.find(L'%', from);
        const size_t close = open == std::wstring::npos ? open : text.find(L'%', open + 1);
        if (close == std::wstring::npos) {
            dropTemplate.push_back(text.substr(from));
            return;
        }
        dropTemplate.push_back(text.substr(from, open - from));
        dropTemplate.push_back(text.substr(open, close - open + 1));
        from = close + 1;
    }
}

void cBasePoizonPuzzle2::SetTemplateValue(const std::wstring& key, const std::wstring& value) {
    ReplacePlaceholder(L"%" + key + L"%", value);
}

void cBasePoizonPuzzle2::ReplacePlaceholder(const std::wstring& placeholder, const std::wstring& value) {
    for (std::wstring& piece : dropTemplate)
        if (piece == placeholder)
            piece = value;
}

void cBasePoizonPuzzle2::SetTemplateValue(u32 key, const std::wstring& value) {
    SetTemplateValue(std::to_wstring(key), value);
}

std::wstring cBasePoizonPuzzle2::JoinTemplate() const {
    std::wstring text;
    for (const std::wstring& piece : dropTemplate)
        text += piece;
    return text;
}

// ---- Bench items ----

bool cBasePoizonPuzzle2::IsBenchItem(const CSpyItem* item, bool orBigView) const {
    if (!item)
        return false;
    if (orBigView && item == bigFsItem)
        return true;
    return std::find(orderList.begin(), orderList.end(), item->GetName()) != orderList.end();
}

bool cBasePoizonPuzzle2::IsDishTarget(const CSpyItem* item) const {
    if (!item)
        return false;
    for (const auto& [color, image] : colorImages)
        if (image == item->GetName())
            return true;
    return false;
}

void cBasePoizonPuzzle2::ShowBenchItem(CSpyItem* item, bool shown) {
    if (!item)
        return;
    item->SetVisible(shown);
    CSpyItem* label = LabelOf(*item);
    if (!label)
        return;
    label->SetVisible(shown);
    if (shown) {
        const SpyPoint at = item->GetPos();
        label->SetPos(at.x, at.y);
    }
}

void cBasePoizonPuzzle2::SetBenchShown(bool shown) {
    for (const std::string& name : orderList)
        ShowBenchItem(FindItem(name), shown);
    if (!shown)
        ShowBenchItem(bigFsItem, false);
    Show(tablePipetteItem, shown);
}

void cBasePoizonPuzzle2::HideCheckMarks() {
    for (std::vector<CellMark>* marks : {&colorMarks, &effectMarks})
        for (CellMark& mark : *marks) {
            Show(mark.markItem, false);
            mark.column = -1;
        }
}

void cBasePoizonPuzzle2::MoveSelection(size_t row) {
    if (!selectionItem || row >= colorGrid.size() || colorGrid[row].empty())
        return;
    const SpyPoint cell = roomTransform.LocalToScreen(colorGrid[row][0].x, colorGrid[row][0].y);
    selectionItem->SetPos(selectionItem->GetPos().x, cell.y - selectionDeltaY);
    selectionItem->SetVisible(true);
}

// ---- Pipette and dish ----

void cBasePoizonPuzzle2::SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                                         std::optional<SpyPoint> grabOffset) {
    if (!item || (item != pipetteItem && item != pipetteFullItem)) {
        CRoomBase::SetItemOnCursor(item, roomForm, grabOffset);
        return;
    }
    item->SetInInventory(false);
    item->SetInInventory(true);
    // The pipette's tip, its bottom edge, sits at the pointer.
    CRoomBase::SetItemOnCursor(item, item, SpyPoint{0, -f32(item->GetHeight())});
}

void cBasePoizonPuzzle2::TakePipette() {
    PlaySound("lab_dropper_take");
    Show(tablePipetteItem, false);
    const SpyPoint stand = tablePipetteItem ? tablePipetteItem->GetPos() : SpyPoint{};
    pickupX = stand.x;
    pickupY = stand.y;
    if (pipetteItem)
        pipetteItem->SetPos(stand.x, stand.y);
    SetItemOnCursor(pipetteItem, nullptr);
    cursorPipette = pipetteItem;
    pipetteInHand = 1;
    m_bSharedMouseInside = false;
}

void cBasePoizonPuzzle2::PutPipetteBack() {
    SetItemOnCursor(nullptr, nullptr);
    Show(tablePipetteItem, true);
    Show(pipetteItem, false);
    Show(pipetteFullItem, false);
    filledFrom = nullptr;
    pipetteInHand = 0;
    m_bSharedMouseInside = true;
}

void cBasePoizonPuzzle2::HandleCursorItemInput(f32 dt) {
    UpdatePuzzle(dt);
    const bool bigViewShown = IsShown(fillCandidate);
    if (LeftPressed() && bigViewShown) {
        CSpyItem* under = m_pItemUnderCursor;
        if (IsDishTarget(under) && pipetteInHand && filledFrom) {
            OnAddFromPipetkaToTarelka();
            PutPipetteBack();
            filledFrom = nullptr;
            return;
        }
        if (under && under == fillCandidate && pipetteInHand && m_pCursorItem != pipetteFullItem &&
            pipetteFullItem) {
            PlaySound("lab_dropper_fill");
            cursorPipette = pipetteFullItem;
            SetItemOnCursor(pipetteFullItem, nullptr);
            if (pipetteItem) {
                const SpyPoint at = pipetteItem->GetPos();
                pipetteFullItem->SetPos(at.x, at.y);
            }
            filledFrom = fillCandidatePosition;
        }
        CRoomBase::HandleCursorItemInput(dt);
        return;
    }
    if (MouseButtonState(1) == KEY_PRESSED && bigViewShown && pipetteInHand) {
        PutPipetteBack();
        return;
    }
    CRoomBase::HandleCursorItemInput(dt);
}

void cBasePoizonPuzzle2::OnAddFromPipetkaToTarelka() {
    if (dishDrops.size() >= orderList.size())
        return;
    auto found = positionToBottle.find(filledFrom);
    CSpyItem* bottle = found == positionToBottle.end() ? nullptr : found->second;
    if (!bottle)
        return;
    dishDrops.push_back(bottle);
    auto expected = orderList.begin();
    for (const CSpyItem* drop : dishDrops) {
        if (expected == orderList.end() || !drop || drop->GetName() != *expected) {
            ShowMessage("WrongUseButtle");
            dishDrops.pop_back();
            return;
        }
        ++expected;
    }
    if (bigFsItem) {
        ShowBenchItem(bigFsItem, false);
        fillCandidate = fillCandidatePosition = nullptr;
    }
    filledFrom = bottle;
    const size_t row = size_t(std::distance(
        screenOrder.begin(), std::find(screenOrder.begin(), screenOrder.end(), bottle->GetName())));
    if (row < colorGrid.size())
        MoveSelection(row);
    auto reaction = reactions.find(bottle->GetName());
    if (reaction == reactions.end()) {
        log("OnAddFromPipetkaToTarelka can not find color %s", bottle->GetName().c_str());
        return;
    }
    ShowReaction(reaction->second, true);
    Disable(tablePipetteItem, true);
}

void cBasePoizonPuzzle2::ShowReaction(const Reaction& reaction, bool animate) {
    Show(effectItem, false);
    PlayReactionSound(reaction.effect);
    const char* const effectNames[] = {nullptr, "FIZZ", "BOIL", "SMOKE"};
    const char* effectName = reaction.effect < 4 ? effectNames[reaction.effect] : nullptr;
    effectItem = effectName ? GetItem(effectName) : nullptr;
    CSpyItem* boilSmoke = FindItem("BOIL_SMOKE");
    Show(boilSmoke, reaction.effect == 2);
    if (animate)
        errorAnimator.Start();
    if (effectItem) {
        effectItem->StartAnim(-1);
        effectItem->SetVisible(true);
        if (boilSmoke)
            boilSmoke->StartAnim(-1);
        reactionText = RoomText(effectItem->GetName());
    } else {
        reactionText = RoomText("NONE");
    }
    dishReaction = reaction;
    dishTimer = 1.0f;
    Show(colorImageItem, false);
    auto image = colorImages.find(reaction.color);
    colorImageItem = image == colorImages.end() ? nullptr : FindItem(image->second);
    if (colorImageItem) {
        colorImageItem->SetVisible(true);
        reactionText = RoomText(colorImageItem->GetName()) + L" " + reactionText;
    } else {
        log("OnAddFromPipetkaToTarelka can not find image %s", reaction.color.c_str());
    }
}

void cBasePoizonPuzzle2::OnErrorReaction() {
    blocked = 1;
    PlaySound("lab_reaction_wrong");
    ShowReaction({errorReaction.color, EffectCode(errorReaction.effect)}, true);
}

void cBasePoizonPuzzle2::PlayReactionSound(u32 effect) {
    for (const char* name : ReactionSounds)
        if (aSound* sound = GetSound(name))
            sound->stop();
    loopSound.clear();
    const char* const looped[] = {nullptr, "lab_reaction_fizz", "lab_reaction_boil", "lab_reaction_smoke"};
    if (effect == 0 || effect > 3)
        return;
    loopSound = looped[effect];
    PlaySound(loopSound, true);
}

void cBasePoizonPuzzle2::UpdatePuzzle(f32 dt) {
    if (dishTimer > 0)
        dishTimer -= dt;
}

// ---- Checklist ----

bool cBasePoizonPuzzle2::CheckCheckerOnPC(i32 x, i32 y, const CellGrid& grid, std::vector<CellMark>& marks) {
    if (IsShown(monitorItem))
        return false;
    if (screenOrder.empty()) {
        log("CheckCheckerOnPC. empty test order!!!");
        return false;
    }
    const f32 w = f32(lastCellItem ? lastCellItem->GetWidth() : 0) + 2 * CellMargin;
    const f32 h = f32(lastCellItem ? lastCellItem->GetHeight() : 0) + 2 * CellMargin;
    auto sample = screenOrder.begin();
    for (size_t r = 0; r < grid.size() && r < marks.size() && sample != screenOrder.end(); ++r, ++sample)
        for (size_t c = 0; c < grid[r].size(); ++c) {
            const SpyPoint at = roomTransform.LocalToScreen(grid[r][c].x, grid[r][c].y);
            if (!PointInRectF(at.x - CellMargin, at.y - CellMargin, w, h, f32(x), f32(y)))
                continue;
            const bool tested = std::any_of(dishDrops.begin(), dishDrops.end(), [&](const CSpyItem* drop) {
                return drop && drop->GetName() == *sample;
            });
            if (!tested) {
                OnNotTested();
                return true;
            }
            // Only the bottle dropped last may be ticked; rows before it are settled.
            const CSpyItem* last = dishDrops.back();
            if (!last || last->GetName() != *sample)
                return true;
            if (CSpyItem* mark = marks[r].markItem) {
                mark->SetVisible(true);
                mark->SetPos(at.x, at.y);
            }
            marks[r].column = i32(c);
            PlaySound("lab_pc_checkbox_set");
            return true;
        }
    return false;
}

bool cBasePoizonPuzzle2::AreChecklistsFilled(const std::vector<CellMark>& marks) const {
    size_t r = 0;
    for (const std::string& sample : screenOrder) {
        if (r >= marks.size())
            break;
        const bool tested = std::any_of(dishDrops.begin(), dishDrops.end(), [&](const CSpyItem* drop) {
            return drop && drop->GetName() == sample;
        });
        if (tested && !IsShown(marks[r].markItem))
            return false;
        ++r;
    }
    return true;
}

// A row without its sample's result, or ticked at a column past the list, counts as wrong: there is
// nothing true to hold it against.
void cBasePoizonPuzzle2::CompareChecklists(bool& isIncomplete, bool& hasError) const {
    isIncomplete = hasError = false;
    auto compare = [&](const std::vector<CellMark>& marks, const std::list<std::string>& names,
                       auto matches) {
        auto sample = screenOrder.begin();
        for (size_t r = 0; r < marks.size() && sample != screenOrder.end(); ++r, ++sample) {
            const CellMark& mark = marks[r];
            if (!IsShown(mark.markItem) || mark.column == -1) {
                isIncomplete = true;
                continue;
            }
            auto result = reactions.find(*sample);
            const std::string* chosen = Nth(names, mark.column);
            if (result == reactions.end() || !chosen || !matches(*chosen, result->second))
                hasError = true;
        }
    };
    compare(colorMarks, colors, [](const std::string& color, const Reaction& r) { return color == r.color; });
    compare(effectMarks, effects,
            [](const std::string& effect, const Reaction& r) { return EffectCode(effect) == r.effect; });
}

bool cBasePoizonPuzzle2::CheckTestResults() {
    if (blocked)
        return false;
    if (!AreChecklistsFilled(colorMarks) || !AreChecklistsFilled(effectMarks)) {
        OnChecklistIncomplete();
        return false;
    }
    bool isIncomplete = false, hasError = false;
    CompareChecklists(isIncomplete, hasError);
    if (!hasError)
        return true;
    ShowMessage("NOTCORRECTREACTION");
    errorAnimator.Start();
    return false;
}

void cBasePoizonPuzzle2::EvaluateChecklists() {
    bool isIncomplete = false, hasError = false;
    CompareChecklists(isIncomplete, hasError);
    OnCheckResults(hasError, isIncomplete);
}

void cBasePoizonPuzzle2::OnCheckResults(bool hasError, bool isIncomplete) {
    incomplete = isIncomplete;
    if (dishDrops.size() < orderList.size() || isIncomplete)
        return;
    if (hasError)
        OnResultsWrong();
    else
        OnResultsCorrect();
}

void cBasePoizonPuzzle2::FinishTest() {
    HideCheckMarks();
    testDone = 1;
}

// ---- Play ----

void cBasePoizonPuzzle2::Enter(const std::string& entryName, CSpyItem* entryItem) {
    CRoomBase::Enter(entryName, entryItem);
    if (needsEnable) {
        const bool ready = IsReadyForSample();
        needsEnable = !ready;
        SetBenchShown(ready);
    }
    PlayReactionSound(dishReaction.effect);
}

void cBasePoizonPuzzle2::StopAmbient() {
    CRoomBase::StopAmbient();
    PlayReactionSound(0);
}

// A press on a bottle first has the ticks so far checked; when they do not pass, the press goes no
// further this frame. A press meant for the panel or a dialog over the room is none of the bench's.
u32 cBasePoizonPuzzle2::FrameMove(f32 dt, bool paused) {
    errorAnimator.Update(dt);
    if (IsActive() && !paused && LeftPressed() && !m_pCursorItem && !IsMouseOverPanel() &&
        IsBenchItem(GetItemUnderCursor(), true) && !CheckTestResults()) {
        Disable(tablePipetteItem, true);
        return Playing;
    }
    return CRoomBase::FrameMove(dt, paused);
}

void cBasePoizonPuzzle2::HandleInput(f32 dt) {
    UpdatePuzzle(dt);
    CRoomBase::HandleInput(dt);
    if (checklistLocked || !LeftPressed() || testDone || IsShown(fillCandidate))
        return;
    auto [x, y] = MousePosition();
    if (!CheckCheckerOnPC(x, y, colorGrid, colorMarks))
        CheckCheckerOnPC(x, y, effectGrid, effectMarks);
}

bool cBasePoizonPuzzle2::OnClickUseItem() {
    if (checklistLocked)
        return false;
    CSpyItem* clicked = m_pItemUnderCursor;
    const bool taken = CRoomBase::OnClickUseItem();
    CSpyItem* acted = nullptr;
    const bool bigViewShown = IsShown(fillCandidate);
    if (!IsBenchItem(clicked, true)) {
        if (clicked && clicked == tablePipetteItem && IsShown(bigFsItem))
            TakePipette();
        else
            Disable(tablePipetteItem, true);
    } else if (clicked == bigFsItem && !IsBenchItem(clicked)) {
        if (fillCandidate == clicked && bigViewShown) {
            ShowBenchItem(bigFsItem, false);
            ShowBenchItem(fillCandidatePosition, true);
            acted = fillCandidatePosition;
        }
    } else {
        if (bigViewShown)
            ShowBenchItem(fillCandidatePosition, true);
        const bool pairEmpty = !fillCandidate && !fillCandidatePosition;
        if (bigViewShown || pairEmpty || IsShown(fillCandidatePosition))
            acted = LiftBottle(*clicked);
    }
    if (!acted)
        acted = GetItemUnderCursor();
    if (IsBenchItem(acted, true) && !m_pCursorItem) {
        PlaySound("lab_bottle_move");
        Disable(tablePipetteItem, !IsShown(fillCandidate));
    }
    return taken;
}

// The big view shows the bottle's text and label in its place.
CSpyItem* cBasePoizonPuzzle2::LiftBottle(CSpyItem& bottle) {
    fillCandidatePosition = &bottle;
    fillCandidate = bigFsItem;
    if (!bigFsItem)
        return nullptr;
    bigFsItem->SetText(bottle.GetText());
    CSpyItem* viewLabel = LabelOf(*bigFsItem);
    CSpyItem* bottleLabel = LabelOf(bottle);
    if (viewLabel && bottleLabel)
        viewLabel->SetText(bottleLabel->GetText());
    ShowBenchItem(bigFsItem, true);
    ShowBenchItem(&bottle, false);
    return bigFsItem;
}

// The solve: every bottle counts as dropped in order, which finishes the test.
bool cBasePoizonPuzzle2::ProcessAutoActions() {
    bool changed = false;
    if (!testDone && IsReadyForSample() && !m_pCursorItem) {
        const bool ready = IsReadyForSample();
        SetBenchShown(ready);
        if (ready) {
            dishDrops.clear();
            for (const std::string& name : orderList)
                if (CSpyItem* bottle = FindItem(name))
                    dishDrops.push_back(bottle);
            OnCheckResults(false, false);
            SetBenchShown(false);
            changed = true;
        }
    }
    return CRoomBase::ProcessAutoActions() || changed;
}

// ---- Drawing ----

// The reaction's text floats up from the dish, growing and fading while the animator runs, clipped to
// the room as the room's own drawing is.
void cBasePoizonPuzzle2::Render() {
    CRoomBase::Render();
    const f32 from = errorAnimator.from, to = errorAnimator.to;
    aGraphServer* gfx = aApplication::graphServer();
    if (!errorAnimator.IsRunning() || !dishItem || from == to || !gfx)
        return;
    const aRect kept = gfx->getViewport();
    aRect clip;
    gfx->setViewport(kept.intersect(clip, m_ActiveRect));
    const f32 value = from + std::fabs(to - from) * errorAnimator.time / errorAnimator.duration;
    const u32 alpha = u32(std::clamp(TruncToInt(255.0f * (to - value) / (to - from)), 0, 255));
    const f32 requested = bigFont.getRequestedScale();
    bigFont.setScale(value);
    bigFont.color = alpha << 24 | 0xFFFFFF;
    const SpyPoint at = dishItem->GetPos();
    bigFont.printW(at.x + f32(dishItem->GetWidth()) / 2, at.y + f32(dishItem->GetHeight()) / 2, reactionText,
                   aFont::PRINT_CENTER | aFont::PRINT_VCENTER);
    bigFont.setScale(requested);
    gfx->setViewport(kept);
}

// ---- Record ----

u8* cBasePoizonPuzzle2::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    cRecordWriter out(sys, CRoomBase::SaveSelf(sys, pos));
    out.ref(dishItem).refs(dishDrops);
    out.ref(cursorPipette).ref(pipetteFullItem).ref(pipetteItem).ref(tablePipetteItem).ref(filledFrom);
    out.put(pickupX).put(pickupY).put(pipetteInHand);
    out.put(u32(positionToBottle.size()));
    for (const auto& [position, bottle] : positionToBottle)
        out.ref(position).ref(bottle);
    out.strings(orderList).values(bottleOrder);
    out.ref(colorImageItem).ref(fillCandidatePosition).ref(fillCandidate);
    out.put(dishReaction.color).put(dishReaction.effect).put(dishTimer);
    out.ref(monitorItem).ref(lastCellItem).ref(bigFsItem);
    out.strings(colorCellNames).strings(effectCellNames).strings(screenOrder);
    out.strings(sampleNames).texts(aboutTexts).texts(nameTexts);
    out.strings(colors).strings(effects);
    for (const CellGrid* grid : {&colorGrid, &effectGrid}) {
        out.put(u32(grid->size()));
        for (const std::vector<SpyPoint>& row : *grid) {
            out.put(u32(row.size()));
            for (const SpyPoint& cell : row)
                out.put(cell.x).put(cell.y);
        }
    }
    for (const std::vector<CellMark>* marks : {&colorMarks, &effectMarks})
        for (const CellMark& mark : *marks)
            out.ref(mark.markItem).put(mark.column);
    out.put(blocked).put(testDone).put(incomplete);
    out.ref(selectionItem).put(selectionDeltaY);
    out.put(reactionText).ref(effectItem);
    out.part([&](SaveLoadSystem& s, u8* p) { return errorAnimator.SaveSelf(s, p); });
    out.put(reservedFlag).put(checklistLocked).put(needsEnable);
    out.put(errorReaction.color).put(errorReaction.effect).texts(dropTemplate);
    out.ref(submitItem).put(reshuffle);
    out.put(u32(reactions.size()));
    for (const auto& [name, reaction] : reactions)
        out.put(name).put(reaction.color).put(reaction.effect);
    return out.put(loopSound).pos();
}

const u8* cBasePoizonPuzzle2::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = CRoomBase::LoadSelf(sys, pos);
    // Only a room of the rooms manager is ever loaded; its references resolve there.
    if (!m_pRoomsManager)
        return pos;
    CRoomItemLookup& rooms = *m_pRoomsManager;
    cRecordReader in("cBasePoizonPuzzle2::LoadSelf()", &rooms, sys, pos);
    in.ref(dishItem).refs(dishDrops);
    in.ref(cursorPipette).ref(pipetteFullItem).ref(pipetteItem).ref(tablePipetteItem).ref(filledFrom);
    in.get(pickupX).get(pickupY).get(pipetteInHand);
    LoadBottleMap(in);
    in.strings(orderList).values(bottleOrder);
    in.ref(colorImageItem).ref(fillCandidatePosition).ref(fillCandidate);
    in.get(dishReaction.color).get(dishReaction.effect).get(dishTimer);
    in.ref(monitorItem).ref(lastCellItem).ref(bigFsItem);
    in.strings(colorCellNames).strings(effectCellNames).strings(screenOrder);
    in.strings(sampleNames).texts(aboutTexts).texts(nameTexts);
    in.strings(colors).strings(effects);
    LoadGrid(in, colorGrid);
    LoadGrid(in, effectGrid);
    for (std::vector<CellMark>* marks : {&colorMarks, &effectMarks})
        for (CellMark& mark : *marks)
            in.ref(mark.markItem).get(mark.column);
    in.get(blocked).get(testDone).get(incomplete);
    in.ref(selectionItem).get(selectionDeltaY);
    in.get(reactionText).ref(effectItem);
    in.part([&](SaveLoadSystem& s, const u8* p) { return errorAnimator.LoadSelf(rooms, s, p); });
    in.get(reservedFlag).get(checklistLocked).get(needsEnable);
    in.get(errorReaction.color).get(errorReaction.effect);
    dropTemplate.clear();
    in.texts(dropTemplate);
    in.ref(submitItem).get(reshuffle);
    LoadReactions(in);
    in.get(loopSound);
    // The reaction heard when the game was saved goes on.
    if (!loopSound.empty())
        PlaySound(loopSound, true);
    return in.pos();
}

void cBasePoizonPuzzle2::LoadBottleMap(cRecordReader& in) {
    positionToBottle.clear();
    u32 count = 0;
    if (!in.count(count, 2, "bottle map"))
        return;
    for (u32 i = 0; i < count; ++i) {
        CSpyItem* position = nullptr;
        CSpyItem* bottle = nullptr;
        in.ref(position).ref(bottle);
        if (position && bottle)
            positionToBottle[position] = bottle;
    }
}

void cBasePoizonPuzzle2::LoadGrid(cRecordReader& in, CellGrid& grid) {
    u32 rows = 0;
    if (!in.count(rows, 4, "cell rows"))
        return;
    grid.assign(rows, {});
    for (std::vector<SpyPoint>& row : grid) {
        u32 cells = 0;
        if (!in.count(cells, 8, "cells"))
            return;
        row.assign(cells, {});
        for (SpyPoint& cell : row)
            in.get(cell.x).get(cell.y);
    }
}

void cBasePoizonPuzzle2::LoadReactions(cRecordReader& in) {
    reactions.clear();
    u32 count = 0;
    if (!in.count(count, 6, "reactions"))
        return;
    for (u32 i = 0; i < count; ++i) {
        std::string name;
        Reaction reaction;
        in.get(name).get(reaction.color).get(reaction.effect);
        reactions[name] = reaction;
    }
}
