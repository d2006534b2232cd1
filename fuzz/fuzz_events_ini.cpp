// Story events read from any "_events.ini" text over two fixture rooms, then chosen and marked done
// fifty times while the player moves between the rooms, a close-up and nowhere.
#include "../tests/game/SpyGame/Events/StoryFakes.h"
#include "fuzz_input_file.h"
#include "game/SpyGame/Events/CSpyEventBase.h"
#include "game/SpyGame/Events/CSpyEventsManager.h"

#include <cstdint>

namespace {

void furnish(FakeWorld& world) {
    world.rooms.add("room_Hall:HAT").win = true;
    world.rooms.add("room_Hall:DESK").visible = false;
    world.rooms.add("room_Study:SAFE");
    world.hold({"KEY"});
    world.leaveTask("Bob", "room_Hall");
    world.record("Ann", "room_Hall", "HAT", 2, 1, true);
}

// The place of step i: the hall, a close-up over it, the study, or between rooms.
void moveTo(FakeWorld& world, int step) {
    world.hasRoom = step % 7 != 6;
    world.room = step % 3 == 2 ? "room_Study" : "room_Hall";
    world.historyEmpty = step % 3 != 1;
    world.messageShown = step % 5 == 0;
    world.hasPersonages = step % 11 != 10;
    world.play(step % 4 == 3 ? "Bob" : "Ann");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = fuzzInputPath("fuzz_events_ini", ".ini");
    writeFuzzInput(path, "", data, size);
    FakeWorld world;
    furnish(world);
    CSpyEventsManager manager;
    manager.SetInvestigation(&world);
    manager.AddEvents(path);
    for (int step = 0; step < 50; ++step) {
        moveTo(world, step);
        if (CSpyEventBase* event = manager.GetNextEvent()) {
            (void)manager.FindEvent(event->GetName());
            event->SetDone();
        }
    }
    manager.ResetAll();
    return 0;
}
