#include "fuzz_input_file.h"
#include "game/Profile.h"
#include "game/SpyGame/CTipManager.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gui/EventArgs.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/Widget.h"

#include <cstdint>
#include <string>

// Input: a tips file. A tip manager loads it over a tip window of its own, then every section's tip is
// asked for at its own point and at a point of each screen half, with updates and clicks on the
// balloon, the close button and the toggle between, and levels ending and starting again.

namespace {
const char* const TipWindow = R"(window ToolTip
{
  AreaRect 0 0 1024 768
  Visible 0
  window balloon
  {
    AreaRect 30 20 320 120
    statictext text
    {
      AreaRect 20 24 280 40
    }
    widget close
    {
      AreaRect 220 72 80 32
    }
    checkbox dont_show
    {
      AreaRect 20 76 190 24
      widget dont_show_auto_check
      {
        AreaRect 0 0 24 24
      }
    }
  }
}
)";

GUI::Server& gui() {
    static GUI::Server* server = [] {
        const std::string& script = fuzzInputPath("fuzz_tips_ini_window", ".agui");
        writeFuzzInput(script, "", TipWindow, std::string(TipWindow).size());
        auto* made = new GUI::Server(nullptr, nullptr);
        made->load(script);
        made->InitializeWidgets();
        return made;
    }();
    return *server;
}

void clickOn(const char* name) {
    if (GUI::Widget* widget = gui().GetRoot()->FindChild(name, true)) {
        GUI::MouseEventArgs e(widget);
        widget->OnClick(e);
    }
}

void play(CTipManager& tips, const std::string& id, i32 x, i32 y) {
    tips.ShowTip(id, x, y);
    for (const char* target : {"dont_show", "balloon", "close", "ToolTip"}) {
        tips.Update(0.3f);
        clickOn(target);
    }
    tips.Update(10.0f);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& name = fuzzInputPath("fuzz_tips_ini", ".ini");
    writeFuzzInput(name, "", data, size);
    gui();
    g_currentProfile = DEFAULT_PROFILE;
    CTipManager tips;
    tips.Load(name);
    tips.ResetCounters(true);
    aOptionsFile ini(name);
    for (int level = 0; level < 2; ++level) {
        for (ini.first(); !ini.isEnd(); ini.nextSection()) {
            const std::string id = ini.getSectionName();
            play(tips, id, -1, -1);
            play(tips, id, 700, 600);
            tips.SetTipEnabled(id, level == 0);
        }
        tips.EndLevel();
    }
    tips.HideTip();
    return 0;
}
