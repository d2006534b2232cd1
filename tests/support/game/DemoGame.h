#pragma once
#include "CaseStartSave.h"
#include "ItemPoint.h"
#include "game/CGameFlow.h"
#include "game/CGameIni.h"
#include "game/CResManager.h"
#include "game/Profile.h"
#include "game/ProfilesManager.h"
#include "game/SpyGame/CInvestigation.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyMain.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/cMain.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gui/Server.h"
#include "tk2v/input/aInputServer.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

// The demo game as a player has it, for the benchmarks and fuzz targets that need the whole game: the
// game flow over a copy of the demo data's investigations, fast-started into the game object's play:
// the first case anew, or the case named at its start (as a saved game that names it alone makes it).

namespace demo {

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
    }
}

// Copies the demo data's investigations into `folder`; with `events`, the copy's "_events.ini" of the
// case `investigation` is that text.
inline void layDemoInvestigations(const std::string& demoData, const std::string& folder,
                                  const std::optional<std::string>& events,
                                  const std::string& investigation) {
    std::filesystem::copy(demoData + "GameData/Investigations", folder,
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    if (events)
        writeFile(folder + investigation + "/_events.ini", *events);
}

// The game over the demo data in `demoData` (its Game.ini beside GameData/), with its investigations,
// profiles and saved games in the caller's scratch `folder`, playing the case `investigation` from
// its start (the first case anew when empty), whose story `events` may replace. Needs a running aApplication;
// draws only when a graph server stands. No music or ambient sound is queued and the player sees no tips, so
// that what runs in a frame is the play itself.
class DemoGame {
public:
    static constexpr f32 FrameTime = 0.02f;

    DemoGame(const std::string& demoData, const std::string& folder,
             const std::optional<std::string>& events = std::nullopt, const std::string& investigation = "") {
        layDemoInvestigations(demoData, folder + "Investigations/", events,
                              investigation.empty() ? "Demo" : investigation);
        writeFile(folder + "Game.ini",
                  "[Graphics]\nHiColor = 1\nVSync = 0\n[Other]\nLanguage = English\n"
                  "SplashScrEnabled = 0\nFastStart = 1\n[Sound]\nAmbient = 0\nMusic = 0\n");
        m_ini.Load(folder + "Game.ini");
        aFileServer& files = aApplication::getInstance()->getFileServer();
        cMain::SetGameAssigns(files, m_ini.GetLanguage(), demoData + "GameData/");
        files.setAssign("investigations", folder + "Investigations/");
        if (!aApplication::inputServer())
            m_input = std::make_unique<aInputServer>();
        Profile player = DEFAULT_PROFILE;
        player.name = "Player";
        player.showTips = false;
        g_currentProfile = player;
        std::filesystem::create_directories(folder + "saves/");
        m_profiles.setFolders(folder, folder + "saves/");
        m_profiles.getProfiles().push_back(player);
        m_profiles.setSelected(0);
        if (!investigation.empty())
            writeCaseStartSave(m_profiles.GetSaveFileName(player), investigation);
        m_res = std::make_unique<CResManager>(false);
        m_res->getLocaleServer()->loadFile("language:Text/Main.txt", "");
        m_gui = std::make_unique<GUI::Server>(m_res->getImageManager(), m_res->getSoundManager());
        m_flow = std::make_unique<CGameFlow>();
        m_flow->Init(&m_profiles);
    }
    ~DemoGame() {
        m_flow.reset();
        m_gui.reset();
        m_res.reset();
        g_currentProfile = DEFAULT_PROFILE;
    }
    DemoGame(const DemoGame&) = delete;
    DemoGame& operator=(const DemoGame&) = delete;

    // Frames until the game object plays the investigation; false when it does not within a bound.
    bool play() {
        for (int i = 0; i < 5000 && !playing(); ++i)
            frame();
        return playing();
    }
    bool playing() { return m_flow->GetState() == CGameFlow::GAME && game().GetState() == CSpyMain::PLAYING; }

    // One pass of the main loop without the input poll: the flow's update, then its drawing when a
    // graph server stands.
    u32 frame(f32 dt = FrameTime) {
        const u32 state = m_flow->Update(dt);
        if (aGraphServer* graph = aApplication::graphServer(); graph && graph->beginScene()) {
            m_flow->Render();
            graph->endScene();
        }
        return state;
    }

    // A click of the left button on a point where the current room finds the item under the cursor,
    // pressed in one frame and released in the next, then frames until the room named `to` is the
    // current one. False when no point of the item is found or the room does not come.
    bool goThrough(const std::string& item, const std::string& to) {
        aInputServer* input = aApplication::inputServer();
        if (!input || !pointAt(*input, item))
            return false;
        for (aKeyState button : {KEY_PRESSED, KEY_RELEASED, KEY_UP}) {
            input->mouseButtons[0] = button;
            frame();
        }
        for (int i = 0; i < 500 && !isCurrent(to); ++i)
            frame();
        return isCurrent(to);
    }

    CSpyMain& game() { return m_flow->GetGame(); }
    CInvestigation& investigation() { return game().GetInvestigation(); }

private:
    bool isCurrent(const std::string& room) {
        const CRoomBase* current = investigation().GetCurrentRoomPtr();
        return current && current->GetName() == room && investigation().GetState() != CInvestigation::Started;
    }
    // Leaves the mouse where a press reaches the item of the current room.
    bool pointAt(aInputServer& input, const std::string& name) {
        CRoomBase* room = investigation().GetCurrentRoomPtr();
        CSpyItem* item = room ? room->GetItem(name) : nullptr;
        const std::optional<platform::Point> at =
            item ? itemPoint(*room, *item, game().GetPanel()) : std::nullopt;
        if (at)
            input.setMousePos(at->x, at->y);
        return at.has_value();
    }

    CGameIni m_ini;
    std::unique_ptr<aInputServer> m_input;
    ProfilesManager m_profiles;
    std::unique_ptr<CResManager> m_res;
    std::unique_ptr<GUI::Server> m_gui;
    std::unique_ptr<CGameFlow> m_flow;
};

} // namespace demo
