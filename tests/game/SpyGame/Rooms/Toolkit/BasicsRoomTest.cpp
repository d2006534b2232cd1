#include "BasicsRoomKit.h"
#include "support/game/SaveRecords.h"

namespace {

using Names = std::vector<std::string>;

class BasicsRoom : public BasicsRoomTest {
protected:
    // Something in every object: text in both boxes, a hovered menu, a choice, a stroke, the timer and
    // the bar half way, a key the repeater tracks.
    void playABit() {
        for (u8 key : {30, 48}) {
            frame(300, 280, {.taps = {key}});
            frame(300, 280, Input{});
        }
        room->boxes.SelectByItem(&item("BOX2"));
        frame(300, 280, {.taps = {46}});
        frame(255, 105);
        frame(50, 155, {.down = {0}});
        frame(150, 170, {.up = {0}});
        frame(104, 152, {.down = {0}});
        frame(150, 170, {.up = {0}});
        room->timer.Start();
        room->bar.Start();
        room->bar.SetVisible(true);
        room->pairs.GetInventoryObjects()["PHOTO_INV"] = &item("MENU");
        for (int i = 0; i < 10; ++i)
            frame(300, 280);
        room->repeater.IsKeyFired(30);
    }
    // The record of each toolkit object, in the room's order.
    std::string toolkitRecords() {
        std::string bytes;
        const auto add = [&](auto& object) {
            host.save = [&](SaveLoadSystem& sys, u8* pos) { return object.SaveSelf(sys, pos); };
            bytes += records.save(host);
        };
        add(room->boxes);
        add(room->menu);
        add(room->cells);
        add(room->pairs);
        add(room->timer);
        add(room->bar);
        add(room->repeater);
        add(room->paint);
        return bytes;
    }

    SaveRecords records;
    HostEntity host;
};

TEST_F(BasicsRoom, TheToolkitObjectsSaveAfterTheRoomBaseAndComeBackInAResetRoom) {
    playABit();
    // Ten frames of 0.05 s add up to a little over 0.5 s.
    EXPECT_EQ(room->calls, (Names{"tick", "tick", "tick", "periodic"}));
    const std::string saved = records.save(*room);
    const std::string tail = toolkitRecords();
    ASSERT_GT(saved.size(), tail.size());
    EXPECT_EQ(saved.substr(saved.size() - tail.size()), tail);

    room->Reset();
    ASSERT_TRUE(records.load(*room, saved));
    EXPECT_EQ(room->boxes.GetBoxes().front().GetText(), "ab");
    EXPECT_EQ(room->boxes.GetFocused(), &room->boxes.GetBoxes().back());
    EXPECT_EQ(room->cells.GetSelected(0), 1);
    EXPECT_TRUE(room->timer.IsRunning());
    EXPECT_EQ(room->pairs.GetInventoryObject("PHOTO"), &item("MENU"));
    // The boxes rest after a load; from then on every save is the same.
    const std::string resting = records.save(*room);
    room->Reset();
    ASSERT_TRUE(records.load(*room, resting));
    EXPECT_EQ(records.save(*room), resting);
    EXPECT_EQ(resting.size(), saved.size());

    // The timer and the bar go on where they were.
    room->calls.clear();
    for (int i = 0; i < 20; ++i)
        frame(300, 280);
    EXPECT_EQ(room->calls, (Names{"tick", "finish", "periodic", "periodic"}));
}

} // namespace
