#include "game/SpyGame/Rooms/CRoomBase.h"

#include "game/CAnimManager.h"
#include "game/CGameIni.h"
#include "game/CParticleManager.h"
#include "game/CResManager.h"
#include "game/GameConstants.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CEvidenceBox.h"
#include "game/SpyGame/Rooms/CInvCards.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/SaveCounts.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/Random.h"
#include "tk2v/sound/aAmbientSoundSystem.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/sound/aSoundManager.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr f32 MinScale = 0.01f;
constexpr const char* RoomSection = "Room";
// The smallest saved hinted name and pick effect.
constexpr u32 MinHintedName = 1;
constexpr u32 MinPickEffect = 4 + 1;

const char* const GlobalSoundNames[] = {"object_click_good", "pick_quest_item", "pick_item_on_cursor",
                                        "found_clue",        "found_inv_card",  "message_appear"};

i16 ScaledSize(u16 size, f32 scale) {
    return i16(TruncToInt(std::floor(f32(size) * scale + 0.5f)));
}

// Scales of 0 stand before the first reset; they count as 1 so that nothing divides by them.
f32 UsableScale(f32 scale) {
    return scale == 0 ? 1.0f : scale;
}

} // namespace

CRoomBase::CRoomBase() = default;

CRoomBase::~CRoomBase() = default;

template <class F> void CRoomBase::ForEachItem(F f) {
    for (m_Items.FirstItem(); !m_Items.IsCursorAtEnd(); m_Items.NextItem())
        f(m_Items.GetCursorItem());
}

std::string CRoomBase::LogPrefix() const {
    return "CRoomBase::AfterLoadInit(). Room '" + m_Name + "', error in Room.ini,";
}

CPersonage* CRoomBase::CurrentPersonage() const {
    return m_pPersonagesManager ? m_pPersonagesManager->GetCurrentPersonage() : nullptr;
}

void CRoomBase::Init(CRoomsManager* rooms, CPersonagesManager* personages, CDialogSpyGamePanel* panel) {
    if (m_State != Constructed)
        return;
    m_pRoomsManager = rooms;
    m_pPersonagesManager = personages;
    m_pGamePanel = panel;
    m_pResManager = CResManager::getSingleton();
    m_State = Initialised;
}

void CRoomBase::LoadResources(const std::string& dataFolder, const std::string& roomName,
                              const aOptionsFile& ini, const std::string& languageFolder) {
    if (m_State == Constructed)
        return;
    UnloadRes();
    m_DataFolder = dataFolder;
    m_Name = roomName;
    m_Ini = ini;
    setName(GetClassName() + " : " + roomName);
    m_bSharedRoom = m_pRoomsManager && m_pRoomsManager->IsSharedRoom(roomName);
    m_bInternalLanguage =
        ini.hasSectionKey(RoomSection, "InternalLanguage") && CGameIni::exists() &&
        ini.getValue(RoomSection, "InternalLanguage") == CGameIni::getSingleton()->GetLanguage();
    QueueResources(languageFolder);
    m_State = ResourcesQueued;
}

void CRoomBase::QueueResources(const std::string& languageFolder) {
    const std::string& data = m_DataFolder;
    std::string sharedData = m_bSharedRoom ? m_pRoomsManager->GetSharedRoomDataFolder(m_Name) : std::string();
    std::string sharedLanguage =
        m_bSharedRoom ? m_pRoomsManager->GetSharedRoomLanguageFolder(m_Name) : std::string();
    // Texts and localised images of the room's language, or of its own "Locale/" folder.
    std::string own = m_bInternalLanguage ? data + "Locale/" : languageFolder;
    std::string shared = m_bInternalLanguage ? sharedData + "Locale/" : sharedLanguage;
    std::string items = m_bSharedRoom ? shared : own;
    m_RoomTextFile = own + "room.txt";
    m_SharedRoomTextFile = m_bSharedRoom ? shared + "room.txt" : std::string();
    m_ItemTextFile = items + "items.txt";
    m_LocaleImageList = items + "_images.list";
    std::string base = m_bSharedRoom ? sharedData : data;
    m_ImageList = base + "Images/_images.list";
    m_AnimationList = base + "animations.ini";
    m_ParticleList = base + "Particles/_particles.list";
    m_SoundList = base + "Sounds/_sounds.list";
    if (!m_pResManager)
        return;
    for (const std::string* list : {&m_ImageList, &m_LocaleImageList})
        if (file_exists(*list))
            m_pResManager->getImageManager()->AddListToTask(*list, m_Name);
    if (file_exists(m_AnimationList))
        m_pResManager->getAnimManager()->addListToTask(m_AnimationList, m_Name);
    if (file_exists(m_ParticleList))
        m_pResManager->getParticleManager()->AddListToTask(m_ParticleList, m_Name);
    if (file_exists(m_SoundList))
        m_pResManager->getSoundManager()->AddListToTask(m_SoundList, m_Name);
    for (const std::string& text : TextFiles())
        if (file_exists(text))
            m_pResManager->getLocaleServer()->loadFile(text, m_Name);
}

