#pragma once
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "support/FakeClock.h"
#include "support/LogCapture.h"
#include "support/ScriptedInput.h"
#include "support/engine/TestApplication.h"
#include "support/engine/TestEngine.h"
#include "support/game/ItemKit.h"
#include "support/game/SaveRecords.h"
#include "tk2v/input/aInputServer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

// Bare rectangle items of the room "Hall" (and the rooms and sounds of ItemKit) under the shared test
// application's input server, with the mouse played frame by frame, and the record of whatever a
// test saves.
class ToolkitTest : public ItemKit {
protected:
    ToolkitTest() {
        testApp().clearHooks();
        inputServer = std::make_unique<aInputServer>();
        rooms.rooms["Hall"] = &hall;
    }
    ~ToolkitTest() override { inputServer.reset(); }

    // A shown, unlocked item of that size at the point.
    CSpyItem* add(const std::string& name, SpyPoint pos, u32 width = 20, u32 height = 20) {
        CSpyItem* item = hall.CreateItem(name, "Hall", pos, width, height, true);
        item->Reset();
        item->Unlock();
        return item;
    }

    // One frame of the mouse at (x, y): the left button goes down (state 2), stays down (3), goes up
    // (1) or stays up (0).
    enum Button { Idle, Press, Hold, Release };
    void mouse(i32 x, i32 y, Button button) {
        input.setCursor(x, y);
        if (button == Press)
            input.buttonDown(0);
        if (button == Release)
            input.buttonUp(0);
        clock.advanceMs(20);
        inputServer->update();
    }
    aKeyState leftButton() const { return inputServer->mouseButtons[0]; }

    // The bytes the writer makes, and a load of them through the reader.
    std::string record(std::function<u8*(SaveLoadSystem&, u8*)> save) {
        host.save = std::move(save);
        return records.save(host);
    }
    bool load(const std::string& bytes, std::function<const u8*(SaveLoadSystem&, const u8*)> read) {
        host.load = std::move(read);
        return records.load(host, bytes);
    }

    FakeClock clock;
    ScriptedInput input;
    std::unique_ptr<aInputServer> inputServer;
    CSpyItemManager hall;
    SaveRecords records;
    HostEntity host;
};
