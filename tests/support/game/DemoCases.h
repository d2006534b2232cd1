#pragma once
#include <string>
#include <vector>

namespace demo {

// The demo's cases in play order, each with its one personage, the room its map leads to first and
// the map's door to that room.
struct DemoCase {
    std::string name, personage, hub, door;
};
// A function, so that test tables made before main may take them.
inline const std::vector<DemoCase>& cases() {
    static const std::vector<DemoCase> all = {{"Demo", "Ashby", "room_Hall", "HALL"},
                                              {"Lab", "Rusca", "room_Lab", "LAB"},
                                              {"Town", "Corwin", "room_Town", "TOWN"}};
    return all;
}

} // namespace demo
