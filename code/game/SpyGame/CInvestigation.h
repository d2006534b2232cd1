#pragma once
#include "game/SaveLoadEntity.h"
#include "game/SpyGame/CPanelTips.h"
#include "game/SpyGame/CTipEvents.h"
#include "game/SpyGame/Events/CSpyEventsManager.h"
#include "game/SpyGame/Events/CStoryWorld.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aRect.h"

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

class aImage;
class aSound;
class CDialogBase;
class CDialogSpyGamePanel;
class CPersonage;
class CPersonagesManager;
class CResManager;
class CRoomBase;
class CRoomsManager;
class CSpyItem;
namespace GUI {
class Style;
class Window;
} // namespace GUI

// One investigation in progress: its folder and ini, its rooms and story events, the room being
// played and the rooms the player came from, and the state saying whether a room, the map, the
// evidence box or the cards are played or a dialog is awaited. The game object keeps one and reuses it
// for every investigation of the list.
class CInvestigation : public SaveLoadEntity, public CStoryWorld {
public:
    enum State : u32 {
        Constructed = 0,
        Wired = 1,
        Loading = 2,
        Loaded = 3,
        Started = 4,
        Playing = 5,
        PhoneCall = 6,
        ItemPick = 7,
        EvidencePick = 8,
        InvCard = 9,
        EvidenceBox = 10,
        InvCards = 11,
        ItemIdent = 12,
        EventForItem = 13,
        Comics = 14,
        Tip = 15,
        PersonagesHelp = 16,
        SearchFinish = 17,
        LocationFinish = 18,
        SolveConfirm = 19,
        Completion = 20,
        Finished = 21,
        OnMap = 22,
        Menu = 23,
    };
    // Rooms use the right-hand part of the screen of this size; the panel the rest.
    static constexpr i16 RoomAreaWidth = 845;
    static constexpr i16 RoomAreaHeight = 768;
    static constexpr u32 StartHintCount = 5;

    CInvestigation();
    ~CInvestigation() override;
    CInvestigation(const CInvestigation&) = delete;
    CInvestigation& operator=(const CInvestigation&) = delete;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    void SaveChildren(SaveLoadSystem& sys) override;
    void LoadChildren(SaveLoadSystem& sys) override;

    void Init(CDialogSpyGamePanel* panel, CRoomsManager* rooms, CPersonagesManager* personages);
    void LoadInvestigation(const std::string& folder, const std::string& name);
    void OnResourcesLoaded();
    void Start(bool carryOver);
    void Entry();
    void Stop();
    void Close();
    void CloseMenu();
    void Render();

    // The frame and the ways between rooms.
    u32 Update(f32 dt);
    void UpdatePlay(f32 dt);
    void OpenMap();
    void GoBack();
    bool OpenEvidenceBox();
    bool OpenInvCards();
    void UpdateNavigationButtons();

    // The story.
    bool ProcessEvents();
    void OnEventChangePersonages();
    bool ShowInvCard(const std::string& name);
    void ShowMessage(const std::string& textId);
    void SelectPersonage(const std::string& name);
    void ApplyEventItemVisibility();

    std::string GetName() const { return m_name; }
    u32 GetState() const { return m_state; }
    u32 GetSavedState() const { return m_savedState; }
    CRoomBase* GetCurrentRoomPtr() const { return m_pCurrentRoom; }
    const std::vector<CRoomBase*>& GetHistory() const { return m_history; }
    const std::string& GetCurrentLocation() const { return m_currentLocation; }
    const std::string& GetStartRoom() const { return m_startRoom; }
    const std::string& GetMusic() const { return m_music; }
    const std::string& GetDataFolder() const { return m_dataFolder; }
    const std::string& GetTextFile() const { return m_textFile; }
    bool IsInternalLanguage() const { return m_internalLanguage != 0; }
    CSpyItem* GetPickedItem() const { return m_pPickedItem; }
    CSpyEventsManager& GetEventsManager() { return m_events; }
    CTipEvents& GetTipEvents() { return m_tipEvents; }
    const aRect& GetRoomArea() const { return m_roomArea; }
    // The frame drawn around a close-up; null before Init.
    GUI::Window* GetFrameWindow() const { return m_frameWindow.get(); }
    // Whether the current room is drawn as a close-up over the room it was opened from.
    bool IsCloseUp() const;

