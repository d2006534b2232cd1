#include "game/SpyGame/CSpyItem.h"

#include "game/CParticleManager.h"
#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CRoomItemLookup.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "game/SpyGame/CSpyObjManager.h"
#include "game/SpyGame/CSpyObject.h"
#include "game/SpyGame/RandomFloat.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aParticleSystem.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/sound/aSoundManager.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr f32 HighlightLevel = 0.5f;
constexpr f32 FlashCycle = 1.0f;
constexpr f32 MagicStarsArea = 400.0f;
constexpr u32 MagicStarsMinimum = 12;
const std::string CompanionPrefix = "#s_";

std::string optionalText(const aOptionsFile& ini, const char* key) {
    return ini.hasKey(key) ? ini.getString(key) : std::string();
}

i32 optionalNumber(const aOptionsFile& ini, const char* key, i32 fallback) {
    return ini.hasKey(key) ? ini.getInt(key) : fallback;
}

bool optionalFlag(const aOptionsFile& ini, const char* key, bool fallback) {
    return optionalNumber(ini, key, fallback ? 1 : 0) != 0;
}

void setRenderMode(u32 mode) {
    if (aGraphServer* graph = aApplication::graphServer())
        graph->setRenderMode(mode);
}

// Where `object` goes when the thing it keeps its offset to moves from `from` to `to`.
void follow(CSpyObject* object, SpyPoint from, SpyPoint to) {
    if (!object)
        return;
    const SpyPoint p = object->GetPos();
    object->SetPos(to.x + (p.x - from.x), to.y + (p.y - from.y));
}

} // namespace

CSpyItem::~CSpyItem() = default;

void CSpyItem::OneTimeInit(CRoomItemLookup* rooms, CSpyItemManager* items, CSpyObjManager* objects,
                           const std::string& roomName, aOptionsFile& ini, const std::string& name) {
    m_rooms = rooms;
    m_items = items;
    m_objects = objects;
    m_def.name = name;
    m_def.roomName = roomName;
    ReadDefinition(ini);
    ReadSounds(ini);
}

void CSpyItem::ReadDefinition(aOptionsFile& ini) {
    m_def.group = optionalText(ini, "Group");
    m_def.object = optionalText(ini, "Object");
    m_def.diffLevel = u8(optionalNumber(ini, "DiffLevel", 1));
    m_def.visible = optionalFlag(ini, "Visible", true);
    m_def.isISpyItem = optionalFlag(ini, "IsISpyItem", false);
    m_def.iSpyGroup = optionalText(ini, "ISpyGroup");
    if (ini.hasKey("IsQuestItem")) {
        if (m_def.isISpyItem)
            log("CSpyItem::OneTimeInit(). Error, item '%s' have two mutually exclusive flags - IsISpyItem "
                "and "
                "IsQuestItem!",
                m_def.name.c_str());
        m_def.questBits = u8(ini.getInt("IsQuestItem"));
    }
    m_def.notVanishOnApply = optionalFlag(ini, "NotVanishOnApply", false);
    m_def.highlightOnHover = optionalFlag(ini, "HighlightOnMouseHover", false);
    m_def.flash = optionalFlag(ini, "Flash", false);
    m_def.smoothFlash = optionalFlag(ini, "SmoothFlash", false);
    m_def.magicStars = optionalFlag(ini, "MagicStars", false);
    m_def.highlightForLocked = optionalFlag(ini, "HighlightForLocked", false);
    m_def.autoLock = optionalFlag(ini, "AutoLockAfterOneUse", false);
    m_def.autoActivate = optionalFlag(ini, "AutoActivateOnUnlock", false);
    m_def.autoPick = optionalFlag(ini, "AutoPickItem", false);
    m_def.hoverObject = optionalText(ini, "ObjectOnMouseHover");
    m_def.lockedObject = optionalText(ini, "ObjectOnItemLocked");
    m_def.usedItem = optionalText(ini, "UsedItem");
    m_def.winEvent = optionalText(ini, "IsWinItem");
    m_def.dependAccessItem = optionalText(ini, "DependenceFromAccessItem");
    m_def.dependAccessGroup = optionalText(ini, "DependenceFromAccessGroup");
    m_def.dependVisibleItem = optionalText(ini, "DependenceFromVisibleItem");
    m_def.dependVisibleGroup = optionalText(ini, "DependenceFromVisibleGroup");
    m_def.dependInvisibleItem = optionalText(ini, "DependenceFromInvisibleItem");
    m_def.dependInvisibleGroup = optionalText(ini, "DependenceFromInvisibleGroup");
    if (ini.hasKey("AutoRestartAnim")) {
        f32 low = 0, high = 0;
        if (std::sscanf(ini.getString("AutoRestartAnim").c_str(), "%f/%f", &low, &high) < 2)
            high = low;
        m_def.restartMin = low;
        m_def.restartMax = high;
    }
    m_def.userData = optionalText(ini, "UserData");
}

