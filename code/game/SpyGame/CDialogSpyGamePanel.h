#pragma once
#include "game/CDialogBase.h"
#include "game/SaveLoadEntity.h"
#include "game/SpyGame/CDialogConfirmSaveExit.h"
#include "game/SpyGame/CDialogEventForItem.h"
#include "game/SpyGame/CDialogHelpPers.h"
#include "game/SpyGame/CDialogHint.h"
#include "game/SpyGame/CDialogInGameMenu.h"
#include "game/SpyGame/CDialogInvCard.h"
#include "game/SpyGame/CDialogItemIdent.h"
#include "game/SpyGame/CDialogLocFinish.h"
#include "game/SpyGame/CDialogMessage.h"
#include "game/SpyGame/CDialogPhoneCall.h"
#include "game/SpyGame/CDialogPickEvidence.h"
#include "game/SpyGame/CDialogPickItem.h"
#include "game/SpyGame/CDialogSearchFinish.h"
#include "game/SpyGame/CDialogSolveConfirm.h"
#include "game/SpyGame/CTipManager.h"
#include "game/SpyGame/CompletionEffect.h"
#include "game/SpyGame/ScenePlayer.h"
#include "game/SpyGame/SpyPoint.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CFindItemsGroup;
class CInventory;
namespace GUI {
class StaticText;
}

// The interface around every room while an investigation is played: the inventory strip, the hint
// button and its counter, the buttons of the built-in rooms, menu, back and solve, the current
// personage's photo, title and notepad with its task lists, and the level label. It owns the in-game
// dialogs, the comic pages, the tips and the completion effect. Its state word is the command the
// player gave last; every drawing of the window sets it back to 2.
class CDialogSpyGamePanel : public CDialogBase, public SaveLoadEntity {
public:
    enum Command : i32 {
        CMD_DRAWN = 2,
        CMD_BACK = 3,
        CMD_MAP = 4,
        CMD_MENU = 5,
        CMD_ARROW_LEFT = 6,
        CMD_ARROW_RIGHT = 7,
        CMD_CLUES = 8,
        CMD_EVIDENCES = 9,
        CMD_HINT_USED = 10,
        CMD_HINTS_REFUSED = 11,
        CMD_SOLVE = 12
    };
    static constexpr f32 PULSE_SPEED = 0.7f;
    static constexpr f32 PULSE_PERIOD = 2.0f;
    static constexpr f32 TIMED_MESSAGE_SECONDS = 30.0f;
    static constexpr u16 TASK_LINE_HEIGHT = 256;
    // Pixels below a line's top where its strike runs, beyond half the line height.
    static constexpr i32 STRIKE_DROP = 3;
    static constexpr const wchar_t* TASK_BULLET = L"- ";
    // Space between two task groups, in line spacings.
    static constexpr f32 TASK_GAP = 1.0f;

    CDialogSpyGamePanel();
    ~CDialogSpyGamePanel() override;

    // The window and its widgets, then every member dialog, the effect, the comic pages and the tips.
    void Init();
    void Create() override;
    void Update(f32 dt);
    void Render();
    void HideAll();

    // Shows the photo, title and notepad of that personage; keeps the name only when it has a notepad.
    void SetPersonage(const std::string& name);
    // The list goes below the notepad's "text" ("text2" for the room's), after its header when the key
    // is not empty. The list is only referred to and may be null.
    void ShowInvestigationTasks(const std::string& headerKey, std::vector<CFindItemsGroup>* tasks,
                                const std::string& section);
    void ShowRoomTasks(const std::string& headerKey, std::vector<CFindItemsGroup>* tasks,
                       const std::string& section);
    void ClearTasks();
    void SetHintCount(u32 count);
    void SetHintsAllowed(bool allowed);
    void SetLevelNumber(u32 number);
    // A timed message closes itself after TIMED_MESSAGE_SECONDS.
    void ShowMessage(const std::string& key, const std::string& section, bool timed);
    // Point -1 and an empty text take the tip's own; a shown tip brings up the dialog backdrop.
    bool ShowTip(const std::string& id, i32 x = -1, i32 y = -1, const std::wstring& text = {});
    // Over "GamePanel", or over "BackBtnPanel" while it shows.
    bool IsPointOverPanel(i32 x, i32 y) const;
    void SetInventory(CInventory* inventory) { m_pInventory = inventory; }
    // Any widget below the window by name; null when there is none.
    GUI::Widget* GetWidget(const std::string& name) const { return FindControl(name); }

    // Set by the inventory, the evidence box and the cards room.
    void SetInventoryUnlocked(bool unlocked) { m_inventoryUnlocked = unlocked; }
    void SetGlowEvidences(bool glow) { m_glowEvidences = glow; }
    void SetGlowClues(bool glow) { m_glowClues = glow; }
    bool IsInventoryUnlocked() const { return m_inventoryUnlocked != 0; }
    bool GetGlowEvidences() const { return m_glowEvidences != 0; }
    bool GetGlowClues() const { return m_glowClues != 0; }