std::vector<std::string> CRoomBase::TextFiles() const {
    std::vector<std::string> files{ROOM_COMMON_TEXT_FILE};
    if (m_bSharedRoom)
        files.push_back(m_SharedRoomTextFile);
    files.push_back(m_RoomTextFile);
    files.push_back(m_ItemTextFile);
    return files;
}

void CRoomBase::UnloadRes() {
    if (m_State <= Initialised)
        return;
    StopHint();
    m_Items.DeleteItems();
    // The deleted items must not be reached through any pointer the room keeps.
    m_pRequestedItem = m_pCursorRoomForm = m_pItemUnderCursor = m_pCursorItem = m_pEntryItem = nullptr;
    m_PickEffects.clear();
    m_ShuffleGroups.clear();
    m_AutoPickItems.clear();
    m_pBackground = nullptr;
    if (m_pResManager) {
        if (file_exists(m_AnimationList))
            m_pResManager->getAnimManager()->unloadList(m_AnimationList, m_Name);
        if (file_exists(m_ParticleList))
            m_pResManager->getParticleManager()->unloadList(m_ParticleList, m_Name);
        if (file_exists(m_SoundList))
            m_pResManager->getSoundManager()->unloadList(m_SoundList, m_Name);
        for (const std::string& text : TextFiles())
            if (file_exists(text))
                m_pResManager->getLocaleServer()->unloadFile(text, m_Name);
        for (const std::string* list : {&m_ImageList, &m_LocaleImageList})
            if (file_exists(*list))
                m_pResManager->getImageManager()->unloadList(*list, m_Name);
    }
    m_State = Initialised;
}

bool CRoomBase::IsLoadInitDue() const {
    return m_State == ResourcesQueued && m_pResManager && m_pResManager->isDone();
}

void CRoomBase::AfterLoadInit() {
    if (!IsLoadInitDue())
        return;
    m_Items.CreateItems(m_pRoomsManager, m_Name, m_DataFolder);
    aImageManager* images = m_pResManager->getImageManager();
    m_pBackground = images->hasImage("background", m_Name) ? images->getImage("background", m_Name) : nullptr;
    // Without a background the room has no size and takes no input.
    m_ActiveRect.w = m_pBackground ? m_pBackground->getWidth() : 0;
    m_ActiveRect.h = m_pBackground ? m_pBackground->getHeight() : 0;
    if (m_Ini.selectSection(RoomSection))
        ReadRoomSection();
    m_State = Loaded;
}

void CRoomBase::ReadRoomSection() {
    ReadShuffleGroups();
    ReadAutoPickItems();
    m_bEveryFullReset = m_Ini.hasKey("EveryFullReset") && m_Ini.getInt("EveryFullReset") != 0;
    ReadSounds();
    BuildAmbient();
}

void CRoomBase::ReadShuffleGroups() {
    if (!m_Ini.hasKey("ShuffleGroups"))
        return;
    std::vector<std::string> names;
    m_Ini.getStringList(names, "ShuffleGroups");
    for (const std::string& name : names) {
        if (m_Items.GetGroupItems(name))
            m_ShuffleGroups.push_back(name);
        else
            log("%s ShuffleGroups - group '%s' not exist!", LogPrefix().c_str(), name.c_str());
    }
}