void CSpyItem::ReadSounds(aOptionsFile& ini) {
    static const char* const keys[SoundCount] = {
        "SoundOnClickUse", "SoundOnBadClickUse", "SoundOnApplyItemToItem", "SoundOnBadApplyItemToItem",
        "SoundOnUnlock",   "SoundOnPick",        "SoundOnStartAnim"};
    aSoundManager* sounds = CResManager::exists() ? CResManager::getSingleton()->getSoundManager() : nullptr;
    for (int i = 0; i < SoundCount; ++i) {
        if (!sounds || !ini.hasKey(keys[i]))
            continue;
        const std::string name = ini.getString(keys[i]);
        // The room's own sound first; a shared one reports itself when missing.
        m_def.sounds[i] = sounds->hasSound(name, m_def.roomName) ? sounds->getSound(name, m_def.roomName)
                                                                 : sounds->getSound(name);
    }
}

void CSpyItem::InitBare(CRoomItemLookup* rooms, CSpyItemManager* items, CSpyObjManager* objects,
                        const std::string& name, const std::string& roomName, const std::string& object,
                        bool visible) {
    m_rooms = rooms;
    m_items = items;
    m_objects = objects;
    m_def.name = name;
    m_def.roomName = roomName;
    m_def.object = object;
    m_def.visible = visible;
    m_def.diffLevel = 1;
}

void CSpyItem::CopyFrom(const CSpyItem& source) {
    m_rooms = source.m_rooms;
    m_items = source.m_items;
    m_objects = source.m_objects;
    m_def = source.m_def;
    m_bound = source.m_bound;
    m_emitter = source.m_emitter;
    m_state = source.m_state;
}

void CSpyItem::SetIdentity(const std::string& name, const std::string& object, CSpyObject* main) {
    m_def.name = name;
    m_def.object = object;
    m_bound.main = main;
}

// ---- Reset and binding ----

CSpyObject* CSpyItem::BindObject(const std::string& name, CSpyObject*& companion) const {
    companion = nullptr;
    if (name.empty() || !m_objects)
        return nullptr;
    CSpyObject* object = m_objects->GetObject(name);
    if (object && m_objects->HasObject(CompanionPrefix + name))
        companion = m_objects->GetObject(CompanionPrefix + name);
    return object;
}

void CSpyItem::BindObjects() {
    m_bound.main = BindObject(m_def.object, m_bound.mainCompanion);
    m_bound.hover = BindObject(m_def.hoverObject, m_bound.hoverCompanion);
    m_bound.locked = BindObject(m_def.lockedObject, m_bound.lockedCompanion);
}

template <class F> void CSpyItem::ForEachObject(F f) const {
    for (CSpyObject* object : {m_bound.main, m_bound.mainCompanion, m_bound.hover, m_bound.hoverCompanion,
                               m_bound.locked, m_bound.lockedCompanion})
        if (object)
            f(*object);
}

void CSpyItem::Reset() {
    BindObjects();
    ForEachObject([](CSpyObject& o) { o.Reset(); });
    m_state.smoothValue = 0;
    m_state.flashTimer = 0;
    m_state.visible = m_def.visible;
    m_state.smoothFlash = m_def.smoothFlash;
    m_state.flash = m_def.flash;
    m_state.highlightOnHover = m_def.highlightOnHover;
    m_state.inInventory = false;
    m_state.highlight = false;
    m_state.smoothRising = true;
    SetMagicStars(m_def.magicStars);
    m_state.requirementMet = m_def.usedItem.empty();
    m_state.highlightForLocked = m_def.highlightForLocked;
    m_state.win = false;
    m_state.disabled = false;
    m_state.locked = true;
    m_state.showCompanion = true;
    m_state.userData = m_def.userData;
    DrawRestartTimer();
    CheckGroupsExist();
}

