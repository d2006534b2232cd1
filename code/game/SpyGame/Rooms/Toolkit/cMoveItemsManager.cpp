#include "game/SpyGame/Rooms/Toolkit/cMoveItemsManager.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/Toolkit/MouseState.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "tk2v/gfx/aGDI.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace {

// Rounded to the nearest whole unit, as the targets are laid out; beyond the 16-bit range it stays at
// the range's end rather than wrapping round onto some target. Not a number: never asked.
i16 RoundToShort(f32 value) {
    value += 0.5f;
    value = value < f32(INT16_MIN) ? f32(INT16_MIN) : value;
    value = value > f32(INT16_MAX) ? f32(INT16_MAX) : value;
    return i16(value);
}

// Every float but NaN in ascending order, from -inf to +inf, as whole numbers; both zeros are 0.
constexpr i64 OrderedLimit = 0x7f800000;

f32 FromOrdered(i64 index) {
    const f32 magnitude = std::bit_cast<f32>(u32(index < 0 ? -index : index));
    return index < 0 ? -magnitude : magnitude;
}

// The least screen coordinate whose rounded room coordinate is at least `bound`; NaN for none. The
// rounding never falls as the coordinate grows, so halving the floats' range finds it.
template <class Rounded> f32 FirstAtLeast(Rounded rounded, i32 bound) {
    i64 low = -OrderedLimit, high = OrderedLimit;
    if (rounded(FromOrdered(high)) < bound)
        return std::numeric_limits<f32>::quiet_NaN();
    while (low < high) {
        const i64 mid = low + (high - low) / 2;
        if (rounded(FromOrdered(mid)) >= bound)
            high = mid;
        else
            low = mid + 1;
    }
    return FromOrdered(low);
}

// The greatest screen coordinate whose rounded room coordinate is at most `bound`; NaN for none.
template <class Rounded> f32 LastAtMost(Rounded rounded, i32 bound) {
    i64 low = -OrderedLimit, high = OrderedLimit;
    if (rounded(FromOrdered(low)) > bound)
        return std::numeric_limits<f32>::quiet_NaN();
    while (low < high) {
        const i64 mid = low + (high - low + 1) / 2;
        if (rounded(FromOrdered(mid)) <= bound)
            low = mid;
        else
            high = mid - 1;
    }
    return FromOrdered(low);
}

u8* SaveRect(SaveLoadSystem& sys, u8* pos, const aRect& rect) {
    pos = sys.writeU16(pos, u16(rect.x));
    pos = sys.writeU16(pos, u16(rect.y));
    pos = sys.writeU16(pos, rect.w);
    return sys.writeU16(pos, rect.h);
}

const u8* LoadRect(const SaveLoadSystem& sys, const u8* pos, aRect& rect) {
    u16 x = 0, y = 0;
    pos = sys.readU16(pos, x);
    pos = sys.readU16(pos, y);
    pos = sys.readU16(pos, rect.w);
    pos = sys.readU16(pos, rect.h);
    rect.x = i16(x);
    rect.y = i16(y);
    return pos;
}

} // namespace

cMoveItemsManager::cMoveItemsManager(const cRoomTransform& transform) : m_pTransform(&transform) {
    Reset();
}

cMoveItemsManager::~cMoveItemsManager() = default;

void cMoveItemsManager::AddRect(const std::string& name, const aRect& place, const aRect& area) {
    const auto [target, added] = EmplaceNamed(m_Rects, name);
    if (!added) {
        log("cMoveItemsManager. cann't add: rect exsist %s", name.c_str());
        return;
    }
    *target = Target{area, place, true};
}

void cMoveItemsManager::AddItem(CSpyItem* item, bool withRect, bool enabled) {
    // A missing item has been reported by its lookup already.
    if (!item)
        return;
    if (!m_Enabled.emplace(item, enabled).second) {
        log("cMoveItemsManager. cann't add: item exsist %s", item->GetName().c_str());
        return;
    }
    m_Items.push_back(item);
    if (withRect)
        AddRect(item->GetName(), GetItemRect(item), GetItemRect(item));
}

void cMoveItemsManager::SetRectEnabled(const std::string& name, bool enabled) {
    if (Target* target = FindNamed(m_Rects, name))
        target->enabled = enabled;
}

void cMoveItemsManager::SetItemEnabled(const CSpyItem* item, bool enabled) {
    if (const auto found = m_Enabled.find(item); found != m_Enabled.end())
        found->second = enabled;
}