void CRoomBase::ReadAutoPickItems() {
    if (!m_Ini.hasKey("AutoPickItems"))
        return;
    std::vector<std::string> entries;
    m_Ini.getStringList(entries, "AutoPickItems");
    for (const std::string& entry : entries) {
        size_t colon = entry.find(':');
        std::string personage = colon == std::string::npos ? std::string() : entry.substr(0, colon);
        std::string item = colon == std::string::npos ? entry : entry.substr(colon + 1);
        if (personage.empty() || item.empty())
            log("%s bad syntax in key 'AutoPickItems'!", LogPrefix().c_str());
        else if (!m_Items.HasItem(item))
            log("%s AutoPickItems - not find auto pick item '%s'!", LogPrefix().c_str(), item.c_str());
        else
            m_AutoPickItems[personage].push_back(m_Items.GetItem(item));
    }
}

void CRoomBase::ReadSounds() {
    if (!m_pResManager)
        return;
    aSoundManager* sounds = m_pResManager->getSoundManager();
    const char* const roomKeys[] = {"SoundOnEntry", "SoundOnBack", "SoundOnBadClick"};
    for (int slot = SoundOnEntry; slot <= SoundOnBadClick; ++slot) {
        if (!m_Ini.hasKey(roomKeys[slot]))
            continue;
        std::string name = m_Ini.getString(roomKeys[slot]);
        m_Sounds[slot] =
            sounds->hasSound(name, m_Name) ? sounds->getSound(name, m_Name) : sounds->getSound(name);
    }
    if (!m_Sounds[SoundOnBadClick])
        m_Sounds[SoundOnBadClick] = sounds->getSound("object_click_bad");
    for (int slot = SoundClickGood; slot < SoundSlotCount; ++slot)
        m_Sounds[slot] = sounds->getSound(GlobalSoundNames[slot - SoundClickGood]);
}

void CRoomBase::BuildAmbient() {
    std::string folder = m_bSharedRoom ? m_pRoomsManager->GetSharedRoomDataFolder(m_Name) : m_DataFolder;
    std::string file = folder + "Sounds/ambient.ini";
    if (m_pResManager && CGameIni::exists() && CGameIni::getSingleton()->IsAmbientEnabled() &&
        file_exists(file))
        m_pAmbient.reset(new aAmbientSoundSystem(file, m_pResManager->getSoundManager(), "Ambient"));
}

void CRoomBase::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    StopAmbient();
    m_Items.ResetItems();
    m_Origin = {0, 0};
    m_Scale = {1, 1};
    m_pCursorRoomForm = nullptr;
    m_pCursorItem = nullptr;
    m_bSharedMouseInside = m_bSharedMouseOutside = true;
    m_pPersonage = nullptr;
    m_pEntryItem = nullptr;
    bool hasRooms = m_pRoomsManager != nullptr;
    m_pEvidenceBox = hasRooms && m_pRoomsManager->HasRoom(EVIDENCE_BOX_ROOM)
                         ? m_pRoomsManager->GetRoom(EVIDENCE_BOX_ROOM)
                         : nullptr;
    m_pInvCards = hasRooms && m_pRoomsManager->HasRoom(INVESTIGATION_CARDS_ROOM)
                      ? m_pRoomsManager->GetRoom(INVESTIGATION_CARDS_ROOM)
                      : nullptr;
    ShuffleItemPositions();
    AutoPickForPersonages();
    m_HintedNames.clear();
    m_pHintItem = nullptr;
    m_PickEffects.clear();
    m_State = Idle;
}

void CRoomBase::ShuffleItemPositions() {
    for (const std::string& name : m_ShuffleGroups) {
        const CSpyItemManager::ItemList* items = m_Items.GetGroupItems(name);
        size_t n = items ? items->size() : 0;
        for (size_t i = 0; i < n; ++i) {
            size_t j = size_t(platform::rand()) % n;
            CSpyItem* a = (*items)[i];
            CSpyItem* b = (*items)[j];
            SpyPoint posA = a->GetPos();
            SpyPoint posB = b->GetPos();
            a->SetPos(posB.x, posB.y);
            b->SetPos(posA.x, posA.y);
        }
    }
}

