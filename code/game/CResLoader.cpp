#include "game/CResLoader.h"

#include "game/CResManager.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/util/log.h"

#include <cmath>
#include <string>

namespace {
const std::string LoadingGroup = "LoadingScreen";
const std::string NumberFont = "blair";
} // namespace

void CResLoader::Init() {
    if (m_state != NOT_INITIALISED)
        return;
    m_res = CResManager::getSingleton();
    aImageManager* images = m_res->getImageManager();
    images->clearTasks();
    images->AddListToTask("images:LoadingScreen/_images.list", LoadingGroup);
    images->AddListToTask("language:Images/LoadingScreen/_images.list", LoadingGroup);
    images->runAllTasks();
    images->clearTasks();

    GUI::Server* gui = GUI::Server::getSingleton();
    gui->load("gui:LoadingScreen.agui");
    gui->InitializeWidgets();
    m_window = gui->GetRoot()->FindChild("LoadingScreen", true);
    if (m_window) {
        m_bar = m_window->FindChild("ProgressBar", true);
        m_inlay = m_window->FindChild("ColoredInlay", true);
        m_window->SetVisible(false);
    } else {
        log("CResLoader::Init(). Cannot find window: LoadingScreen");
    }
    if (m_bar) {
        const aRect& area = m_bar->GetArea();
        m_barX = area.x;
        m_barWidth = area.w;
    }
    m_state = HIDDEN;
}

void CResLoader::setVisible(const char* name, bool visible) const {
    if (GUI::Widget* w = m_window->FindChild(name, true))
        w->SetVisible(visible);
}

void CResLoader::Show(i32 investigation) {
    if (m_state != HIDDEN && m_state != DONE)
        return;
    m_state = SHOWN;
    if (!m_window)
        return;
    const bool numbered = investigation != NO_INVESTIGATION;
    setVisible("LoadInvText", numbered);
    setVisible("InvNumberFrame", numbered);
    setVisible("LoadMenu", !numbered);
    setVisible("LoadMenuBlood", !numbered);
    if (m_bar)
        m_bar->SetWidth(0);
    if (numbered)
        showNumber(investigation);
    // A static text lays itself out only in an update, and nothing updates the GUI while a pass
    // loads: one update now lays out the texts shown, the number among them.
    m_window->Update(0);
    m_window->SetVisible(true);
    if (m_inlay)
        m_inlay->SetAlpha(0);
}

void CResLoader::showNumber(i32 investigation) const {
    GUI::Widget* number = m_window->FindChild("InvNumber", true);
    if (!number)
        return;
    number->SetFont(GUI::Server::getSingleton()->GetFont(NumberFont));
    number->SetText(std::to_wstring(investigation));
}

void CResLoader::StartLoading() {
    if (m_state != SHOWN)
        return;
    m_res->BeginLoading();
    m_state = LOADING;
}

u32 CResLoader::Update(f32) {
    if (m_state == LOADING) {
        m_res->LoadStep();
        updateBar();
        if (m_res->isDone())
            m_state = DONE;
    } else if (m_state == DONE) {
        m_state = HIDDEN;
    }
    return m_state;
}

void CResLoader::updateBar() {
    const f32 progress = m_res->GetProgress();
    if (m_bar) {
        const u16 width = BarWidth(m_barWidth, progress);
        const aRect& area = m_bar->GetArea();
        m_bar->SetArea(BarX(m_barX, m_barWidth, width), area.y, width, area.h);
    }
    if (m_inlay)
        m_inlay->SetAlpha(progress);
}

u16 CResLoader::BarWidth(u16 fullWidth, f32 progress) {
    return u16(std::floor(f32(fullWidth) * progress + 0.5f));
}

i16 CResLoader::BarX(i16 x0, u16 fullWidth, u16 width) {
    return i16(x0 + fullWidth / 2 - width / 2);
}

void CResLoader::Render() {
    if (m_window && (m_state == SHOWN || m_state == LOADING || m_state == DONE))
        m_window->Render();
}