void CSpyItem::DrawRestartTimer() {
    m_state.restartTimer = RandomFloat(m_def.restartMin, m_def.restartMax);
}

void CSpyItem::CheckGroupsExist() const {
    for (const std::string* group :
         {&m_def.dependAccessGroup, &m_def.dependVisibleGroup, &m_def.dependInvisibleGroup})
        if (!group->empty() && (!m_items || !m_items->GetGroupItems(*group)))
            log("Item '%s' - not exist dependence group with name '%s'", m_def.name.c_str(), group->c_str());
}

// ---- Locking ----

CSpyItem* CSpyItem::FindItem(const std::string& name, bool quiet) const {
    if (name.find(':') != std::string::npos) {
        std::string room, item;
        SplitFullItemName(name, room, item);
        if (!m_rooms || (quiet && !m_rooms->HasItem(room, item)))
            return nullptr;
        return m_rooms->GetItem(room, item);
    }
    if (!m_items || (quiet && !m_items->HasItem(name)))
        return nullptr;
    return m_items->GetItem(name);
}

CSpyItem* CSpyItem::FindDependence(const std::string& name) const {
    return name.empty() ? nullptr : FindItem(name, true);
}

// Whether every member of the group (by the manager's index) satisfies `holds`; a missing group does.
bool CSpyItem::GroupMatches(const std::string& group, bool (*holds)(const CSpyItem&)) const {
    if (group.empty() || !m_items)
        return true;
    const auto* members = m_items->GetGroupItems(group);
    if (!members)
        return true;
    return std::all_of(members->begin(), members->end(),
                       [&](const CSpyItem* item) { return item->m_def.group != group || holds(*item); });
}

bool CSpyItem::CanUnlock() {
    if (m_state.disabled || !m_state.requirementMet)
        return false;
    const CSpyItem* access = FindDependence(m_def.dependAccessItem);
    if (access && access->IsLocked())
        return false;
    if (!GroupMatches(m_def.dependAccessGroup, [](const CSpyItem& i) { return !i.IsLocked(); }))
        return false;
    const CSpyItem* visible = FindDependence(m_def.dependVisibleItem);
    if (visible && !visible->IsVisible())
        return false;
    if (!GroupMatches(m_def.dependVisibleGroup, [](const CSpyItem& i) { return i.IsVisible(); }))
        return false;
    const CSpyItem* invisible = FindDependence(m_def.dependInvisibleItem);
    if (invisible && invisible->IsVisible())
        return false;
    return GroupMatches(m_def.dependInvisibleGroup, [](const CSpyItem& i) { return !i.IsVisible(); });
}

void CSpyItem::Unlock() {
    if (!m_state.locked)
        return;
    m_state.locked = false;
    PlaySound(UnlockSound);
    if (m_def.winEvent == "UNLOCKED")
        m_state.win = true;
}

void CSpyItem::Lock() {
    if (m_state.locked)
        return;
    m_state.locked = true;
    if (!m_def.usedItem.empty())
        m_state.requirementMet = false;
    if (m_def.winEvent == "UNLOCKED")
        m_state.win = false;
}

void CSpyItem::UpdateLock() {
    const bool can = CanUnlock();
    if (IsLocked() && can) {
        Unlock();
        if (m_def.autoActivate)
            ClickUse();
    } else if (!IsLocked() && !can) {
        Lock();
    }
}

// ---- Frame step ----

void CSpyItem::FrameMove(f32 dt) {
    if (m_bound.main && m_state.visible) {
        ForEachObject([dt](CSpyObject& o) { o.FrameMove(dt); });
        if (!m_bound.main->IsAnimPlaying() && m_def.restartMax != 0) {
            m_state.restartTimer -= dt;
            if (m_state.restartTimer <= 0) {
                DrawRestartTimer();
                StartAnim(-1);
            }
        }
        if (!HighlightForLockedOff())
            StepEffects(dt);
    }
    UpdateLock();
    m_state.hovered = false;
}

