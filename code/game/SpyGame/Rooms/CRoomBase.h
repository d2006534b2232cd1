#pragma once
#include "game/SaveLoadEntity.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "game/SpyGame/Rooms/CRoomPropertys.h"
#include "game/SpyGame/SpyPoint.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aRect.h"

#include <boost/shared_ptr.hpp>

#include <list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class aAmbientSoundSystem;
class aImage;
class aSound;
class CDialogSpyGamePanel;
class CPersonage;
class CPersonagesManager;
class CResManager;
class CRoomsManager;
class CSpyItem;

// A location of an investigation: its items, its room.ini, background, sounds and ambient sound,
// and its part of a frame of play. Every room class derives from it and overrides the virtual
// operations below, whose order is the order of the table every room class shares.
class CRoomBase : public SaveLoadEntity {
public:
    enum State : u32 {
        Constructed = 0,
        Initialised = 1,
        ResourcesQueued = 2,
        Loaded = 3,
        Idle = 4,
        RoomRequested = 5,
        ZoomRoomRequested = 6,
        PickShowing = 7,
        ItemRequested = 8,
        Playing = 9,
    };

    static const char* GetClassStaticName() { return "RoomBase"; }

    CRoomBase();
    ~CRoomBase() override;
    CRoomBase(const CRoomBase&) = delete;
    CRoomBase& operator=(const CRoomBase&) = delete;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    void SaveChildren(SaveLoadSystem& sys) override;
    void LoadChildren(SaveLoadSystem& sys) override;
    virtual std::string GetClassName() const { return GetClassStaticName(); }
    virtual void Init(CRoomsManager* rooms, CPersonagesManager* personages, CDialogSpyGamePanel* panel);
    virtual void AfterLoadInit();
    virtual void LoadResources(const std::string& dataFolder, const std::string& roomName,
                               const aOptionsFile& ini, const std::string& languageFolder);
    virtual void UnloadRes();
    virtual void Reset();
    virtual void Enter(const std::string& entryName, CSpyItem* entryItem);
    virtual void Leave();
    virtual u32 FrameMove(f32 dt, bool paused);
    // Answers false in every room class.
    virtual bool QueryFlag() const { return false; }
    virtual void Render();
    virtual void RenderCursorItem();
    virtual std::string GetName() const { return m_Name; }
    virtual u32 GetState() const { return m_State; }
    virtual CRoomPropertys& GetPropertys() { return m_Propertys; }
    virtual void SetPosition(SpyPoint position, std::optional<aRect> activeRect = std::nullopt);
    virtual SpyPoint GetPosition() const { return m_Origin; }
    virtual i16 GetWidth() const;
    virtual i16 GetHeight() const;
    virtual void SetScale(SpyPoint scale, bool keepCentre);
    virtual SpyPoint GetScale() const { return m_Scale; }
    virtual CSpyItem* GetItemUnderCursor();
    virtual CSpyItemManager& GetItemManager() { return m_Items; }
    virtual CSpyItem* GetItem(const std::string& name) { return m_Items.GetItem(name); }
    virtual void SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                                 std::optional<SpyPoint> grabOffset = std::nullopt);
    virtual CSpyItem* GetItemOnCursor() const { return m_pCursorItem; }
    virtual std::string GetRequestedRoom();
    virtual std::string GetRequestedZoomRoom();
    virtual CSpyItem* GetRequestedItem() const {
        return m_State == ItemRequested ? m_pRequestedItem : nullptr;
    }
    virtual void PutPickedItemToInventory();
    virtual void ShowHint();
    virtual void RefreshForPersonage();
    virtual bool ProcessAutoActions();
    virtual bool SolveRoom() { return ProcessAutoActions(); }
    virtual bool CheckItemsFoundInOrigPlace(const std::string& group);
    virtual bool IsActive() const { return m_State >= RoomRequested && m_State <= Playing; }
    virtual void HandleCursorItemInput(f32 dt);
    virtual bool ApplyCursorItemToItem();
    virtual void HandleInput(f32 dt);
    virtual bool OnClickUseItem();
    virtual bool PickItem(CSpyItem* item, bool animate);
    virtual bool TakeItemOnCursor(CSpyItem* item);
    virtual void ShowMessage(const std::string& textId);
    virtual bool AutoPickNextItem();
    virtual void RenderItems() { m_Items.RenderItems(); }
    virtual void CollectHintItems();
    virtual void StopAmbient();

    // Whether the panel may offer a hint now.
    bool CanShowHint() const { return !m_HintCandidates.empty() && !m_pHintItem; }
    // The loaded sound of that name in the room's group, else the global one, else null.
    aSound* GetSound(const std::string& name) const;
    // The room's own entry and back sounds of its room.ini; null when it names none.
    aSound* GetEntrySound() const { return m_Sounds[SoundOnEntry]; }
    aSound* GetBackSound() const { return m_Sounds[SoundOnBack]; }
    bool IsEveryFullReset() const { return m_bEveryFullReset; }
    const std::string& GetDataFolder() const { return m_DataFolder; }
    CSpyItem* GetHintItem() const { return m_pHintItem; }
    const std::vector<std::string>& GetHintCandidates() const { return m_HintCandidates; }
    const std::set<std::string>& GetHintedNames() const { return m_HintedNames; }
    const aRect& GetActiveRect() const { return m_ActiveRect; }
    CRoomBase* GetEvidenceBox() const { return m_pEvidenceBox; }
    CRoomBase* GetInvCards() const { return m_pInvCards; }
    // The registry dropped that room: this room must not keep pointing at it.
    void ForgetRoom(const CRoomBase* room);