void CRoomBase::AutoPickForPersonages() {
    for (const auto& [name, items] : m_AutoPickItems) {
        CPersonage* personage = m_pPersonagesManager ? m_pPersonagesManager->GetPersonage(name) : nullptr;
        if (!personage) {
            log("CRoomBase::Reset(). AutoPickItems - personage '%s' not exist!", name.c_str());
            continue;
        }
        for (CSpyItem* item : items)
            personage->GetInventory().AddItem(item);
    }
}

void CRoomBase::Enter(const std::string& entryName, CSpyItem* entryItem) {
    if (!IsActive() && m_State != Idle)
        return;
    if (m_pAmbient)
        m_pAmbient->start();
    m_EntryName = entryName;
    m_pEntryItem = entryItem;
    RefreshForPersonage();
    if (m_pPersonage) {
        ShowMessage(m_pPersonage->GetRoomEnterText());
        m_pPersonage->GetInventory().SetShown(m_Propertys.InventoryEnabled);
    }
    if (aSound* sound = m_Sounds[SoundOnEntry]; sound && !sound->isPlaying())
        sound->play(false);
    m_State = Playing;
}

void CRoomBase::Leave() {
    if (!IsActive())
        return;
    StopAmbient();
    if (aInputServer* input = aApplication::inputServer(); input && !input->nonExclusive)
        input->initMouse(true, false);
    StopHint();
    std::list<PickEffect> effects;
    effects.swap(m_PickEffects);
    for (const PickEffect& effect : effects) {
        ArrivePickedItem(effect.first);
        if (effect.first->IsQuestItem())
            PutPickedItemToInventory();
    }
    m_State = Idle;
}

void CRoomBase::ArrivePickedItem(CSpyItem* item) {
    if (CPersonage* personage = CurrentPersonage()) {
        personage->SetFocusedItem(item->GetName());
        personage->OnPickFocusedItem();
    }
    if (!item->IsQuestItem()) {
        item->SetInInventory(true);
        return;
    }
    m_pRequestedItem = item;
    item->SetColor(item->GetOrigColor());
    ShowBlockWidget(false);
    m_State = ItemRequested;
}

void CRoomBase::PutPickedItemToInventory() {
    if (m_State != ItemRequested)
        return;
    if (m_pRequestedItem)
        HandOverRequestedItem(*m_pRequestedItem);
    m_State = Playing;
}

void CRoomBase::HandOverRequestedItem(CSpyItem& item) {
    item.SetInInventory(true);
    const std::string name = item.GetName();
    // The rooms are found by name: only a room of the right class takes the evidence or the card.
    if (auto box = dynamic_cast<CEvidenceBox*>(m_pEvidenceBox))
        box->ShowEvidence(name);
    CPersonage* personage = CurrentPersonage();
    auto cards = dynamic_cast<CInvCards*>(m_pInvCards);
    if (cards && personage && personage->GetItemClickUseText(m_Name, name) == "INVCARD") {
        if (!cards->OpenNewCard(name, m_EntryName))
            log("CRoomBase::PutPickedItemToInventory(). Not open investigation card '%s'.", name.c_str());
    } else if (personage && personage->GetItemUseTo(name).second != "NONE") {
        personage->GetInventory().AddItem(&item);
    }
}

void CRoomBase::StopHint() {
    if (m_pHintItem)
        m_pHintItem->SetFlash(false);
    m_pHintItem = nullptr;
}

void CRoomBase::StopAmbient() {
    if (m_pAmbient)
        m_pAmbient->stop();
    if (aSound* sound = m_Sounds[SoundOnEntry]; sound && sound->isPlaying())
        sound->stop();
}

void CRoomBase::SetPosition(SpyPoint position, std::optional<aRect> activeRect) {
    SpyPoint offset{position.x - m_Origin.x, position.y - m_Origin.y};
    ForEachItem([&](CSpyItem* item) {
        if (item->IsInInventory())
            return;
        SpyPoint pos = item->GetPos();
        item->SetPos(pos.x + offset.x, pos.y + offset.y);
    });
    m_Origin = position;
    m_ActiveRect = activeRect ? *activeRect
                              : aRect{i16(TruncToInt(m_Origin.x)), i16(TruncToInt(m_Origin.y)),
                                      u16(GetWidth()), u16(GetHeight())};
}