void CSpyItem::StepEffects(f32 dt) {
    if (m_emitter && m_state.magicStars)
        m_emitter->update(dt);
    if (m_state.flash) {
        if (m_state.highlightOnHover && m_state.hovered) {
            m_state.flashTimer = 0;
        } else {
            m_state.flashTimer += dt;
            if (m_state.flashTimer >= FlashCycle)
                m_state.flashTimer = 0;
        }
    }
    if (m_state.smoothFlash)
        StepSmoothFlash(dt);
}

void CSpyItem::StepSmoothFlash(f32 dt) {
    if (m_state.highlight || (m_state.hovered && m_state.highlightOnHover)) {
        m_state.smoothRising = true;
        m_state.smoothValue = 0;
    } else if (m_state.smoothRising) {
        m_state.smoothValue += dt;
        if (m_state.smoothValue >= 1.0f) {
            m_state.smoothValue = 1.0f;
            m_state.smoothRising = false;
        }
    } else {
        m_state.smoothValue -= dt;
        if (m_state.smoothValue <= 0) {
            m_state.smoothValue = 0;
            m_state.smoothRising = true;
        }
    }
}

void CSpyItem::FrameMoveObject(f32 dt) {
    if (m_bound.main)
        m_bound.main->FrameMove(dt);
}

// ---- Drawing ----

CSpyItem::Pair CSpyItem::ShownObjects() const {
    if (IsLocked())
        return m_bound.locked ? Pair{m_bound.locked, m_bound.lockedCompanion}
                              : Pair{m_bound.main, m_bound.mainCompanion};
    if (m_state.hovered && m_bound.hover)
        return {m_bound.hover, m_bound.hoverCompanion};
    return {m_bound.main, m_bound.mainCompanion};
}

f32 CSpyItem::HighlightStrength() const {
    if (m_state.highlight || (m_state.hovered && m_state.highlightOnHover))
        return HighlightLevel;
    f32 strength = 0;
    if (m_state.flash && m_state.flashTimer >= FlashCycle / 2)
        strength = HighlightLevel;
    if (m_state.smoothFlash)
        strength = m_state.smoothValue * HighlightLevel;
    return strength;
}

void CSpyItem::Render() {
    if (!m_state.visible || !m_bound.main)
        return;
    const Pair shown = ShownObjects();
    if (m_state.showCompanion && shown.companion) {
        shown.companion->Render();
        shown.companion->RenderText();
    }
    shown.object->Render();
    const bool effects = !HighlightForLockedOff();
    const f32 strength = effects ? HighlightStrength() : 0;
    if (strength != 0 && shown.object != m_bound.hover)
        RenderHighlight(*shown.object, strength);
    shown.object->RenderText();
    if (effects && m_emitter && m_state.magicStars)
        m_emitter->render();
}

// The object again, added onto itself with its alpha scaled by the strength.
void CSpyItem::RenderHighlight(CSpyObject& shown, f32 strength) const {
    const u32 color = shown.GetColor();
    const u32 alpha = u32(f32(color >> 24) * strength);
    shown.SetColor((color & 0x00FFFFFF) | (alpha << 24));
    setRenderMode(1);
    shown.Render();
    shown.SetColor(color);
    setRenderMode(0);
}

void CSpyItem::RenderIcon() {
    if (m_def.questBits != 0 && m_bound.main)
        m_bound.main->RenderIcon();
}

// ---- Clicks, inventory and visibility ----

bool CSpyItem::HitTest(i16 x, i16 y) {
    if (m_def.name.starts_with("#s"))
        return false;
    m_state.hovered = m_bound.main && m_bound.main->HitTest(x, y);
    return m_state.hovered;
}

bool CSpyItem::ClickUse() {
    if (IsLocked())
        return false;
    PlaySound(ClickUseSound);
    if (m_def.winEvent == "CLICKUSE")
        m_state.win = true;
    if (m_def.autoLock)
        Lock();
    return true;
}

