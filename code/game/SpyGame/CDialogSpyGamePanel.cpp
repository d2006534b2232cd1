#include "game/SpyGame/CDialogSpyGamePanel.h"

#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CFindItemsGroup.h"
#include "game/SpyGame/CInventory.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aFont.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gui/ColorF.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/StaticText.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/util/log.h"
#include "tk2v/util/str.h"

#include <cmath>

namespace {

bool IsInside(const GUI::Widget* widget, i32 x, i32 y) {
    if (!widget)
        return false;
    const i32 left = widget->GetScreenX(), top = widget->GetScreenY();
    return x >= left && x < left + widget->GetArea().w && y >= top && y < top + widget->GetArea().h;
}

// Visible with every ancestor.
u8 ShownByte(const GUI::Widget* widget) {
    return widget && widget->IsVisible(false) ? 1 : 0;
}

u8 EnabledByte(const GUI::Widget* widget) {
    return widget && widget->IsEnabled(true) ? 1 : 0;
}

void SetShown(GUI::Widget* widget, bool shown) {
    if (widget)
        widget->SetVisible(shown);
}

void SetEnabled(GUI::Widget* widget, bool enabled) {
    if (widget)
        widget->SetEnabled(enabled);
}

// Shows the child of that exact name and hides the others; false when none has the name.
bool ShowOnlyChild(GUI::Widget* container, const std::string& name) {
    if (!container)
        return false;
    bool found = false;
    for (GUI::Widget* child : container->GetChildren()) {
        const bool match = child->GetName() == name;
        child->SetVisible(match);
        found = found || match;
    }
    return found;
}

} // namespace

CDialogSpyGamePanel::CDialogSpyGamePanel() : SaveLoadEntity("<SpyGameInterface>") {}

CDialogSpyGamePanel::~CDialogSpyGamePanel() = default;

void CDialogSpyGamePanel::Init() {
    Create();
    for (CDialogBase* dialog : std::initializer_list<CDialogBase*>{
             &m_message, &m_phoneCall, &m_itemIdent, &m_pickItem, &m_pickEvidence, &m_invCard, &m_hint,
             &m_eventForItem, &m_inGameMenu, &m_confirmSaveExit, &m_searchFinish, &m_locFinish,
             &m_solveConfirm})
        dialog->Create();
    m_completionEffect.Init();
    m_scenePlayer.Init();
    m_tipManager.Load("gamedata:tips.ini");
    m_helpPers.Create();
}

void CDialogSpyGamePanel::Create() {
    if (!CreateRoot("SpyGameInterface"))
        return;
    FindWidgets();
    BindCommands();
    m_pulsePhase = 0;
    m_hintCount = 1;
    m_hintsAllowed = 1;
    m_pInventory = nullptr;
    m_glowEvidences = 0;
    m_glowClues = 0;
    m_taskLine = std::make_unique<GUI::StaticText>("ItemTasks");
    m_taskLine->Initialize();
    m_taskLine->SetHeight(TASK_LINE_HEIGHT);
    CDialogBase::Create();
    SetShown(m_blockWidget, false);
}

void CDialogSpyGamePanel::FindWidgets() {
    m_gamePanel = FindControl("GamePanel");
    m_blockWidget = FindControl("BlockWidget");
    m_backBtnPanel = FindControl("BackBtnPanel");
    m_back = m_backBtnPanel ? m_backBtnPanel->FindChild("Back", true) : nullptr;
    m_evidences = FindControl("Evidences");
    m_clues = FindControl("Clues");
    m_map = FindControl("Map");
    m_solveBtnPanel = FindControl("SolveBtnPanel");
    m_solve = m_solveBtnPanel ? m_solveBtnPanel->FindChild("Solve", true) : nullptr;
    m_fotos = FindControl("PersonagesFotos");
    m_titles = FindControl("PersonagesTitles");
    m_notepads = FindControl("PersonagesNotepads");
    m_arrowLeft = FindControl("ArrowLeft");
    m_arrowRight = FindControl("ArrowRight");
    m_hints = FindControl("Hints");
    m_hintsCount = m_hints ? m_hints->FindChild("HintsCount", true) : nullptr;
    m_blockInventory = FindControl("BlockInventory");
    m_levelNumber = FindControl("LevelNumber");
}