    // What the story events and the tips ask.
    std::string GetInvestigationName() const override { return m_name; }
    bool GetCurrentRoom(std::string& name, std::string& className) const override;
    bool IsHistoryEmpty() const override { return m_history.empty(); }
    bool CanGiveHint() const override;
    bool AreHintsDisabled() const override { return false; }
    bool IsCardOpened() const override;
    bool IsMessageShown() const override;
    CPersonagesManager* GetPersonagesManager() const override { return m_pPersonages; }
    const CRoomItemLookup& GetRooms() const override;

private:
    CRoomBase* FindRoom(const std::string& name) const;
    CPersonage* CurrentPersonage() const;
    void EnterRoom(CRoomBase* room);
    void LeaveCurrentRoom();
    void PushCurrentRoom();
    void RenderRooms();
    void RenderIdentifiedItem();
    void ShowBackdrop(bool shown);
    void EnableButton(const char* name, bool enabled);
    void PlaySound(aSound* sound) const;
    void PlayDialogSound() const { PlaySound(m_pDialogSound); }
    void HideMessageBox();

    // The room frame's results.
    void OnRoomRequested(CRoomBase* from);
    void OnZoomRoomRequested(CRoomBase* from);
    void OnItemRequested(CRoomBase* from);
    void UpdateInventoryInput(CRoomBase* room, i32 mouseX, i32 mouseY);

    // The dialog states.
    void UpdateDialogState(f32 dt);
    void UpdateComics(f32 dt);
    // The dialog the state waits for; null for the states without one.
    CDialogBase* DialogOf(u32 dialogState) const;
    void CloseDialog(CDialogBase& dialog);
    void OnDialogClosed(u32 dialogState);

    // The event classes with an effect.
    void RunChangePersonages();
    void RunNpcItemIdent();
    void RunChangePersonageInfo();
    void RunEventForItem();
    void RunEventForComics();
    void RunMagicStarsChanger();
    void RunFinishDialog(CDialogBase& dialog, const std::string& textId, u32 state);
    void RunLocationFinish();
    void RunInvestigationWin();
    void RunInvestigationClose();
    // Saved state := state, state := the dialog state.
    void Await(u32 dialogState);

    aOptionsFile m_ini;
    std::string m_dataFolder;
    std::string m_name;
    std::string m_startRoom;
    std::string m_music;
    u8 m_internalLanguage = 0;
    std::string m_textFile;
    CResManager* m_pRes = nullptr;
    CDialogSpyGamePanel* m_pPanel = nullptr;
    CPanelTips m_panelTips;
    CTipEvents m_tipEvents;
    aRect m_roomArea;
    CSpyItem* m_pPickedItem = nullptr;
    CSpyItem* m_pIdentifiedItem = nullptr;
    CRoomBase* m_pMap = nullptr;
    CRoomBase* m_pEvidenceBox = nullptr;
    CRoomBase* m_pInvCards = nullptr;
    GUI::Style* m_pFrameStyle = nullptr;
    boost::shared_ptr<GUI::Window> m_frameWindow;
    // The card the card dialog shows, kept while it does.
    boost::shared_ptr<aImage> m_cardImage;
    aSound* m_pDialogSound = nullptr;
    aSound* m_pZoomInSound = nullptr;
    aSound* m_pZoomOutSound = nullptr;
    u32 m_state = Constructed;
    u32 m_savedState = 0;
    CRoomsManager* m_pRooms = nullptr;
    std::string m_currentLocation;
    CRoomBase* m_pCurrentRoom = nullptr;
    CSpyEventsManager m_events;
    std::vector<CRoomBase*> m_history;
    CPersonagesManager* m_pPersonages = nullptr;
};