    const std::string& GetPersonageName() const { return m_personageName; }
    f32 GetPulsePhase() const { return m_pulsePhase; }
    u32 GetHintCount() const { return m_hintCount; }
    bool GetHintsAllowed() const { return m_hintsAllowed != 0; }
    CInventory* GetInventory() const { return m_pInventory; }
    // Where the lists of the personage start; (0, 0) before they were shown.
    SpyPoint GetInvestigationTasksPos(const std::string& personage) const {
        return m_investigationTasks.PositionOf(personage);
    }
    SpyPoint GetRoomTasksPos(const std::string& personage) const { return m_roomTasks.PositionOf(personage); }

    CDialogMessage& GetMessage() { return m_message; }
    CompletionEffect& GetCompletionEffect() { return m_completionEffect; }
    CDialogPhoneCall& GetPhoneCall() { return m_phoneCall; }
    CDialogItemIdent& GetItemIdent() { return m_itemIdent; }
    CDialogPickItem& GetPickItem() { return m_pickItem; }
    CDialogPickEvidence& GetPickEvidence() { return m_pickEvidence; }
    CDialogInvCard& GetInvCard() { return m_invCard; }
    CDialogHint& GetHint() { return m_hint; }
    CDialogEventForItem& GetEventForItem() { return m_eventForItem; }
    CDialogInGameMenu& GetInGameMenu() { return m_inGameMenu; }
    CDialogConfirmSaveExit& GetConfirmSaveExit() { return m_confirmSaveExit; }
    ScenePlayer& GetScenePlayer() { return m_scenePlayer; }
    CDialogSearchFinish& GetSearchFinish() { return m_searchFinish; }
    CDialogLocFinish& GetLocFinish() { return m_locFinish; }
    CDialogSolveConfirm& GetSolveConfirm() { return m_solveConfirm; }
    CTipManager& GetTipManager() { return m_tipManager; }
    CDialogHelpPers& GetHelpPers() { return m_helpPers; }

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;

private:
    // One of the two task lists of the notepad.
    struct TaskList {
        explicit TaskList(const char* name) : widgetName(name) {}
        // Where the list of the personage starts; (0, 0) before it was shown.
        SpyPoint PositionOf(const std::string& personage) const;
        const char* widgetName;
        std::map<std::string, SpyPoint> positions;
        std::vector<CFindItemsGroup>* groups = nullptr;
        GUI::StaticText* text = nullptr;
        std::string section;
    };

    void FindWidgets();
    void BindCommands();
    void UpdateSelf();
    void UpdateHintsButton();
    void ShowTasks(TaskList& list, const std::string& headerKey, std::vector<CFindItemsGroup>* groups,
                   const std::string& section);
    void DrawTaskList(const TaskList& list);
    // Draws the group's line at the point and gives the height of its text.
    f32 DrawTaskLine(const GUI::StaticText& source, const CFindItemsGroup& group, const std::string& section,
                     const SpyPoint& at, f32 bulletWidth);
    // The fifth band of the button's image over it, pulsing; nothing while the mouse is on it.
    void DrawGlow(const GUI::Widget* button) const;
    bool OnPanelEndRender(const GUI::EventArgs& args);
    bool OnBackEndRender(const GUI::EventArgs& args);
    bool OnHintsClick(const GUI::EventArgs& args);

    std::string m_personageName;
    f32 m_pulsePhase = 0;
    u32 m_hintCount = 1;
    u8 m_hintsAllowed = 1;
    CInventory* m_pInventory = nullptr;
    u8 m_inventoryUnlocked = 0;
    u8 m_glowEvidences = 0;
    u8 m_glowClues = 0;
    GUI::Widget* m_gamePanel = nullptr;
    GUI::Widget* m_blockWidget = nullptr;
    GUI::Widget* m_backBtnPanel = nullptr;
    GUI::Widget* m_back = nullptr;
    GUI::Widget* m_evidences = nullptr;
    GUI::Widget* m_clues = nullptr;
    GUI::Widget* m_map = nullptr;
    GUI::Widget* m_solveBtnPanel = nullptr;
    GUI::Widget* m_solve = nullptr;
    GUI::Widget* m_fotos = nullptr;
    GUI::Widget* m_titles = nullptr;
    GUI::Widget* m_notepads = nullptr;
    GUI::Widget* m_arrowLeft = nullptr;
    GUI::Widget* m_arrowRight = nullptr;
    GUI::Widget* m_hints = nullptr;
    GUI::Widget* m_hintsCount = nullptr;
    GUI::Widget* m_blockInventory = nullptr;
    GUI::Widget* m_levelNumber = nullptr;
    TaskList m_investigationTasks{"text"};
    TaskList m_roomTasks{"text2"};
    std::unique_ptr<GUI::StaticText> m_taskLine;
    CDialogMessage m_message;
    CompletionEffect m_completionEffect;
    CDialogPhoneCall m_phoneCall;
    CDialogItemIdent m_itemIdent;
    CDialogPickItem m_pickItem;
    CDialogPickEvidence m_pickEvidence;
    CDialogInvCard m_invCard;
    CDialogHint m_hint;
    CDialogEventForItem m_eventForItem;
    CDialogInGameMenu m_inGameMenu;
    CDialogConfirmSaveExit m_confirmSaveExit;
    ScenePlayer m_scenePlayer;
    CDialogSearchFinish m_searchFinish;
    CDialogLocFinish m_locFinish;
    CDialogSolveConfirm m_solveConfirm;
    CTipManager m_tipManager;
    CDialogHelpPers m_helpPers;
};