bool CSpyItem::ApplyItem(const std::string& itemName) {
    if (m_state.disabled || m_state.requirementMet || itemName != m_def.usedItem)
        return false;
    PlaySound(ApplySound);
    m_state.requirementMet = true;
    return true;
}

void CSpyItem::SetVisible(bool on) {
    if (m_state.visible == on)
        return;
    m_state.visible = on;
    if (on && m_def.winEvent == "EXAMINE")
        m_state.win = true;
}

void CSpyItem::SetInInventory(bool on) {
    m_state.inInventory = on;
    if (m_bound.main)
        m_bound.main->SetInInventory(on);
    SetVisible(!on);
    m_state.win = on && m_def.winEvent == "IN_INVENTORY";
}

bool CSpyItem::CanAutoPick() const {
    return m_def.autoPick && !m_state.inInventory && m_state.visible && IsQuestItem() && !IsLocked();
}

void CSpyItem::PlaySound(Sound which) const {
    if (aSound* sound = m_def.sounds[which])
        sound->play(false, aSound::KEEP_VOLUME, aSound::KEEP_PAN);
}

// ---- Geometry ----

SpyPoint CSpyItem::GetPos() const {
    return m_bound.main ? m_bound.main->GetPos() : SpyPoint{};
}

SpyPoint CSpyItem::GetHalfSize() const {
    return {f32(GetWidth() / 2), f32(GetHeight() / 2)};
}

SpyPoint CSpyItem::GetOrigPos() const {
    return m_bound.main ? m_bound.main->GetOrigPos() : SpyPoint{};
}

void CSpyItem::SetPos(f32 x, f32 y) {
    const SpyPoint to{x, y};
    const SpyPoint from = GetPos();
    if (m_bound.main) {
        m_bound.main->SetPos(x, y);
        follow(m_bound.mainCompanion, from, to);
        if (m_emitter) {
            const SpyPoint half = GetHalfSize();
            m_emitter->setPosition(x + half.x, y + half.y);
        }
    }
    for (auto [object, companion] :
         {Pair{m_bound.hover, m_bound.hoverCompanion}, Pair{m_bound.locked, m_bound.lockedCompanion}}) {
        if (!object)
            continue;
        const SpyPoint old = object->GetPos();
        follow(object, m_bound.main ? from : old, to);
        follow(companion, old, object->GetPos());
    }
}

f32 CSpyItem::GetRotation() const {
    return m_bound.main ? m_bound.main->GetRotation() : 0;
}

void CSpyItem::SetRotation(f32 radians) {
    ForEachObject([radians](CSpyObject& o) { o.SetRotation(radians); });
}

SpyPoint CSpyItem::GetScale() const {
    return m_bound.main ? m_bound.main->GetScale() : SpyPoint{};
}

SpyPoint CSpyItem::GetOrigScale() const {
    return m_bound.main ? m_bound.main->GetOrigScale() : SpyPoint{};
}

void CSpyItem::SetScale(SpyPoint scale, bool keepCentre) {
    ForEachObject([&](CSpyObject& o) { o.SetScale(scale, keepCentre); });
    FitEmitter();
}

void CSpyItem::FitEmitter() {
    if (!m_emitter)
        return;
    const u32 halfWidth = GetWidth() / 2, halfHeight = GetHeight() / 2;
    aParticleSystem::Params& params = m_emitter->params();
    params.emitterSize[0] = f32(halfWidth);
    params.emitterSize[1] = f32(halfHeight);
    params.maxParticles = std::max(MagicStarsMinimum, u32(f32(halfWidth) * f32(halfHeight) / MagicStarsArea));
}

void CSpyItem::SetMagicStars(bool on) {
    m_state.magicStars = on;
    if (!on || m_emitter || !m_bound.main || !CResManager::exists())
        return;
    std::shared_ptr<aParticleSystem> stars =
        CResManager::getSingleton()->getParticleManager()->getParticle("MagicStars");
    if (!stars)
        return;
    m_emitter = std::make_shared<aParticleSystem>(*stars);
    m_emitter->reset();
    SetPos(GetPos().x, GetPos().y);
    SetScale(GetScale(), false);
    m_emitter->start();
}

