#include "GardenMazeKit.h"
#include "tk2v/platform/Random.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

namespace {

size_t threadCount() {
    size_t count = 0;
    for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

// The garden played with its workers on threads of their own: clicks in the top row's cells (Tez flees
// from cell 1 into cell 2 and is caught there), frames, saves, moves of the room and resets, in an order
// drawn from the seed, and the room destroyed at the end while a worker may run. A run of frames lets
// each worker finish before the next frame, so that play goes as it would at a frame rate; a save, move,
// reset or the end may come while one runs. Nothing races, nothing hangs, no thread outlives the room.
class GardenMazeWorkers : public GardenMazeTest, public testing::WithParamInterface<unsigned> {};

TEST_P(GardenMazeWorkers, RoundsOfPlayLeaveNoRaceHangOrThread) {
    // Tez waits in cell 1, flees into cell 2 and is caught there.
    Layout layout{{"1 3", "0", "", "0 2 3", "", "", "2 3", "", ""}, "1"};
    layout.timers = "OpenDoor = 0.1\nCloseDoor = 0.1\nTezSpeed = 15\nMarwennSpeed = 15\n";
    playGarden(layout);
    garden->SetWorkersInline(false);
    const size_t threads = threadCount();
    // A frame once the running worker, if any, is done.
    auto playFrame = [&] {
        while (garden->IsWorkerPending() && garden->IsWorkerBusy())
            std::this_thread::yield();
        frame(0, 0);
    };
    platform::srand(GetParam());
    for (int round = 0; round < 100; ++round) {
        const int action = platform::rand() % 10;
        if (action < 3) {
            const int cell = 1 + platform::rand() % 3;
            clickAt(i32(cellCentre(cell).x) + platform::rand() % 60 - 30, i32(cellCentre(cell).y));
        } else if (action < 7) {
            for (int i = 10 + platform::rand() % 70; i > 0; --i)
                playFrame();
        } else if (action == 7) {
            record();
        } else if (action == 8) {
            garden->SetPosition({f32(platform::rand() % 3), 0});
            garden->SetPosition({0, 0});
        } else {
            garden->Reset();
            garden->Enter("Demo", nullptr);
        }
    }
    // Then a chase to its end, and the room destroyed while Marwenn's worker may run.
    garden->Reset();
    garden->Enter("Demo", nullptr);
    auto settleWaiting = [&] {
        for (int i = 0; i < 4000 && !settled(); ++i)
            playFrame();
    };
    settleWaiting();
    for (int cell : {1, 2}) {
        clickAt(i32(cellCentre(cell).x), i32(cellCentre(cell).y));
        settleWaiting();
        EXPECT_EQ(cellOf(tez()), cell == 1 ? 2 : 0);
    }
    EXPECT_TRUE(garden->IsTaken());
    garden->Reset();
    garden->Enter("Demo", nullptr);
    clickAt(i32(cellCentre(1).x), i32(cellCentre(1).y));
    playing = nullptr;
    rooms.Clear();
    EXPECT_EQ(threadCount(), threads);
}

INSTANTIATE_TEST_SUITE_P(Seeds, GardenMazeWorkers, testing::Values(1u, 2u, 3u, 4u, 5u));

} // namespace
