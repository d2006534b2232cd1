#pragma once
#include "game/CResManager.h"
#include "support/FakeClock.h"
#include "support/ImageFiles.h"
#include "support/LogCapture.h"
#include "support/ScriptedInput.h"
#include "support/TempDir.h"
#include "support/engine/TestApplication.h"
#include "support/engine/TestEngine.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gui/EventArgs.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/Clock.h"
#include "tk2v/sound/aSoundManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// The resource manager, the input server and a GUI server over the shared test engine, with scripted
// input on a manual clock, for the tests of the dialogs. Scripts are small files of the test's own.
class DialogTest : public testing::Test {
public:
    DialogTest() {
        // Log stamps count from the program's start on the real clock: the manual one starts beyond it.
        clock.advanceNs(realStart);
        testApp().clearHooks();
        testGraphServer();
        res = std::make_unique<CResManager>(false);
        inputServer = std::make_unique<aInputServer>();
        gui = std::make_unique<GUI::Server>(res->getImageManager(), res->getSoundManager());
    }
    ~DialogTest() override {
        gui.reset();
        inputServer.reset();
        res.reset();
        testApp().clearHooks();
    }

    // Loads the script ("@/" stands for the temp folder) and initialises the widgets.
    void load(const std::string& script, const std::string& name = "test.agui") {
        gui->load(dir.writeLinked(name, script));
        gui->InitializeWidgets();
    }
    GUI::Widget* find(const std::string& name) const { return gui->GetRoot()->FindChild(name, true); }

    // A picture of one colour under the key `name` of the group.
    void addImage(const std::string& name, u32 width, u32 height, u32 argb, const std::string& group = "") {
        dir.write(name + ".png",
                  imagefiles::text(imagefiles::png(width, height, std::vector<u32>(width * height, argb))));
        res->getImageManager()->loadResource(dir.path(), name + ".png 8888 8888", group);
    }

    // A mono 16-bit WAV of a short tone at half level, for sounds and music tracks.
    std::string writeWav(const std::string& name) const {
        std::string data;
        for (int i = 0; i < 4410; ++i)
            data += std::string("\x00\x40", 2);
        std::string file = "RIFF" + le32(u32(36 + data.size())) + "WAVEfmt " + le32(16) + le16(1) + le16(1) +
                           le32(44100) + le32(88200) + le16(2) + le16(16) + "data" + le32(u32(data.size()));
        dir.write(name, file + data);
        return dir.file(name);
    }
    static std::string le16(u32 v) { return {char(v & 0xFF), char(v >> 8 & 0xFF)}; }
    static std::string le32(u32 v) { return le16(v & 0xFFFF) + le16(v >> 16); }

    // One frame of input and GUI.
    void frame(f32 seconds = 0.02f) {
        clock.advanceMs(u64(seconds * 1000 + 0.5f));
        inputServer->update();
        gui->Update(seconds);
    }
    void moveTo(i32 x, i32 y) {
        input.setCursor(x, y);
        frame();
    }
    // Presses and releases the left button over the point, one frame each.
    void clickAt(i32 x, i32 y) {
        moveTo(x, y);
        input.buttonDown(0);
        frame();
        input.buttonUp(0);
        frame();
    }
    // Draws the widget tree in a scene of its own.
    void render() {
        aGraphServer& graph = testGraphServer();
        ASSERT_TRUE(graph.beginScene());
        gui->Render();
        graph.endScene();
    }

    // Fires an event of the widget's own, as the GUI server does for input.
    static void click(GUI::Widget* widget) {
        ASSERT_TRUE(widget);
        GUI::MouseEventArgs e(widget);
        widget->OnClick(e);
    }
    static void key(GUI::Widget* widget, u32 scanCode) {
        ASSERT_TRUE(widget);
        GUI::KeybEventArgs e(widget);
        e.key = scanCode;
        widget->OnKeyDown(e);
    }

    const u64 realStart = platform::counter();
    FakeClock clock;
    ScriptedInput input;
    TempDir dir;
    LogCapture log;
    std::unique_ptr<CResManager> res;
    std::unique_ptr<aInputServer> inputServer;
    std::unique_ptr<GUI::Server> gui;
};