bool cMoveItemsManager::IsMovable(const CSpyItem* item, bool requireEnabled) const {
    const auto found = m_Enabled.find(item);
    return found != m_Enabled.end() && (!requireEnabled || found->second);
}

bool cMoveItemsManager::LocalPoint(const CSpyItem* item, i32& x, i32& y) const {
    if (!item)
        return false;
    const SpyPoint screen = item->GetPos();
    const SpyPoint local = m_pTransform->ScreenToLocal(screen.x, screen.y);
    // A position that is not a number lies nowhere.
    if (std::isnan(local.x) || std::isnan(local.y))
        return false;
    x = RoundToShort(local.x);
    y = RoundToShort(local.y);
    return true;
}

bool cMoveItemsManager::Holds(const Target& target, i32 x, i32 y) {
    return target.area.contains(x, y) || target.place.contains(x, y);
}

bool cMoveItemsManager::Lies(const CSpyItem* item, const Target& target, bool orArea, bool mapped) const {
    if (!item)
        return false;
    if (mapped) {
        const ScreenRects& screen = Screen(target);
        const SpyPoint at = item->GetPos();
        return screen.place.Holds(at) || (orArea && screen.area.Holds(at));
    }
    i32 x = 0, y = 0;
    return LocalPoint(item, x, y) && (target.place.contains(x, y) || (orArea && target.area.contains(x, y)));
}

bool cMoveItemsManager::Remap() const {
    const SpyPoint offset = m_pTransform->Offset(), divisor = m_pTransform->Divisor();
    if (m_Mapping != 0 && offset == m_MappedOffset && divisor == m_MappedDivisor)
        return m_MappingOrdered;
    m_MappedOffset = offset;
    m_MappedDivisor = divisor;
    ++m_Mapping;
    // Only a transform that keeps order maps a rectangle to one range of screen points.
    m_MappingOrdered = std::isfinite(offset.x) && std::isfinite(offset.y) && std::isfinite(divisor.x) &&
                       std::isfinite(divisor.y) && divisor.x > 0 && divisor.y > 0;
    return m_MappingOrdered;
}

void cMoveItemsManager::MapToScreen(const Target& target) const {
    target.screen.area = ToScreen(target.area);
    target.screen.place = ToScreen(target.place);
    target.screen.mapping = m_Mapping;
}

cMoveItemsManager::ScreenRect cMoveItemsManager::ToScreen(const aRect& rect) const {
    const auto roundedX = [this](f32 x) { return RoundToShort(m_pTransform->ScreenToLocal(x, 0).x); };
    const auto roundedY = [this](f32 y) { return RoundToShort(m_pTransform->ScreenToLocal(0, y).y); };
    return {FirstAtLeast(roundedX, rect.x), LastAtMost(roundedX, rect.x + rect.w - 1),
            FirstAtLeast(roundedY, rect.y), LastAtMost(roundedY, rect.y + rect.h - 1)};
}

cMoveItemsManager::Targets::const_iterator cMoveItemsManager::TargetUnder(const CSpyItem* item) const {
    i32 x = 0, y = 0;
    if (!LocalPoint(item, x, y))
        return m_Rects.end();
    return std::find_if(m_Rects.begin(), m_Rects.end(),
                        [x, y](const auto& entry) { return Holds(entry.second, x, y); });
}

CSpyItem* cMoveItemsManager::GetItemInRect(const std::string& name) const {
    const Target* target = FindNamed(m_Rects, name);
    if (!target)
        return nullptr;
    const bool mapped = Remap();
    const auto lying = std::find_if(m_Items.begin(), m_Items.end(), [&](const CSpyItem* item) {
        return !item->IsInInventory() && Lies(item, *target, true, mapped);
    });
    return lying == m_Items.end() ? nullptr : *lying;
}

bool cMoveItemsManager::IsItemInRect(const CSpyItem* item, const std::string& name) const {
    const Target* target = GetTarget(name);
    return target && IsItemInPlace(item, *target);
}

const cMoveItemsManager::Target* cMoveItemsManager::GetTarget(const std::string& name) const {
    return FindNamed(m_Rects, name);
}

bool cMoveItemsManager::IsItemInPlace(const CSpyItem* item, const Target& target) const {
    return Lies(item, target, false, Remap());
}