i16 CRoomBase::GetWidth() const {
    return m_pBackground ? ScaledSize(m_pBackground->getWidth(), m_Scale.x) : 0;
}

i16 CRoomBase::GetHeight() const {
    return m_pBackground ? ScaledSize(m_pBackground->getHeight(), m_Scale.y) : 0;
}

void CRoomBase::SetScale(SpyPoint scale, bool keepCentre) {
    SpyPoint next{std::max(scale.x, MinScale), std::max(scale.y, MinScale)};
    SpyPoint old{UsableScale(m_Scale.x), UsableScale(m_Scale.y)};
    SpyPoint oldOrigin = m_Origin;
    if (keepCentre) {
        f32 width = m_pBackground ? m_pBackground->getWidth() : 0;
        f32 height = m_pBackground ? m_pBackground->getHeight() : 0;
        m_Origin.x += (old.x - next.x) * width / 2;
        m_Origin.y += (old.y - next.y) * height / 2;
    }
    SpyPoint difference{next.x - old.x, next.y - old.y};
    ForEachItem([&](CSpyItem* item) {
        SpyPoint itemScale = item->GetScale();
        item->SetScale({itemScale.x + difference.x, itemScale.y + difference.y}, false);
        if (item->IsInInventory())
            return;
        SpyPoint pos = item->GetPos();
        item->SetPos(m_Origin.x + (pos.x - oldOrigin.x) / old.x * next.x,
                     m_Origin.y + (pos.y - oldOrigin.y) / old.y * next.y);
    });
    m_Scale = next;
}

aSound* CRoomBase::GetSound(const std::string& name) const {
    if (!m_pResManager)
        return nullptr;
    aSoundManager* sounds = m_pResManager->getSoundManager();
    if (sounds->hasSound(name, m_Name))
        return sounds->getSound(name, m_Name);
    return sounds->hasSound(name) ? sounds->getSound(name) : nullptr;
}

void CRoomBase::SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm, std::optional<SpyPoint> grabOffset) {
    m_pCursorItem = item;
    m_pCursorRoomForm = roomForm;
    m_GrabOffset = grabOffset.value_or(SpyPoint{0, 0});
    ShowBlockWidget(item != nullptr);
}

std::string CRoomBase::GetRequestedRoom() {
    if (m_State != RoomRequested)
        return {};
    Leave();
    return m_Target;
}

std::string CRoomBase::GetRequestedZoomRoom() {
    if (m_State != ZoomRoomRequested)
        return {};
    Leave();
    return m_Target;
}

void CRoomBase::RefreshForPersonage() {
    m_pPersonage = CurrentPersonage();
    if (m_pPersonage) {
        m_pPersonage->EnterRoom(m_Name);
        if (m_pGamePanel) {
            CPersonage::CRoomInfo& info = m_pPersonage->GetRoomInfo(m_Name);
            m_pGamePanel->ShowRoomTasks(info.m_RoomTask, &info.m_TaskList, m_Name);
        }
        ForEachItem([&](CSpyItem* item) {
            std::string kind = item->GetClassName();
            if (kind == "Door" || kind == "ZoomRoom")
                item->SetDisabled(!m_pPersonage->IsItemUsedOnSelf(m_Name, item->GetName()));
        });
    }
    CollectHintItems();
}

void CRoomBase::ShowMessage(const std::string& textId) {
    if (!textId.empty() && m_pGamePanel)
        m_pGamePanel->ShowMessage(textId, m_Name, true);
}

void CRoomBase::ForgetRoom(const CRoomBase* room) {
    if (m_pEvidenceBox == room)
        m_pEvidenceBox = nullptr;
    if (m_pInvCards == room)
        m_pInvCards = nullptr;
}

CSpyItem* CRoomBase::ResolveFullName(const std::string& fullName) const {
    if (fullName.empty() || !m_pRoomsManager)
        return nullptr;
    return m_pRoomsManager->GetItemByFullName(fullName);
}

void CRoomBase::SaveChildren(SaveLoadSystem& sys) {
    sys.SaveEntity(m_Items);
}

void CRoomBase::LoadChildren(SaveLoadSystem& sys) {
    sys.LoadEntity(m_Items);
}