void CDialogSpyGamePanel::BindCommands() {
    SubscribeBinder(m_rootWindow, "EndRender", this, &CDialogSpyGamePanel::OnPanelEndRender);
    if (m_back) {
        m_back->SetNotifyRender(true);
        SubscribeBinder(m_back, "EndRender", this, &CDialogSpyGamePanel::OnBackEndRender);
    }
    Subscribe(m_back, "Click", CMD_BACK);
    Subscribe(m_solve, "Click", CMD_SOLVE);
    Subscribe(m_map, "Click", CMD_MAP);
    Subscribe(m_clues, "Click", CMD_CLUES);
    Subscribe(m_evidences, "Click", CMD_EVIDENCES);
    // The menu button is only bound, never kept.
    Subscribe(FindControl("Menu"), "Click", CMD_MENU);
    Subscribe(m_arrowLeft, "Click", CMD_ARROW_LEFT);
    Subscribe(m_arrowRight, "Click", CMD_ARROW_RIGHT);
    SubscribeBinder(m_hints, "Click", this, &CDialogSpyGamePanel::OnHintsClick);
}

void CDialogSpyGamePanel::Update(f32 dt) {
    if (GUI::Server::exists())
        GUI::Server::getSingleton()->Update(dt);
    m_pulsePhase += dt * PULSE_SPEED;
    if (m_pulsePhase >= PULSE_PERIOD)
        m_pulsePhase = 0;
    UpdateSelf();
    m_message.Update(dt);
    m_hint.Update(dt);
    m_completionEffect.Update(dt);
    m_phoneCall.Update(dt);
    m_scenePlayer.Update(dt);
    m_tipManager.Update(dt);
}

void CDialogSpyGamePanel::UpdateSelf() {
    if (!m_hints || m_hints->IsEnabled(true))
        return;
    const aInputServer* input = aApplication::inputServer();
    if (!input || input->mouseButtons[0] != KEY_PRESSED)
        return;
    i32 x = 0, y = 0;
    input->getMousePos(x, y);
    if (IsInside(m_hints, x, y))
        m_state = CMD_HINTS_REFUSED;
}

void CDialogSpyGamePanel::Render() {
    if (GUI::Server::exists())
        GUI::Server::getSingleton()->Render();
    m_completionEffect.Render();
}

void CDialogSpyGamePanel::HideAll() {
    for (CDialogBase* dialog : std::initializer_list<CDialogBase*>{
             &m_message, &m_phoneCall, &m_itemIdent, &m_pickItem, &m_pickEvidence, &m_invCard, &m_hint,
             &m_eventForItem, &m_inGameMenu, &m_confirmSaveExit, &m_searchFinish, &m_locFinish,
             &m_solveConfirm, &m_helpPers})
        dialog->Hide();
    m_completionEffect.Stop();
    m_scenePlayer.Close();
    m_tipManager.HideTip();
}

void CDialogSpyGamePanel::SetPersonage(const std::string& name) {
    if (!ShowOnlyChild(m_fotos, name))
        log("CDialogSpyGamePanel::SetPersonage(). Foto for personage '%s' not exist", name.c_str());
    if (!ShowOnlyChild(m_titles, name))
        log("CDialogSpyGamePanel::SetPersonage(). Title for personage '%s' not exist", name.c_str());
    if (ShowOnlyChild(m_notepads, name))
        m_personageName = name;
    else
        log("CDialogSpyGamePanel::SetPersonage(). Notepad for personage '%s' not exist", name.c_str());
}

void CDialogSpyGamePanel::ShowInvestigationTasks(const std::string& headerKey,
                                                 std::vector<CFindItemsGroup>* tasks,
                                                 const std::string& section) {
    ShowTasks(m_investigationTasks, headerKey, tasks, section);
}

void CDialogSpyGamePanel::ShowRoomTasks(const std::string& headerKey, std::vector<CFindItemsGroup>* tasks,
                                        const std::string& section) {
    ShowTasks(m_roomTasks, headerKey, tasks, section);
}

void CDialogSpyGamePanel::ShowTasks(TaskList& list, const std::string& headerKey,
                                    std::vector<CFindItemsGroup>* groups, const std::string& section) {
    list.groups = groups;
    list.section = section;
    GUI::Widget* notepad = m_notepads ? m_notepads->FindChild(m_personageName) : nullptr;
    GUI::Widget* found = notepad ? notepad->FindChild(list.widgetName) : nullptr;
    // A notepad without its text widget has no list.
    list.text = found && found->IsA("StaticText") ? static_cast<GUI::StaticText*>(found) : nullptr;
    if (!list.text)
        return;
    // The list starts where the text widget shows on the screen.
    SpyPoint start{f32(list.text->GetScreenX()), f32(list.text->GetScreenY())};
    if (headerKey.empty()) {
        list.text->SetText(L"");
    } else {
        CResManager* res = CResManager::getSingleton();
        list.text->SetText(res ? res->GetString(headerKey, section) : std::wstring());
        start.y += list.text->GetTextHeight();
    }
    list.positions[m_personageName] = start;
}

void CDialogSpyGamePanel::ClearTasks() {
    if (m_personageName.empty())
        return;
    ShowInvestigationTasks("", nullptr, "");
    ShowRoomTasks("", nullptr, "");
    m_glowEvidences = 0;
    m_glowClues = 0;
}