void cMoveItemsManager::AreItemsInPlaces(const std::vector<CSpyItem*>& items,
                                         const std::vector<const Target*>& targets,
                                         std::vector<u8>& inPlace) const {
    const bool mapped = Remap();
    inPlace.assign(items.size(), 0);
    for (size_t i = 0; i < items.size() && i < targets.size(); ++i)
        inPlace[i] = targets[i] && Lies(items[i], *targets[i], false, mapped);
}

cMoveItemsManager::Targets::const_iterator cMoveItemsManager::FreeTargetUnderCarried() const {
    const auto target = TargetUnder(m_pCarried);
    if (target == m_Rects.end() || !target->second.enabled || GetItemInRect(target->first))
        return m_Rects.end();
    return target;
}

std::string cMoveItemsManager::GetRectUnderItem() const {
    const auto target = FreeTargetUnderCarried();
    return target == m_Rects.end() ? std::string() : target->first;
}

std::string cMoveItemsManager::GetRectOfItem(const CSpyItem* item) const {
    // One item against many targets: its room point, found once.
    i32 x = 0, y = 0;
    if (LocalPoint(item, x, y))
        for (const auto& [name, target] : m_Rects)
            if (target.place.contains(x, y))
                return name;
    return std::string();
}

void cMoveItemsManager::GetItems(std::list<CSpyItem*>& out) const {
    out.insert(out.end(), m_Items.begin(), m_Items.end());
}

void cMoveItemsManager::ClearLastMove() {
    m_pLastMoved = nullptr;
    m_LastWasPut = false;
}

void cMoveItemsManager::Reset() {
    ClearLastMove();
    m_pCarried = nullptr;
    m_Drag.lastItem = nullptr;
    m_Drag.displaced = nullptr;
    m_Drag.rectName.clear();
    for (auto& [name, target] : m_Rects)
        target.enabled = true;
    for (auto& [item, enabled] : m_Enabled)
        enabled = true;
}

CSpyItem* cMoveItemsManager::ProcessMouse(f32, CSpyItem* held, CSpyItem* under) {
    m_Drag.lastAction = ActionNone;
    m_pCarried = IsMovable(held, true) && !held->IsLocked() ? held : nullptr;
    if (LeftButtonState() != KEY_PRESSED)
        return held;
    if (m_pCarried)
        return DropCarried(held, under);
    if (!held && m_Drag.allowTake && IsMovable(under, true)) {
        m_Drag.lastAction = ActionTake;
        Take(under);
        return under;
    }
    return held;
}

CSpyItem* cMoveItemsManager::DropCarried(CSpyItem* held, CSpyItem* under) {
    const auto target = TargetUnder(m_pCarried);
    if (target == m_Rects.end() || !target->second.enabled)
        return held;
    CSpyItem* lying = GetItemInRect(target->first);
    if (!lying) {
        if (!m_Drag.allowPut)
            return held;
        m_Drag.lastAction = ActionPut;
        Put(m_pCarried, target->first, target->second, nullptr);
        return nullptr;
    }
    // Only an item this manager took may trade places: it knows where that one came from.
    if (!m_Drag.allowSwap || m_pCarried != m_pLastMoved || m_LastWasPut)
        return held;
    CSpyItem* other = IsMovable(under, true) ? under : lying;
    if (!IsMovable(other, true))
        return held;
    m_Drag.lastAction = ActionSwap;
    const SpyPoint origin = m_pTransform->LocalToScreen(m_Origin.x, m_Origin.y);
    other->SetPos(origin.x, origin.y);
    Put(m_pCarried, target->first, target->second, other);
    return nullptr;
}

void cMoveItemsManager::Put(CSpyItem* item, const std::string& name, const Target& target,
                            CSpyItem* displaced) {
    m_Drag.rectName = name;
    m_Drag.lastItem = item;
    m_Drag.displaced = displaced;
    const SpyPoint corner = m_pTransform->LocalToScreen(target.place.x, target.place.y);
    item->SetPos(corner.x, corner.y);
    item->SetInInventory(false);
    item->SetVisible(true);
    Record(item, true);
    m_OnPut.Call();
}

void cMoveItemsManager::Take(CSpyItem* item) {
    m_Drag.rectName.clear();
    m_Drag.lastItem = item;
    m_Drag.displaced = nullptr;
    item->SetInInventory(true);
    Record(item, false);
    m_OnTake.Call();
}

