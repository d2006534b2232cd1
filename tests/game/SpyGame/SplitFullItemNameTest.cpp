#include "game/SpyGame/CRoomItemLookup.h"

#include <gtest/gtest.h>

namespace {

TEST(SplitFullItemName, SplitsAtTheFirstColonOnly) {
    const struct {
        const char* full;
        const char* room;
        const char* item;
    } cases[] = {
        {"Study:SAFE", "Study", "SAFE"},
        {"Study:drawer:key", "Study", "drawer:key"},
        {":key", "", "key"},
        {"Study:", "Study", ""},
        {"key", "before", "key"},
        {"", "before", ""},
    };
    for (const auto& c : cases) {
        std::string room = "before", item = "old";
        SplitFullItemName(c.full, room, item);
        EXPECT_EQ(room, c.room) << c.full;
        EXPECT_EQ(item, c.item) << c.full;
    }
}

} // namespace
