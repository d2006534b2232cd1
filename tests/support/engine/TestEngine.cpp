#include "support/engine/TestEngine.h"

#include "support/engine/TestApplication.h"
#include "tk2v/gfx/aGraphServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>
#include <string>

namespace {

// Mesa's software driver is unloaded when the last GL context goes, taking the names of the
// allocations it keeps for the process with it; kept loaded, LeakSanitizer can tell them apart.
[[maybe_unused]] void* const g_keepGlDriver =
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);

std::string currentTestName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return info ? std::string(info->test_suite_name()) + "." + info->name() : std::string();
}

struct Engine {
    TestApplication app;
    std::unique_ptr<aGraphServer> graph;
    TestDevice* device = nullptr;
    std::string madeIn = currentTestName();

    Engine() {
        platform::setDeviceDecorator([this](std::unique_ptr<platform::GraphicsDevice> inner) {
            auto wrapped = std::make_unique<TestDevice>(std::move(inner));
            device = wrapped.get();
            return std::unique_ptr<platform::GraphicsDevice>(std::move(wrapped));
        });
        graph = std::make_unique<aGraphServer>(1024, 768, false, true);
        platform::setDeviceDecorator({});
        if (graph->getFatalError() || !device) {
            ADD_FAILURE() << "no test graph server";
            std::abort();
        }
    }
};

// Never torn down, like the offscreen device: the GL driver stays loaded until the leak check.
Engine& engine() {
    static Engine* e = new Engine;
    return *e;
}

void resetRenderState(aGraphServer& graph) {
    if (graph.isSceneOpen())
        graph.endScene();
    graph.clearFatalError();
    graph.setFullscreen(false);
    graph.setViewport({0, 0, graph.getWidth(), graph.getHeight()});
    graph.setColor(1, 1, 1, 1);
    // A word outside both tables first, so that 0 is applied in full.
    graph.setRenderMode(0xF0F);
    graph.setRenderMode(0);
    graph.setLinearFilter(false);
    graph.setLinearFilter(true);
}

} // namespace

void TestApplication::clearHooks() {
    onUpdate = onRender = nullptr;
    errors.clear();
    updates = renders = modeChanges = 0;
    m_active = true;
    m_paused = false;
    m_frameResult = 0;
}

TestApplication& testApp() {
    return engine().app;
}

TestDevice& testDevice() {
    return *engine().device;
}

bool engineMadeInThisTest() {
    return engine().madeIn == currentTestName();
}

aApplication& testApplication() {
    testGraphServer();
    return engine().app;
}

aGraphServer& testGraphServer() {
    Engine& e = engine();
    e.device->setState(platform::S_OK);
    resetRenderState(*e.graph);
    return *e.graph;
}
