#pragma once
#include "../RoomFrameKit.h"
#include "game/SaveLoadSystem.h"
#include "support/game/SaveRecords.h"
#include "support/game/TestRoomsManager.h"

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A garden puzzle room that notes the texts it shows.
template <class Room> struct Shown : Room {
    void ShowMessage(const std::string& textId) override {
        if (!textId.empty())
            shown.push_back(textId);
        Room::ShowMessage(textId);
    }
    std::vector<std::string> shown;
};

// One garden puzzle beside the hall, registered by its class name and played by Ann; `room` is the
// puzzle's probe, which the frames drive.
template <class Room> class GardenRoomTest : public RoomFrameTestOn<TestRoomsManager<Shown<Room>>> {
protected:
    using GardenRooms = TestRoomsManager<Shown<Room>>;
    using Kit = RoomFrameTestOn<GardenRooms>;
    using Kit::data;
    using Kit::dir;
    using Kit::panel;
    using Kit::personages;
    using Kit::playing;
    using Kit::res;
    using Kit::rooms;

    void open(const std::string& name, const std::string& roomIni, const std::string& objectsIni,
              const std::string& itemsIni, const std::string& script, u32 width = 400, u32 height = 300) {
        write(name, roomIni, objectsIni, itemsIni, script, width, height);
        start();
    }
    // The room's files; `start` then loads the investigation and enters the room.
    void write(const std::string& name, const std::string& roomIni, const std::string& objectsIni,
               const std::string& itemsIni, const std::string& script, u32 width = 400, u32 height = 300) {
        m_name = name;
        this->writeRoom(name, std::string("Class = ") + Room::GetClassStaticName() + "\n" + roomIni,
                        objectsIni, itemsIni, width, height);
        dir.write("Demo/" + name + "/Ann.ai", script);
    }
    void start(const std::string& moreRooms = "") {
        this->play("", "", "[ROOM]\n", m_name + "\n" + moreRooms);
        enter(rooms);
    }
    // A picture of the room's own, listed after the others.
    void addPicture(const std::string& name, u32 w, u32 h, u32 argb) {
        const std::string folder = "Demo/" + m_name + "/Images/";
        dir.write(folder + name + ".png",
                  imagefiles::text(imagefiles::png(w, h, std::vector<u32>(w * h, argb))));
        dir.write(folder + "_images.list", dir.read(folder + "_images.list") + name + ".png 8888 8888\n");
    }
    void enter(CRoomsManager& manager) {
        playing = room = dynamic_cast<Shown<Room>*>(manager.GetRoom(m_name));
        ASSERT_TRUE(room);
        room->Enter("Demo", nullptr);
    }
    CSpyItem& at(const std::string& name) { return *room->GetItem(name); }
    // The item taken out of Ann's strip onto the cursor, as the investigation does.
    void carry(CSpyItem& item) {
        this->ann->GetInventory().AddItem(&item);
        this->ann->GetInventory().RemoveItem(item.GetName());
        room->SetItemOnCursor(&item, nullptr);
    }
    // The room base's flag that shows the system pointer over the room, as its record holds it.
    bool pointerShownInside() { return ownRecord().at(31) != 0; }
    // The texts shown since the last call.
    std::vector<std::string> shown() { return std::exchange(room->shown, {}); }

    // The room's own record: the room base's part, then the puzzle's.
    std::string ownRecord() {
        HostEntity host;
        host.save = [this](SaveLoadSystem& sys, u8* pos) { return room->SaveSelf(sys, pos); };
        return records.save(host);
    }
    // The puzzle's part of it alone.
    std::string puzzleRecord() {
        HostEntity base;
        base.save = [this](SaveLoadSystem& sys, u8* pos) { return room->CRoomBase::SaveSelf(sys, pos); };
        const std::string own = ownRecord();
        return own.substr(records.save(base).size());
    }
    bool loadOwnRecord(const std::string& bytes) {
        HostEntity host;
        host.load = [this](SaveLoadSystem& sys, const u8* pos) { return room->LoadSelf(sys, pos); };
        return records.load(host, bytes);
    }

    // Every room's record, as a saved game holds it.
    std::string save(CRoomsManager& manager, const std::string& file) {
        SaveLoadSystem sys;
        sys.BeginSave(dir.file(file), 4056);
        sys.SaveEntity(manager);
        EXPECT_TRUE(sys.Finish());
        return dir.read(file);
    }
    // A rooms manager of the same data, loaded and reset as a new game's, then given the saved game.
    std::unique_ptr<GardenRooms> loadFresh(const std::string& file) {
        auto fresh = std::make_unique<GardenRooms>();
        fresh->LoadSharedRoomsList(&personages, &panel);
        fresh->Init(data(), "Demo");
        res->BeginLoading();
        while (!res->isDone())
            res->LoadStep();
        fresh->AfterLoadInitRooms(data());
        fresh->ResetRooms(data());
        SaveLoadSystem sys;
        EXPECT_TRUE(sys.Load(dir.file(file), 4056));
        EXPECT_TRUE(sys.LoadEntity(*fresh));
        sys.Finish();
        return fresh;
    }
    // Saved, loaded into a fresh build and saved again: the same bytes. The fresh build is the one
    // played from then on.
    void expectSameSaveAfterFreshLoad(const std::string& stage) {
        SCOPED_TRACE(stage);
        const std::string first = save(m_fresh.empty() ? rooms : *m_fresh.back(), stage + ".save");
        m_fresh.push_back(loadFresh(stage + ".save"));
        EXPECT_TRUE(save(*m_fresh.back(), stage + "-again.save") == first);
        playing = room = dynamic_cast<Shown<Room>*>(m_fresh.back()->GetRoom(m_name));
        ASSERT_TRUE(room);
    }

    // Fields read off a record in order; past its end they read as zero.
    struct Fields {
        explicit Fields(std::string bytes) : bytes(std::move(bytes)) {}
        u8 byte() { return at < bytes.size() ? u8(bytes[at++]) : (at++, 0); }
        u32 u32le() {
            u32 value = 0;
            for (int i = 0; i < 4; ++i)
                value |= u32(byte()) << (8 * i);
            return value;
        }
        f32 f32le() {
            const u32 bits = u32le();
            f32 value;
            std::memcpy(&value, &bits, 4);
            return value;
        }
        std::string text() {
            std::string out;
            for (char c; at < bytes.size() && (c = bytes[at++]) != 0;)
                out += c;
            return out;
        }
        std::string bytes;
        size_t at = 0;
    };

    static std::string u8s(u8 value) { return std::string(1, char(value)); }
    static std::string str(const std::string& text) { return text + '\0'; }

    Shown<Room>* room = nullptr;
    SaveRecords records;

private:
    std::string m_name;
    std::vector<std::unique_ptr<GardenRooms>> m_fresh;
};