u8* CRoomBase::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = m_Propertys.SaveSelf(sys, pos);
    pos = sys.writeU32(pos, m_State);
    for (f32 value : {m_Origin.x, m_Origin.y, m_Scale.x, m_Scale.y})
        pos = sys.writeF32(pos, value);
    for (i16 value : {m_ActiveRect.x, m_ActiveRect.y, i16(m_ActiveRect.w), i16(m_ActiveRect.h)})
        pos = sys.writeU16(pos, u16(value));
    pos = sys.writeBool(sys.writeBool(pos, m_bSharedMouseInside), m_bSharedMouseOutside);
    pos = sys.writeString(pos, m_pCursorItem ? m_pCursorItem->GetFullName() : std::string());
    pos = sys.writeString(pos, m_pEntryItem ? m_pEntryItem->GetFullName() : std::string());
    pos = sys.writeString(pos, m_pHintItem ? m_pHintItem->GetName() : std::string());
    pos = sys.writeF32(pos, m_HintTime);
    pos = sys.writeU32(pos, u32(m_HintedNames.size()));
    for (const std::string& name : m_HintedNames)
        pos = sys.writeString(pos, name);
    pos = sys.writeU32(pos, u32(m_PickEffects.size()));
    for (const auto& [item, timer] : m_PickEffects)
        pos = sys.writeString(sys.writeF32(pos, timer), item->GetName());
    return pos;
}

const u8* CRoomBase::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = m_Propertys.LoadSelf(sys, pos);
    u32 state = 0;
    pos = sys.readU32(pos, state);
    // Only a reset room is ever saved; a record claiming an earlier or unknown state would have the
    // room load or reset its items again under the pointers that others keep.
    if (state >= Idle && state <= Playing)
        m_State = state;
    for (f32* value : {&m_Origin.x, &m_Origin.y, &m_Scale.x, &m_Scale.y})
        pos = sys.readF32(pos, *value);
    u16 rect[4] = {};
    for (u16& value : rect)
        pos = sys.readU16(pos, value);
    m_ActiveRect = {i16(rect[0]), i16(rect[1]), rect[2], rect[3]};
    pos = sys.readBool(sys.readBool(pos, m_bSharedMouseInside), m_bSharedMouseOutside);
    std::string cursor, entry, hint;
    pos = sys.readString(sys.readString(sys.readString(pos, cursor), entry), hint);
    m_pCursorItem = ResolveFullName(cursor);
    m_pEntryItem = ResolveFullName(entry);
    m_pHintItem = hint.empty() ? nullptr : m_Items.GetItem(hint);
    pos = sys.readF32(pos, m_HintTime);
    if (m_State == ItemRequested)
        RestoreRequestedItem();
    if (IsActive()) {
        m_pPersonage = CurrentPersonage();
        CollectHintItems();
        if (m_pAmbient)
            m_pAmbient->start();
    }
    return LoadHintsAndEffects(sys, pos);
}

const u8* CRoomBase::LoadHintsAndEffects(SaveLoadSystem& sys, const u8* pos) {
    m_HintedNames.clear();
    m_PickEffects.clear();
    u32 count = 0;
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, MinHintedName, "CRoomBase::LoadSelf() hinted names"))
        return pos + sys.bytesLeftInRecord(pos);
    for (u32 i = 0; i < count; ++i) {
        std::string name;
        pos = sys.readString(pos, name);
        m_HintedNames.insert(name);
    }
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, MinPickEffect, "CRoomBase::LoadSelf() pick effects"))
        return pos + sys.bytesLeftInRecord(pos);
    for (u32 i = 0; i < count; ++i) {
        f32 timer = 0;
        std::string name;
        pos = sys.readString(sys.readF32(pos, timer), name);
        if (CSpyItem* item = m_Items.GetItem(name))
            m_PickEffects.emplace_back(item, timer);
    }
    return pos;
}

// The requested item is not saved: the personage's focused item is the one it picked.
void CRoomBase::RestoreRequestedItem() {
    CPersonage* personage = CurrentPersonage();
    bool known =
        personage && personage->GetFocusedRoom() == m_Name && m_Items.HasItem(personage->GetFocusedItem());
    m_pRequestedItem = known ? m_Items.GetItem(personage->GetFocusedItem()) : nullptr;
    if (!m_pRequestedItem)
        m_State = Playing;
}
