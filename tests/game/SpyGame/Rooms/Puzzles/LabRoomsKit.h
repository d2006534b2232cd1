#pragma once
#include "../RoomFrameKit.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/Rooms/Puzzles/cCrimeSearcherRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cMicrofichePuzzleRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cVictimId2PuzzleRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cVictimIdPuzzleRoom.h"
#include "support/TypedKeys.h"
#include "support/game/TestRoomsManager.h"

#include <memory>
#include <string>
#include <vector>

// A lab room of the shipped class that also keeps the messages it shows, in order.
template <class Room> struct Traced : Room {
    void ShowMessage(const std::string& textId) override {
        if (!textId.empty())
            shown.push_back(textId);
        Room::ShowMessage(textId);
    }
    std::vector<std::string> shown;
};

using LabRooms = TestRoomsManager<Traced<cMicrofichePuzzleRoom>, Traced<cVictimId2PuzzleRoom>,
                                  Traced<cVictimIdPuzzleRoom>, Traced<cCrimeSearcherRoom>>;

// The lab's reader and computers played by Rusca beside the hall, with the ten sounds they play. A
// test writes its rooms (each with Rusca's script for it) and their texts, then plays one of them.
class LabRoomsTest : public RoomFrameTestOn<LabRooms> {
protected:
    static constexpr const char* Sounds[] = {
        "microfiche_type_symbol", "microfiche_put",      "microfiche_get", "microfiche_charging",
        "pc_button_mouseclick",   "pc_button_mouseover", "pc_type_symbol", "pc_result_complete",
        "pc_result_failed",       "pc_searching_process"};

    LabRoomsTest() {
        personageName = "Rusca";
        for (const char* sound : Sounds)
            addSound(sound);
    }

    // The room's files, Rusca's lines for it (every item named in `onSelf` is click-used on itself)
    // and its texts ("ID = text" lines).
    void writeLabRoom(const std::string& name, const std::string& roomIni, const std::string& objectsIni,
                      const std::string& itemsIni, const std::vector<std::string>& onSelf,
                      const std::string& texts) {
        writeRoom(name, roomIni, objectsIni, itemsIni, 400, 300);
        std::string script = "[ROOM]\n";
        for (const std::string& item : onSelf)
            script += "[" + item + "]\nUseTo = ONESELF\n";
        dir.write("Demo/" + name + "/Rusca.ai", script);
        dir.write("lang/Investigations/Demo/" + name + "/room.txt", texts);
    }
    // A text object over a box of its own colour, and the items over objects of their names in lower
    // case (a picture of 20 x 20 for those `objects` gives).
    static std::string textObject(const std::string& name, int x, int y, int w, int h) {
        return "[" + name + "]\nClass = text\nFont = text\nColor = FF202020\nX = " + std::to_string(x) +
               "\nY = " + std::to_string(y) + "\nWidth = " + std::to_string(w) +
               "\nHeight = " + std::to_string(h) + "\n";
    }
    // `each` goes into every item's section.
    static std::string itemsOver(const std::vector<std::string>& names, const std::string& more = "",
                                 const std::string& each = "") {
        std::string text;
        for (const std::string& name : names) {
            std::string object = name;
            for (char& ch : object)
                ch = char(std::tolower(static_cast<unsigned char>(ch)));
            text += "[" + name + "]\nObject = " + object + "\n" + each;
        }
        return text + more;
    }

    template <class Room> Traced<Room>* enter(const std::string& name) {
        auto* room = dynamic_cast<Traced<Room>*>(rooms.GetRoom(name));
        EXPECT_TRUE(room) << name;
        if (!room)
            return nullptr;
        playing = room;
        room->Enter("Demo", nullptr);
        frame(390, 290);
        quiet();
        room->shown.clear();
        return room;
    }

    // One key a frame, then a frame with none.
    void type(const std::string& text, i32 x = 390, i32 y = 290) {
        for (char ch : text)
            frame(x, y, {.taps = {ScanCodeOf(ch)}});
        frame(x, y);
    }

    // The rooms' record, as a saved game holds it.
    std::string save(CRoomsManager& manager, const std::string& name) {
        SaveLoadSystem sys;
        sys.BeginSave(dir.file(name), 4056);
        sys.SaveEntity(manager);
        EXPECT_TRUE(sys.Finish());
        return dir.read(name);
    }
    // A rooms manager of the same data, loaded and reset as a new game's, then given the saved game.
    std::unique_ptr<LabRooms> loadFresh(const std::string& name) {
        auto fresh = std::make_unique<LabRooms>();
        fresh->LoadSharedRoomsList(&personages, &panel);
        fresh->Init(data(), "Demo");
        res->BeginLoading();
        while (!res->isDone())
            res->LoadStep();
        fresh->AfterLoadInitRooms(data());
        fresh->ResetRooms(data());
        SaveLoadSystem sys;
        EXPECT_TRUE(sys.Load(dir.file(name), 4056));
        EXPECT_TRUE(sys.LoadEntity(*fresh));
        sys.Finish();
        return fresh;
    }
    // Saved, loaded into a fresh build of the rooms and saved again: the same bytes.
    void expectResaveEqual(const std::string& label) {
        const std::string first = save(rooms, label + "1.save");
        std::unique_ptr<LabRooms> fresh = loadFresh(label + "1.save");
        // Compared whole: a stream printed on failure would be unreadable.
        EXPECT_TRUE(save(*fresh, label + "2.save") == first) << label;
    }
};
