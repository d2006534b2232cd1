#pragma once
#include "../RoomFrameKit.h"
#include "game/SaveLoadSystem.h"
#include "support/game/TestRoomsManager.h"

#include <functional>
#include <string>
#include <vector>

// A puzzle room of the shipped class, which also keeps the ids of the messages it shows.
template <class Room> struct ShownMessages : Room {
    static const char* GetClassStaticName() { return Room::GetClassStaticName(); }
    void ShowMessage(const std::string& textId) override {
        if (!textId.empty())
            shown.push_back(textId);
        Room::ShowMessage(textId);
    }
    std::vector<std::string> shown;
};

// One word or book room, "zoom_Puzzle" of the class under test, beside the hall: Ann plays it with the
// hall's items at hand. The room's pictures are 20 x 20 and white unless a test adds its own.
template <class Room> class WordsRoomTest : public RoomFrameTestOn<TestRoomsManager<ShownMessages<Room>>> {
public:
    static constexpr const char* Name = "zoom_Puzzle";
    using Base = RoomFrameTestOn<TestRoomsManager<ShownMessages<Room>>>;

    // The room of that data loaded, reset and entered; `hallItems` are the hall's, Ann's script covers
    // both rooms.
    void open(const std::string& roomIni, const std::string& objectsIni, const std::string& itemsIni,
              const std::string& hallObjects = "", const std::string& hallItems = "",
              const std::string& annScript = "[ROOM]\n", u32 width = 400, u32 height = 300) {
        this->writeRoom(Name, std::string("Class = ") + Room::GetClassStaticName() + "\n" + roomIni,
                        objectsIni, itemsIni, width, height);
        for (const auto& [name, file] : m_pictures)
            this->dir.write(std::string("Demo/") + Name + "/Images/" + name + ".png", file);
        std::string list = this->dir.read(std::string("Demo/") + Name + "/Images/_images.list");
        for (const auto& [name, file] : m_pictures)
            list += name + ".png 8888 8888\n";
        this->dir.write(std::string("Demo/") + Name + "/Images/_images.list", list);
        this->dir.write(std::string("Demo/") + Name + "/Ann.ai", annScript);
        this->play(hallObjects, hallItems, annScript, std::string(Name) + "\n");
        room = dynamic_cast<ShownMessages<Room>*>(this->rooms.GetRoom(Name));
        ASSERT_TRUE(room);
        this->playing = room;
        if (beforeEnter)
            beforeEnter();
        room->Enter("Demo", nullptr);
        this->quiet();
    }
    // A picture of the room's group, of one colour, for the next `open`.
    void addPicture(const std::string& name, u32 w, u32 h, u32 argb) {
        addPicture(name, w, h, std::vector<u32>(w * h, argb));
    }
    void addPicture(const std::string& name, u32 w, u32 h, const std::vector<u32>& pixels) {
        m_pictures.emplace_back(name, imagefiles::text(imagefiles::png(w, h, pixels)));
    }

    CSpyItem& item(const std::string& name) { return *room->GetItem(name); }
    CSpyItem& hallItem(const std::string& name) { return *this->rooms.GetRoom("Hall")->GetItem(name); }
    CInventory& inventory() { return this->ann->GetInventory(); }

    // The room's stream as the save system writes it: its items, then its own record.
    std::string save(const std::string& file = "room.save") {
        SaveLoadSystem sys;
        sys.BeginSave(this->dir.file(file), 1);
        sys.SaveEntity(*room);
        EXPECT_TRUE(sys.Finish());
        return this->dir.read(file);
    }
    // The room set back to its start, then loaded from the stream.
    void reload(const std::string& stream) {
        room->Reset();
        this->dir.write("reload.save", stream);
        SaveLoadSystem sys;
        ASSERT_TRUE(sys.Load(this->dir.file("reload.save"), 1));
        EXPECT_TRUE(sys.LoadEntity(*room));
        sys.Finish();
    }
    // Saved, loaded into the room set back to its start, saved again: the same bytes.
    void expectSameBytesAfterReload() {
        const std::string first = save("first.save");
        reload(first);
        const std::string second = save("second.save");
        size_t at = 0;
        while (at < first.size() && at < second.size() && first[at] == second[at])
            ++at;
        EXPECT_TRUE(first == second) << "sizes " << first.size() << " and " << second.size()
                                     << ", first difference at byte " << at << dump(first, at)
                                     << dump(second, at);
    }
    static std::string dump(std::string s, size_t at) {
        SaveLoadSystem::scramble(reinterpret_cast<u8*>(s.data()), u32(s.size()));
        std::string out = "\n";
        for (size_t i = at > 40 ? at - 40 : 0; i < at + 24 && i < s.size(); ++i) {
            char b[8];
            std::snprintf(b, sizeof b, "%02x%c", u8(s[i]), i == at ? '*' : ' ');
            out += (s[i] >= 32 && s[i] < 127) ? std::string(1, s[i]) + " " : std::string(b);
        }
        return out;
    }
    std::vector<std::string> shown() { return std::exchange(room->shown, {}); }

    ShownMessages<Room>* room = nullptr;
    // Runs between the investigation's reset and the room's first entry.
    std::function<void()> beforeEnter;

private:
    std::vector<std::pair<std::string, std::string>> m_pictures;
};