void cMoveItemsManager::Record(CSpyItem* item, bool put) {
    m_pLastMoved = item;
    m_LastWasPut = put;
    const SpyPoint screen = item->GetPos();
    m_Origin = m_pTransform->ScreenToLocal(screen.x, screen.y);
}

void cMoveItemsManager::Render(aGDI* gdi) {
    if (gdi)
        for (const auto& [name, target] : m_Rects) {
            const SpyPoint corner = m_pTransform->LocalToScreen(target.area.x, target.area.y);
            const SpyPoint size = m_pTransform->ScaleSize(target.area.w, target.area.h);
            gdi->drawRect(corner.x, corner.y, size.x, size.y, false);
        }
    if (m_Drag.showPreview && m_pCarried)
        RenderPreview();
}

void cMoveItemsManager::RenderPreview() {
    const auto target = FreeTargetUnderCarried();
    if (target == m_Rects.end())
        return;
    const aRect& place = target->second.place;
    const SpyPoint was = m_pCarried->GetPos();
    const SpyPoint corner = m_pTransform->LocalToScreen(place.x, place.y);
    m_pCarried->SetPos(corner.x, corner.y);
    RenderItem(m_pCarried);
    m_pCarried->SetPos(was.x, was.y);
}

void cMoveItemsManager::RenderItem(CSpyItem* item) {
    if (!item)
        return;
    const u32 color = item->GetColor();
    const bool visible = item->IsVisible();
    item->SetColor(m_Drag.previewColor);
    item->SetVisible(true);
    item->Render();
    item->SetColor(color);
    item->SetVisible(visible);
}

u8* cMoveItemsManager::SaveSelf(SaveLoadSystem& sys, u8* pos) const {
    for (const CSpyItem* item : m_Items)
        pos = sys.writeBool(pos, m_Enabled.at(item));
    for (const auto& [name, target] : m_Rects) {
        pos = SaveRect(sys, pos, target.area);
        pos = SaveRect(sys, pos, target.place);
        pos = sys.writeBool(pos, target.enabled);
    }
    pos = sys.writeBool(pos, m_Drag.allowTake);
    pos = sys.writeBool(pos, m_Drag.allowPut);
    pos = sys.writeBool(pos, m_Drag.allowSwap);
    pos = sys.writeU32(pos, m_Drag.previewColor);
    pos = sys.writeU32(pos, m_Drag.lastAction);
    pos = sys.writeString(pos, m_Drag.rectName);
    pos = SaveItemRef(sys, pos, m_Drag.displaced);
    pos = SaveItemRef(sys, pos, m_Drag.lastItem);
    pos = sys.writeBool(pos, m_Drag.showPreview);
    pos = sys.writeF32(pos, m_Origin.x);
    pos = sys.writeF32(pos, m_Origin.y);
    pos = sys.writeBool(pos, m_LastWasPut);
    pos = SaveItemRef(sys, pos, m_pLastMoved);
    return SaveItemRef(sys, pos, m_pCarried);
}

const u8* cMoveItemsManager::LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) {
    for (const CSpyItem* item : m_Items)
        pos = sys.readBool(pos, m_Enabled.at(item));
    for (auto& [name, target] : m_Rects) {
        pos = LoadRect(sys, pos, target.area);
        pos = LoadRect(sys, pos, target.place);
        pos = sys.readBool(pos, target.enabled);
        target.screen.mapping = 0;
    }
    pos = sys.readBool(pos, m_Drag.allowTake);
    pos = sys.readBool(pos, m_Drag.allowPut);
    pos = sys.readBool(pos, m_Drag.allowSwap);
    pos = sys.readU32(pos, m_Drag.previewColor);
    pos = sys.readU32(pos, m_Drag.lastAction);
    pos = sys.readString(pos, m_Drag.rectName);
    pos = LoadItemRef(rooms, sys, pos, m_Drag.displaced);
    pos = LoadItemRef(rooms, sys, pos, m_Drag.lastItem);
    pos = sys.readBool(pos, m_Drag.showPreview);
    pos = sys.readF32(pos, m_Origin.x);
    pos = sys.readF32(pos, m_Origin.y);
    pos = sys.readBool(pos, m_LastWasPut);
    pos = LoadItemRef(rooms, sys, pos, m_pLastMoved);
    return LoadItemRef(rooms, sys, pos, m_pCarried);
}
