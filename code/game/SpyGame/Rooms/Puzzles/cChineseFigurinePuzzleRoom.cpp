#include "game/SpyGame/Rooms/Puzzles/cChineseFigurinePuzzleRoom.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Puzzles/cRecordReader.h"
#include "game/SpyGame/Rooms/Puzzles/cRecordWriter.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "game/SpyGame/Rooms/Toolkit/RoomSounds.h"

#include <algorithm>
#include <cmath>

namespace {

// Figurines stand within the screen's width; one beyond it takes no place in the row.
constexpr i32 RowEnd = 1024;

i32 RowX(const CSpyItem& item) {
    return i32(std::trunc(item.GetPos().x));
}

} // namespace

cChineseFigurinePuzzleRoom::cChineseFigurinePuzzleRoom() {
    m_Propertys.SolveButtonShown = 1;
}

cChineseFigurinePuzzleRoom::~cChineseFigurinePuzzleRoom() = default;

void cChineseFigurinePuzzleRoom::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (!due)
        return;
    m_Figures.clear();
    m_ItemToShow.clear();
    if (!m_Ini.selectSection("FIGURES"))
        return;
    m_ItemToShow = m_Ini.getString("ItemToShow");
    const u8 count = u8(m_Ini.getInt("count"));
    for (i32 n = 1; n <= count; ++n) {
        if (!m_Ini.selectSection("FIGURE_" + DoubleToString(n)))
            continue;
        Figure figure;
        figure.leftHand = u8(m_Ini.getInt("leftHand"));
        figure.rightHand = u8(m_Ini.getInt("rightHand"));
        figure.woman = m_Ini.getInt("isMan") == 0;
        figure.item = GetItem(m_Ini.getString("name"));
        figure.number = n;
        m_Figures.push_back(figure);
    }
}

void cChineseFigurinePuzzleRoom::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    m_pSelected = nullptr;
    m_Solved = 0;
}

bool cChineseFigurinePuzzleRoom::OnClickUseItem() {
    if (!m_Solved) {
        const auto clicked = std::find_if(m_Figures.begin(), m_Figures.end(), [&](const Figure& f) {
            return f.item && f.item == m_pItemUnderCursor;
        });
        if (clicked != m_Figures.end())
            Swap(clicked->item);
        if (IsRowRight())
            Succeed();
    }
    return CRoomBase::OnClickUseItem();
}

void cChineseFigurinePuzzleRoom::Swap(CSpyItem* clicked) {
    if (!m_pSelected) {
        m_pSelected = clicked;
        clicked->SetFlash(true);
        PlayRoomSound(*this, "chinfigure_select");
        return;
    }
    const SpyPoint selected = m_pSelected->GetPos(), other = clicked->GetPos();
    m_pSelected->SetPos(other.x, other.y);
    clicked->SetPos(selected.x, selected.y);
    m_pSelected->SetFlash(false);
    m_pSelected = nullptr;
    PlayRoomSound(*this, "chinfigure_swap");
}

std::vector<CSpyItem*> cChineseFigurinePuzzleRoom::GetRowOrder() const {
    std::vector<CSpyItem*> order;
    CSpyItem* chosen = nullptr;
    i32 last = 0;
    for (size_t k = 0; k < m_Figures.size(); ++k) {
        CSpyItem* next = nullptr;
        for (const Figure& figure : m_Figures) {
            if (!figure.item)
                continue;
            const i32 x = RowX(*figure.item);
            if (x > last && x < RowEnd && (!next || x < RowX(*next)))
                next = figure.item;
        }
        if (next) {
            chosen = next;
            last = RowX(*next);
        }
        order.push_back(chosen);
    }
    return order;
}

const cChineseFigurinePuzzleRoom::Figure* cChineseFigurinePuzzleRoom::RecordOf(const CSpyItem* item) const {
    if (!item)
        return nullptr;
    std::string name = item->GetName();
    const i32 number = CutTrailingNumber(name);
    const auto found =
        std::find_if(m_Figures.begin(), m_Figures.end(), [&](const Figure& f) { return f.number == number; });
    return found == m_Figures.end() ? nullptr : &*found;
}

bool cChineseFigurinePuzzleRoom::IsRowRight() const {
    const std::vector<CSpyItem*> order = GetRowOrder();
    for (size_t k = 1; k < order.size(); ++k) {
        const Figure* left = RecordOf(order[k - 1]);
        const Figure* right = RecordOf(order[k]);
        if (!left || !right || left->rightHand != right->leftHand || right->woman != k % 2)
            return false;
    }
    return true;
}

void cChineseFigurinePuzzleRoom::Succeed() {
    if (CSpyItem* shown = ResolveFullName(m_ItemToShow))
        shown->SetVisible(true);
    m_Solved = 1;
    if (m_pSelected) {
        m_pSelected->SetFlash(false);
        m_pSelected = nullptr;
    }
    for (const Figure& figure : m_Figures) {
        if (!figure.item)
            continue;
        figure.item->SetHighlightOnMouseHover(false);
        figure.item->SetSmoothFlash(true);
    }
    PlayRoomSound(*this, "chinfigure_win");
    ShowMessage("MSG_WINORDER");
}

bool cChineseFigurinePuzzleRoom::ProcessAutoActions() {
    if (m_Solved)
        return false;
    std::vector<SpyPoint> places;
    for (const Figure& figure : m_Figures)
        if (figure.item)
            places.push_back(figure.item->GetPos());
    std::stable_sort(places.begin(), places.end(),
                     [](const SpyPoint& a, const SpyPoint& b) { return a.x < b.x; });
    auto place = places.begin();
    for (const Figure& figure : m_Figures)
        if (figure.item) {
            figure.item->SetPos(place->x, place->y);
            ++place;
        }
    Succeed();
    return true;
}

u8* cChineseFigurinePuzzleRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    cRecordWriter out(sys, CRoomBase::SaveSelf(sys, pos));
    out.put(m_Solved).ref(m_pSelected);
    return out.pos();
}

const u8* cChineseFigurinePuzzleRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    cRecordReader in("cChineseFigurinePuzzleRoom::LoadSelf()", m_pRoomsManager, sys,
                     CRoomBase::LoadSelf(sys, pos));
    in.get(m_Solved).ref(m_pSelected);
    return in.pos();
}