u16 CSpyItem::GetWidth() const {
    return m_bound.main ? u16(m_bound.main->GetWidth()) : 0;
}

u16 CSpyItem::GetHeight() const {
    return m_bound.main ? u16(m_bound.main->GetHeight()) : 0;
}

// The object that shows now: the locked one while locked, the hover one while hovered, else the main.
const CSpyObject* CSpyItem::ShownForColor() const {
    if (IsLocked() && m_bound.locked)
        return m_bound.locked;
    return m_state.hovered && m_bound.hover ? m_bound.hover : m_bound.main;
}

u32 CSpyItem::GetColor() const {
    const CSpyObject* shown = ShownForColor();
    return shown ? shown->GetColor() : 0;
}

u32 CSpyItem::GetOrigColor() const {
    const CSpyObject* shown = ShownForColor();
    return shown ? shown->GetOrigColor() : 0;
}

void CSpyItem::SetColor(u32 argb) {
    ForEachObject([argb](CSpyObject& o) { o.SetColor(argb); });
}

void CSpyItem::SetText(const std::wstring& text) {
    ForEachObject([&](CSpyObject& o) { o.SetText(text); });
}

std::wstring CSpyItem::GetText() const {
    return m_bound.main ? m_bound.main->GetText() : std::wstring();
}

aFont* CSpyItem::GetFont() const {
    return m_bound.main && m_bound.main->GetClassName() == "text" ? m_bound.main->GetFont() : nullptr;
}

// ---- Animation ----

void CSpyItem::StartAnim(i32 mode) {
    PlaySound(StartAnimSound);
    ForEachObject([mode](CSpyObject& o) { o.StartAnim(mode); });
}

bool CSpyItem::IsAnimPlaying() const {
    return m_bound.main && m_bound.main->IsAnimPlaying();
}

void CSpyItem::SetAnimPaused(bool paused) {
    ForEachObject([paused](CSpyObject& o) { o.SetAnimPaused(paused); });
}

u32 CSpyItem::GetFramesCount() const {
    return m_bound.main ? m_bound.main->GetFramesCount() : 0;
}

void CSpyItem::SetFrame(u32 index) {
    if (m_bound.main)
        m_bound.main->SetFrame(index);
}

// ---- Record ----

u8* CSpyItem::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    const State& s = m_state;
    for (bool flag :
         {s.inInventory, s.visible, s.requirementMet, s.highlight, s.win, s.highlightOnHover, s.flash})
        pos = sys.writeBool(pos, flag);
    pos = sys.writeF32(pos, s.flashTimer);
    pos = sys.writeBool(pos, s.smoothFlash);
    pos = sys.writeF32(pos, s.smoothValue);
    for (bool flag : {s.smoothRising, s.magicStars, s.highlightForLocked, s.hovered, s.disabled, s.disabled,
                      s.locked, s.showCompanion})
        pos = sys.writeBool(pos, flag);
    pos = sys.writeF32(pos, s.restartTimer);
    return sys.writeString(pos, s.userData);
}

const u8* CSpyItem::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    State& s = m_state;
    for (bool* flag :
         {&s.inInventory, &s.visible, &s.requirementMet, &s.highlight, &s.win, &s.highlightOnHover, &s.flash})
        pos = sys.readBool(pos, *flag);
    pos = sys.readF32(pos, s.flashTimer);
    pos = sys.readBool(pos, s.smoothFlash);
    pos = sys.readF32(pos, s.smoothValue);
    // The disabled flag is stored twice; the second copy is the one kept.
    for (bool* flag : {&s.smoothRising, &s.magicStars, &s.highlightForLocked, &s.hovered, &s.disabled,
                       &s.disabled, &s.locked, &s.showCompanion})
        pos = sys.readBool(pos, *flag);
    pos = sys.readF32(pos, s.restartTimer);
    pos = sys.readString(pos, s.userData);
    AfterLoad();
    return pos;
}

// The record holds no positions of its own: lay the companions and the emitter out again.
void CSpyItem::AfterLoad() {
    if (!m_state.magicStars) {
        SetPos(GetPos().x, GetPos().y);
        SetScale(GetScale(), false);
    } else if (!m_emitter) {
        SetMagicStars(true);
    }
}
