#pragma once
#include "WidgetTrace.h"
#include "support/FakeClock.h"
#include "support/LogCapture.h"
#include "support/ScriptedInput.h"
#include "support/TempDir.h"
#include "support/engine/TestApplication.h"
#include "support/engine/TestEngine.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/gui/WidgetFactory.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/Clock.h"
#include "tk2v/sound/aSoundManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// A widget that can take the focus, registered as "focusable" for the scripts of the tests.
struct FocusWidget : GUI::Widget {
    using GUI::Widget::Widget;
    bool CanFocus() const override { return true; }
};

// A GUI server over the shared test engine with scripted input and a manual clock.
struct GuiServerTest : ::testing::Test {
    const u64 realNow = platform::counter();
    FakeClock clock;
    ScriptedInput input;
    aGraphServer& graph = testGraphServer();
    TestApplication& app = testApp();
    std::unique_ptr<aInputServer> inputServer;
    aImageManager images;
    aSoundManager sounds;
    TempDir dir;
    LogCapture log;
    std::unique_ptr<GUI::Server> server;
    WidgetTrace trace;

    GuiServerTest() {
        clock.advanceNs(realNow);
        app.clearHooks();
        inputServer = std::make_unique<aInputServer>();
        GUI::WidgetFactory::Instance().RegisterClass("focusable", &GUI::WidgetFactory::Create<FocusWidget>);
        server = std::make_unique<GUI::Server>(&images, &sounds);
    }
    ~GuiServerTest() override {
        server.reset();
        inputServer.reset();
        app.clearHooks();
    }

    GUI::Widget* root() const { return server->GetRoot(); }
    GUI::Widget* find(const std::string& name) const { return root()->FindChild(name, true); }

    // Loads the text as a script file; "@/" stands for the temp folder.
    void load(const std::string& text, const std::string& name = "test.agui") {
        server->load(dir.writeLinked(name, text));
    }

    // One frame of input and GUI.
    void frame(f32 seconds = 0.016f) {
        clock.advanceMs(u64(seconds * 1000 + 0.5f));
        inputServer->update();
        server->Update(seconds);
    }
    // Moves the cursor onto the point and clicks the left button there, a frame after each step and
    // one more for what the click sets off.
    void clickAt(i32 x, i32 y) {
        input.setCursor(x, y);
        frame();
        input.click(GUI::MOUSE_LEFT);
        frame();
        frame();
    }
};