SpyPoint CDialogSpyGamePanel::TaskList::PositionOf(const std::string& personage) const {
    auto it = positions.find(personage);
    return it == positions.end() ? SpyPoint{} : it->second;
}

void CDialogSpyGamePanel::SetHintCount(u32 count) {
    m_hintCount = count;
    UpdateHintsButton();
    if (m_hintsCount)
        m_hintsCount->SetText(std::to_wstring(count));
}

void CDialogSpyGamePanel::SetHintsAllowed(bool allowed) {
    m_hintsAllowed = allowed ? 1 : 0;
    UpdateHintsButton();
}

void CDialogSpyGamePanel::UpdateHintsButton() {
    SetEnabled(m_hints, m_hintCount > 0 && m_hintsAllowed);
}

void CDialogSpyGamePanel::SetLevelNumber(u32 number) {
    if (!m_levelNumber)
        return;
    CResManager* res = CResManager::getSingleton();
    const std::wstring word = res ? res->GetString("investigation") : std::wstring();
    m_levelNumber->SetText(word + L" " + std::to_wstring(number));
}

void CDialogSpyGamePanel::ShowMessage(const std::string& key, const std::string& section, bool timed) {
    if (timed)
        m_message.ShowTimed(key, section, TIMED_MESSAGE_SECONDS);
    else
        m_message.ShowText(key, section);
}

bool CDialogSpyGamePanel::ShowTip(const std::string& id, i32 x, i32 y, const std::wstring& text) {
    if (!m_tipManager.ShowTip(id, x, y, text))
        return false;
    SetShown(m_blockWidget, true);
    return true;
}

bool CDialogSpyGamePanel::IsPointOverPanel(i32 x, i32 y) const {
    return IsInside(m_gamePanel, x, y) ||
           (m_backBtnPanel && m_backBtnPanel->IsVisible(false) && IsInside(m_backBtnPanel, x, y));
}

bool CDialogSpyGamePanel::OnHintsClick(const GUI::EventArgs&) {
    SetHintCount(m_hintCount > 0 ? m_hintCount - 1 : 0);
    m_state = CMD_HINT_USED;
    return true;
}

bool CDialogSpyGamePanel::OnPanelEndRender(const GUI::EventArgs&) {
    m_state = CMD_DRAWN;
    if (!m_blockWidget || !m_blockWidget->IsVisible(true)) {
        if (m_glowEvidences)
            DrawGlow(m_evidences);
        if (m_glowClues)
            DrawGlow(m_clues);
    }
    for (const TaskList* list : {&m_investigationTasks, &m_roomTasks})
        DrawTaskList(*list);
    if (m_pInventory)
        m_pInventory->Render();
    if (!m_inventoryUnlocked && m_blockInventory) {
        m_blockInventory->SetVisible(true);
        m_blockInventory->Render();
        m_blockInventory->SetVisible(false);
    }
    return false;
}

bool CDialogSpyGamePanel::OnBackEndRender(const GUI::EventArgs&) {
    if (!m_blockWidget || !m_blockWidget->IsVisible(true))
        DrawGlow(m_back);
    return false;
}

void CDialogSpyGamePanel::DrawTaskList(const TaskList& list) {
    if (!list.groups || !list.text || !m_taskLine)
        return;
    const GUI::StaticText& source = *list.text;
    aFont* font = source.GetFont(true);
    const f32 scale = source.GetFontSize(true);
    GUI::StaticText& line = *m_taskLine;
    line.SetFont(font);
    line.SetFontSize(scale);
    const GUI::ColorF& color = source.GetTextColor();
    line.SetTextColor(GUI::PackColor(color.r, color.g, color.b, color.a));
    line.SetWordWrap(source.GetWordWrap());
    line.SetLineSpacing(source.GetLineSpacing());
    f32 bulletWidth = 0;
    if (font) {
        font->setScale(scale);
        bulletWidth = font->getTextSizeW(TASK_BULLET).width;
    }
    const f32 gap = TASK_GAP * std::max(source.GetLineSpacing(), 0.0f);
    SpyPoint at = list.PositionOf(m_personageName);
    for (const CFindItemsGroup& group : *list.groups)
        at.y += DrawTaskLine(source, group, list.section, at, bulletWidth) + gap;
}

