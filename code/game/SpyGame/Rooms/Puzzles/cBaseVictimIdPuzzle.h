#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Toolkit/cEditBox.h"
#include "game/SpyGame/Rooms/Toolkit/cMenu.h"

#include <array>
#include <string>

// The crime lab's computer screen, shared by its three computers: a main menu, a report menu with
// three checks, a name dialog with one typed line, a message window, a result window and a fingerprint
// window, each a menu of room items. The base shows and hides the screens and keeps the six check
// marks; what each button does is up to the computer built on it.
class cBaseVictimIdPuzzle : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "BaseVictimIdPuzzle"; }

    cBaseVictimIdPuzzle();
    ~cBaseVictimIdPuzzle() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    void Enter(const std::string& entryName, CSpyItem* entryItem) override;
    u32 FrameMove(f32 dt, bool paused) override;
    void Render() override;
    void SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                         std::optional<SpyPoint> grabOffset = std::nullopt) override;
    void HandleCursorItemInput(f32 dt) override;
    void HandleInput(f32 dt) override;

protected:
    enum Screen {
        MainMenu,
        ReportMenu,
        FindDialog,
        MessageWindow,
        ResultWindow,
        FingerprintWindow,
        ScreenCount
    };
    // The first three belong to the main menu, the last three to the report menu.
    enum Check { VictimId, LookPhone, LookName, IdDataBase, EnterName, MissingPersons, CheckCount };
    // A check mark, shown once checked, over the button it disables.
    struct CheckGroup {
        CSpyItem* check = nullptr;
        bool checked = false;
        CSpyItem* button = nullptr;
    };

    virtual void UpdatePuzzle(f32 dt);
    virtual void OnVictimIdButton();
    virtual void OnLookNameButton();
    virtual void OnLookPhoneButton();
    virtual void OnReportEscape();
    virtual void OnEditboxDisabled();
    virtual void OnEnterNameButton();
    virtual void OnFindSubmit();
    virtual void OnFindEscape();
    virtual void OnCheckMissingPersonsButton();
    virtual void ShowTestWindow();
    virtual void OnMessageSubmit();
    virtual void OnMessageEscape();
    virtual void OnCheckIdDataBaseButton();
    virtual void OnFingerprintsSubmit();
    virtual void OnFingerprintsEscape();
    virtual void ShowSearchResult();
    virtual void ShowReportMenu();
    virtual void ShowMainMenu();
    virtual void HideAllMenus();

    // A member handler that runs the operation and answers true.
    template <void (cBaseVictimIdPuzzle::*Operation)()> bool Fire(const GUI::EventArgs&) {
        (this->*Operation)();
        return true;
    }
    template <void (cBaseVictimIdPuzzle::*Operation)()> std::unique_ptr<GUI::Subscriber> Handler() {
        return MakeHandler(this, &cBaseVictimIdPuzzle::Fire<Operation>);
    }
    // An entry of the screen with the computer's click and hover sounds.
    void AddEntry(Screen screen, const std::string& item, std::unique_ptr<GUI::Subscriber> handler);
    // The button's entry gives way to its grayed twin, which takes clicks silently and does nothing.
    void GrayEntry(Screen screen, const std::string& button);
    // A handler of a grayed button.
    bool Ignore(const GUI::EventArgs&) { return true; }
    cMenu& Menu(Screen screen) { return m_Menus[screen]; }
    bool IsChecked(Check check) const { return m_Checks[check].checked; }
    void SetChecked(Check check, bool on = true) { m_Checks[check].checked = on; }
    bool IsShown(const CSpyItem* item) const;
    void Show(CSpyItem* item, bool shown);
    // Carried by its middle, drawn as itself over the room.
    void CarryByCentre(CSpyItem* item);
    // The find dialog open (or shut) with its typed line taking keys (or not).
    void ShowFindDialog(bool shown);
    // The find dialog shut, back to the report.
    void CloseFindDialog();
    // A key typed where no name can be entered counts as the name tried.
    void NoteEditboxDisabled();
    bool InventoryHas(const std::string& item) const;
    // Out of the inventory, and off the cursor when it is carried.
    void TakeAway(const std::string& item);
    // One of the screen's sounds played once.
    void Play(const std::string& sound) const;

    // The looks of the screens' entries, not saved.
    aSound* m_pClickSound = nullptr;
    aSound* m_pHoverSound = nullptr;

    // Saved, in record order.
    CSpyItem* m_pSubmit = nullptr;
    CSpyItem* m_pEscape = nullptr;
    CSpyItem* m_pReport = nullptr;
    std::array<cMenu, ScreenCount> m_Menus;
    cEditBox m_EditBox;
    std::array<CheckGroup, CheckCount> m_Checks;
    bool m_Solved = false;

private:
    void BuildMenus();
    // The menu shown with its three checks and its buttons enabled while unchecked.
    void ShowMenuWithChecks(Screen screen, Check first);
};
