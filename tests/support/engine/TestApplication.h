#pragma once
#include "support/FakeDeviceStates.h"
#include "tk2v/gfx/aApplication.h"

#include <functional>
#include <vector>

// The shared test application: its frame hooks call what a test puts in them and its error boxes
// are recorded. Tests of the frame reach its inner parts through it.
class TestApplication : public aApplication {
public:
    std::function<i32()> onUpdate, onRender;
    std::vector<u32> errors;
    int updates = 0, renders = 0, modeChanges = 0;

    i32 update() override {
        ++updates;
        return onUpdate ? onUpdate() : 0;
    }
    i32 render() override {
        ++renders;
        return onRender ? onRender() : 0;
    }
    void onDisplayModeChanged() override { ++modeChanges; }
    void showError(u32 code) override {
        errors.push_back(code);
        aApplication::showError(code);
    }

    // Back to no hooks, no counts, active and not paused.
    void clearHooks();
    bool answersRaiseRequest() { return m_singleInstance.pollRaiseRequest(); }
    void closeLog() { aApplication::closeLog(); }
    bool loadingRunning() const { return m_loadingRunning; }
    void setScreenshotFolder(const std::string& folder) { m_screenshotFolder = folder; }
};

// The device under the shared graph server: it plays lost and not-reset states and reports the
// refresh rate a test gives it (read by the graph server at its next reset).
class TestDevice : public FakeDeviceStates {
public:
    using FakeDeviceStates::FakeDeviceStates;
    u32 refreshRate() const override { return rate; }
    u32 rate = 0;
};

// The objects behind testApplication() and testGraphServer() (which reset them first).
TestApplication& testApp();
TestDevice& testDevice();
// True when the shared graph server was made during the running test, so it has drawn no frame
// before it.
bool engineMadeInThisTest();