protected:
    // A picked item whose pick effect still runs, and the effect's timer.
    using PickEffect = std::pair<CSpyItem*, f32>;
    // The room's own sounds from room.ini, then the global ones, in the order the room keeps them.
    enum SoundSlot {
        SoundOnEntry,
        SoundOnBack,
        SoundOnBadClick,
        SoundClickGood,
        SoundPickQuestItem,
        SoundPickItemOnCursor,
        SoundFoundClue,
        SoundFoundInvCard,
        SoundMessageAppear,
        SoundSlotCount
    };

    std::string LogPrefix() const;
    // Whether AfterLoadInit reads the room's data now: resources queued and the loading pass over. A
    // class that reads sections of its own asks before the base moves the state on.
    bool IsLoadInitDue() const;
    void ReadRoomSection();
    void ReadShuffleGroups();
    void ReadAutoPickItems();
    void ReadSounds();
    void BuildAmbient();
    void QueueResources(const std::string& languageFolder);
    // The room's text files in the order their texts load.
    std::vector<std::string> TextFiles() const;
    void ShuffleItemPositions();
    void AutoPickForPersonages();
    void StopHint();
    // A picked item whose effect has run counts as taken.
    void ArrivePickedItem(CSpyItem* item);
    // Into the evidence box, the cards or the inventory, as the personage's rules say.
    void HandOverRequestedItem(CSpyItem& item);
    void ShowBlockWidget(bool shown);
    // A widget of the game panel by name; nothing when there is no panel or no such widget.
    void SetPanelWidgetVisible(const std::string& name, bool visible);
    void SetPanelWidgetEnabled(const std::string& name, bool enabled);
    bool MouseInActiveRect() const;
    bool IsMouseOverPanel() const;
    // The carried item, or its room-side twin inside the room, follows the mouse.
    void MoveCursorItem(f32 dt);
    void StepPickEffects(f32 dt);
    void PlayPickSound(const CSpyItem& item, const std::string& clickUse);
    bool ApplyInventoryItem(CPersonage& personage, CSpyItem& item,
                            std::set<std::pair<std::string, std::string>>& applied);
    // Render: the input server's mouse mode that the mouse position asks for.
    void ChooseMouseMode();
    void RenderPickEffects();
    void RenderHintRing();
    template <class F> void ForEachItem(F f);
    void RestoreRequestedItem();
    const u8* LoadHintsAndEffects(SaveLoadSystem& sys, const u8* pos);
    CPersonage* CurrentPersonage() const;
    // "room:item" through the rooms manager; null for an empty name.
    CSpyItem* ResolveFullName(const std::string& fullName) const;

    CResManager* m_pResManager = nullptr;
    bool m_bSharedRoom = false;
    aOptionsFile m_Ini;
    CRoomsManager* m_pRoomsManager = nullptr;
    CPersonagesManager* m_pPersonagesManager = nullptr;
    CDialogSpyGamePanel* m_pGamePanel = nullptr;
    std::string m_Name;
    std::string m_DataFolder;
    bool m_bInternalLanguage = false;
    bool m_bEveryFullReset = false;
    std::list<std::string> m_ShuffleGroups;
    std::map<std::string, std::list<CSpyItem*>> m_AutoPickItems;
    std::string m_RoomTextFile;
    std::string m_SharedRoomTextFile;
    std::string m_ItemTextFile;
    std::string m_LocaleImageList;
    std::string m_ImageList;
    std::string m_ParticleList;
    std::string m_AnimationList;
    std::string m_SoundList;
    aImage* m_pBackground = nullptr;
    std::string m_EntryName;
    CRoomBase* m_pEvidenceBox = nullptr;
    CRoomBase* m_pInvCards = nullptr;
    CSpyItem* m_pRequestedItem = nullptr;
    CSpyItem* m_pCursorRoomForm = nullptr;
    SpyPoint m_GrabOffset;
    CSpyItem* m_pItemUnderCursor = nullptr;
    std::string m_Target;
    boost::shared_ptr<aAmbientSoundSystem> m_pAmbient;
    aSound* m_Sounds[SoundSlotCount] = {};
    CPersonage* m_pPersonage = nullptr;
    std::vector<std::string> m_HintCandidates;
    u32 m_State = Constructed;
    CRoomPropertys m_Propertys;
    CSpyItemManager m_Items;
    SpyPoint m_Origin;
    SpyPoint m_Scale;
    aRect m_ActiveRect;
    bool m_bSharedMouseInside = true;
    bool m_bSharedMouseOutside = true;
    CSpyItem* m_pCursorItem = nullptr;
    CSpyItem* m_pEntryItem = nullptr;
    CSpyItem* m_pHintItem = nullptr;
    f32 m_HintTime = 0;
    std::set<std::string> m_HintedNames;
    std::list<PickEffect> m_PickEffects;
};