f32 CDialogSpyGamePanel::DrawTaskLine(const GUI::StaticText& source, const CFindItemsGroup& group,
                                      const std::string& section, const SpyPoint& at, f32 bulletWidth) {
    const u16 remaining = group.GetRemaining();
    std::string key;
    if (!group.GetGroupName().empty())
        key = group.GetGroupName() + "_" + std::to_string(remaining == 0 ? 1 : remaining);
    else if (!group.GetItems().empty())
        key = group.GetItems().front().GetItemName();
    const aLocaleServer* locale = aLocaleServer::getInstance();
    const std::wstring* found = locale ? locale->findString(key, section) : nullptr;
    GUI::StaticText& line = *m_taskLine;
    line.SetText(found ? *found : L"@" + str_utf8ToWString(key));

    aFont* font = line.GetFont(true);
    const f32 scale = line.GetFontSize(true);
    if (font) {
        const GUI::ColorF& color = line.GetTextColor();
        font->setScale(scale);
        font->color = GUI::PackColor(color.r, color.g, color.b, color.a * source.GetAlpha(false));
        font->printW(at.x, at.y, TASK_BULLET);
    }
    const i32 width = std::max(i32(source.GetArea().w) - i32(bulletWidth), 0);
    line.SetArea(i16(at.x + bulletWidth), i16(at.y), u16(width), TASK_LINE_HEIGHT);
    const f32 height = line.GetTextHeight();
    line.Render();
    if (remaining != 0 || !font)
        return height;
    // The strike lines step by the line height; a font without height gets none.
    const i32 lineHeight = i32(std::lround(font->getHeight() * scale + line.GetLineSpacing()));
    if (lineHeight <= 0 || !CResManager::exists())
        return height;
    // The laid-out height has no spacing below its last line.
    const i32 lines = i32(height + line.GetLineSpacing()) / lineHeight;
    aGDI& gdi = CResManager::getSingleton()->getGDI();
    gdi.color = 0xFF000000;
    for (i32 i = 0; i < lines; ++i)
        gdi.drawRect(at.x, at.y + f32(i * lineHeight + lineHeight / 2 + STRIKE_DROP), source.GetArea().w, 1,
                     true);
    return height;
}

void CDialogSpyGamePanel::DrawGlow(const GUI::Widget* button) const {
    // Only image buttons name a picture.
    if (!button || !button->IsA("ImageButton") || button->IsHovered() || !CResManager::exists())
        return;
    aImageManager* images = CResManager::getSingleton()->getImageManager();
    const std::string name = button->Get("image");
    if (name.empty() || !images->hasImage(name))
        return;
    aImage* image = images->getImage(name);
    const u16 band = image->getHeight() / 5;
    // A picture under five pixels high has no glow band.
    if (band == 0)
        return;
    const f32 level = m_pulsePhase < 1.0f ? m_pulsePhase : PULSE_PERIOD - m_pulsePhase;
    const u32 color = u32(level * 255.0f) << 24 | 0xFFFFFF;
    image->draw(f32(button->GetScreenX()), f32(button->GetScreenY()), 0, i16(image->getHeight() * 4 / 5),
                image->getWidth(), band, color);
}

u8* CDialogSpyGamePanel::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeF32(pos, m_pulsePhase);
    pos = sys.writeU32(pos, m_hintCount);
    for (u8 flag : {m_hintsAllowed, m_inventoryUnlocked, m_glowEvidences, m_glowClues})
        pos = sys.writeU8(pos, flag);
    const u8 blockHidden = ShownByte(m_blockWidget) ? 0 : 1;
    for (u8 byte :
         {ShownByte(m_rootWindow), blockHidden, ShownByte(m_back), ShownByte(m_solve), EnabledByte(m_map),
          EnabledByte(m_clues), EnabledByte(m_evidences), ShownByte(m_arrowLeft), ShownByte(m_arrowRight)})
        pos = sys.writeU8(pos, byte);
    return pos;
}

const u8* CDialogSpyGamePanel::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    ClearTasks();
    pos = sys.readU32(sys.readF32(pos, m_pulsePhase), m_hintCount);
    // A phase out of its period would never wrap.
    if (!(m_pulsePhase >= 0 && m_pulsePhase < PULSE_PERIOD))
        m_pulsePhase = 0;
    for (u8* flag : {&m_hintsAllowed, &m_inventoryUnlocked, &m_glowEvidences, &m_glowClues})
        pos = sys.readU8(pos, *flag);
    UpdateHintsButton();
    u8 bytes[9] = {};
    for (u8& byte : bytes)
        pos = sys.readU8(pos, byte);
    if (bytes[0])
        Show();
    else
        Hide();
    SetShown(m_blockWidget, bytes[1] == 0);
    SetShown(m_backBtnPanel, bytes[2] != 0);
    SetShown(m_solveBtnPanel, bytes[3] != 0);
    SetEnabled(m_map, bytes[4] != 0);
    SetEnabled(m_clues, bytes[5] != 0);
    SetEnabled(m_evidences, bytes[6] != 0);
    SetShown(m_arrowLeft, bytes[7] != 0);
    SetShown(m_arrowRight, bytes[8] != 0);
    return pos;
}
