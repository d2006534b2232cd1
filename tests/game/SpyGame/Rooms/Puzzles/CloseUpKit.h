#pragma once
#include "WordsRoomKit.h"
#include "game/SpyGame/CInventory.h"
#include "support/LogCapture.h"
#include "tk2v/platform/Random.h"

#include <algorithm>
#include <string>
#include <vector>

// The close-ups are played as the word and book rooms are: "zoom_Puzzle" of the class under test
// beside the hall, whose items Ann carries in.
template <class Room> class CloseUpTest : public WordsRoomTest<Room> {
public:
    using Names = std::vector<std::string>;

    // An object of the room's own picture at its corner, with any further lines of its section.
    static std::string image(const std::string& object, const std::string& picture, int x, int y,
                             const std::string& more = "") {
        return "[" + object + "]\nClass = image\nImage = " + picture + "\nX = " + std::to_string(x) +
               "\nY = " + std::to_string(y) + "\n" + more;
    }
    // A press at (x, y) and its release in the next frame, so that the next press reads as one; the
    // state the press left.
    u32 click(i32 x, i32 y) {
        const u32 state = this->clickAt(x, y);
        this->frame(x, y);
        return state;
    }
    // The hall's item taken from the strip onto the cursor, as the panel does.
    void carry(const std::string& name) {
        this->inventory().RemoveItem(name);
        this->room->SetItemOnCursor(&this->hallItem(name), nullptr);
    }
    // The sounds started since the last look whose names begin so.
    Names soundsOf(const std::string& prefix) {
        Names names = this->started();
        std::erase_if(names, [&](const std::string& n) { return !n.starts_with(prefix); });
        return names;
    }
    void addSounds(const std::vector<std::string>& names) {
        for (const std::string& name : names)
            this->addSound(name);
    }
};
