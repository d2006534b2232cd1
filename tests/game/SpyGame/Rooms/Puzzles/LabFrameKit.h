#pragma once
#include "../RoomFrameKit.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/Rooms/Puzzles/cCrimeLabButtles.h"
#include "support/game/TestRoomsManager.h"

#include <cctype>
#include <string>
#include <vector>

// The rack as the factory makes it, with its state in reach and the messages it shows kept.
struct RackProbe : cCrimeLabButtles {
    using cCrimeLabButtles::order;
    using cCrimeLabButtles::selectedSlot;
    using cCrimeLabButtles::solved;

    void ShowMessage(const std::string& textId) override {
        if (!textId.empty())
            shown.push_back(textId);
        cCrimeLabButtles::ShowMessage(textId);
    }
    std::vector<std::string> shown;
};

// A room's objects.ini and items.ini built side by side: every item over an object of its name in
// lower case, pictures 20 x 20 and white.
struct LabRoomFiles {
    std::string objects, items;

    // `more` goes to the item's section, `look` to its object's ("Color = ..." tints the picture).
    void picture(const std::string& name, int x, int y, bool visible = true, const std::string& more = "",
                 const std::string& look = "") {
        object(name, "image", x, y).append("Image = dot\n").append(look);
        item(name, visible, more);
    }
    // A text over a picture, or a bare text box that takes no clicks.
    void text(const std::string& name, int x, int y, bool visible = true, bool pictured = true) {
        object(name, "text", x, y)
            .append("Font = text\n")
            .append(pictured ? "Image = dot\n" : "Width = 20\nHeight = 10\nAlphaClick = 255\n");
        item(name, visible, "");
    }
    // Bottles B1, B2, B3 from x at y, `step` apart, and their labels at labelY.
    void bottles(int x, int y, int step, int labelY) {
        for (int i = 0; i < 3; ++i) {
            const std::string n = std::to_string(i + 1);
            text("B" + n, x + step * i, y);
            text("TB" + n, x + step * i, labelY, true, false);
        }
    }

    static std::string lower(std::string text) {
        for (char& c : text)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        return text;
    }
    // The personage's script lines that have it click-use the items where they lie.
    static std::string selfUsed(const std::vector<std::string>& names) {
        std::string text;
        for (const std::string& name : names)
            text += "[" + name + "]\nUseTo = ONESELF\n";
        return text;
    }

private:
    // Spelt out piece by piece: one compiler takes a literal added to a string for an overlapping copy.
    std::string& object(const std::string& name, const char* kind, int x, int y) {
        objects.append("[").append(lower(name)).append("]\nClass = ").append(kind);
        objects.append("\nX = ")
            .append(std::to_string(x))
            .append("\nY = ")
            .append(std::to_string(y))
            .append("\n");
        return objects;
    }
    void item(const std::string& name, bool visible, const std::string& more) {
        items.append("[").append(name).append("]\nObject = ").append(lower(name)).append("\n");
        items.append(visible ? "" : "Visible = 0\n").append(more);
    }
};

// The rack's room files: bottles at x 50, 100, 150 (y 50) with labels at y 200, SORTED at (300, 250) and
// a cloth, no bottle, at (300, 100).
inline LabRoomFiles rackFiles() {
    LabRoomFiles f;
    f.bottles(50, 50, 50, 200);
    f.picture("SORTED", 300, 250, false, "IsWinItem = CLICKUSE\n");
    f.picture("CLOTH", 300, 100);
    return f;
}
inline std::string rackSections() {
    return "[Options]\nItemToShow = zoom_CrimeLabButtles:SORTED\nOrder = B1 B2 B3\n";
}

// A room test beside the hall with the lab's two room names, saves of the whole rooms manager, and
// presses on items.
template <class Rooms> class LabFrameTest : public RoomFrameTestOn<Rooms> {
protected:
    static constexpr const char* Bench = "zoom_CrimeLabMain";
    static constexpr const char* Rack = "zoom_CrimeLabButtles";

    // A press on the item's middle, released in the next frame.
    u32 click(CSpyItem& item) {
        const SpyPoint at = item.GetPos();
        const u32 state = this->clickAt(i32(at.x) + item.GetWidth() / 2, i32(at.y) + item.GetHeight() / 2);
        this->frame(0, 299);
        return state;
    }

    // The rooms manager saved as a game saves it.
    std::string saveRooms(CRoomsManager& which) {
        SaveLoadSystem sys;
        sys.BeginSave(this->dir.file("rooms.save"), 4056);
        sys.SaveEntity(which);
        EXPECT_TRUE(sys.Finish());
        return this->dir.read("rooms.save");
    }
    std::string saveRooms() { return saveRooms(this->rooms); }
    // A second rooms manager made from the same data, reset, then loaded from the save.
    void loadFresh(CRoomsManager& fresh, const std::string& save) {
        fresh.LoadSharedRoomsList(&this->personages, &this->panel);
        fresh.Init(this->data(), "Demo");
        this->res->BeginLoading();
        while (!this->res->isDone())
            this->res->LoadStep();
        fresh.AfterLoadInitRooms(this->data());
        fresh.ResetRooms(this->data());
        this->dir.write("fresh.save", save);
        SaveLoadSystem sys;
        ASSERT_TRUE(sys.Load(this->dir.file("fresh.save"), 4056));
        ASSERT_TRUE(sys.LoadEntity(fresh));
        sys.Finish();
    }

    static std::string narrow(const std::wstring& text) { return {text.begin(), text.end()}; }
    static std::wstring widen(const std::string& text) { return {text.begin(), text.end()}; }
};

// The rack "zoom_CrimeLabButtles" (400 x 300 at the screen's corner) beside the hall, played by Ann, and
// the room it mirrors its texts onto, "zoom_CrimeLabMain": a plain room with the namesakes only.
class RackTest : public LabFrameTest<TestRoomsManager<RackProbe>> {
protected:
    void SetUp() override {
        for (const char* sound : {"buttles_select", "buttles_swap", "buttles_win"})
            addSound(sound);
        LabRoomFiles namesakes;
        namesakes.bottles(10, 10, 30, 250);
        writeRoom(Bench, "Class = RoomBase\n", namesakes.objects, namesakes.items, 400, 300);
        const LabRoomFiles files = rackFiles();
        writeRoom(Rack, "Class = CrimeLabButtles\n" + sections(), files.objects, files.items, 400, 300);
        dir.write(std::string("Demo/") + Rack + "/Ann.ai",
                  "[ROOM]\n" + LabRoomFiles::selfUsed({"B1", "B2", "B3", "CLOTH"}));
        play("", "", "[ROOM]\n", std::string(Bench) + "\n" + Rack + "\n");
        rack = dynamic_cast<RackProbe*>(rooms.GetRoom(Rack));
        ASSERT_TRUE(rack);
        playing = rack;
        rack->Enter(Bench, nullptr);
        quiet();
    }
    virtual std::string sections() const { return rackSections(); }

    CSpyItem& rackItem(const std::string& name) { return *rack->GetItem(name); }
    CSpyItem& benchItem(const std::string& name) { return *rooms.GetRoom(Bench)->GetItem(name); }
    std::string rackText(const std::string& name) { return narrow(rackItem(name).GetText()); }
    std::string benchText(const std::string& name) { return narrow(benchItem(name).GetText()); }

    RackProbe* rack = nullptr;
};
