#include "game/SpyGame/ItemSections.h"
#include "support/TempDir.h"
#include "tk2v/file/aOptionsFile.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Keys = std::vector<std::pair<std::string, std::string>>;
using Sections = std::vector<std::pair<std::string, Keys>>;

Sections sectionsOf(aOptionsFile& ini) {
    Sections out;
    for (ini.first(); !ini.isEnd(); ini.nextSection()) {
        Keys keys;
        for (ini.firstKey(); !ini.isKeysEnd(); ini.nextKey())
            keys.emplace_back(ini.getKeyName(), ini.getKeyValue());
        out.emplace_back(ini.getSectionName(), std::move(keys));
    }
    return out;
}

Sections normalise(const std::string& itemsIni, const std::vector<std::string>& objects) {
    TempDir dir;
    dir.write("items.ini", itemsIni);
    aOptionsFile items(dir.file("items.ini"));
    aOptionsFile out;
    NormaliseItemSections(items, objects, out);
    return sectionsOf(out);
}

TEST(ItemSections, ItemsFollowTheObjectsThenComeTheObjectlessSections) {
    const std::string itemsIni = "[Cups]\n"
                                 "Object = cup1, cup2 ghost\n"
                                 "IsISpyItem = 1\n"
                                 "ISpyGroup = Other\n"
                                 "[Note]\n"
                                 "Class = Door\n"
                                 "[A]\n"
                                 "Object = a\n"
                                 "ObjectOnMouseHover = hov\n"
                                 "[Lamp]\n"
                                 "Class = Lantern\n"
                                 "Object = lamp\n"
                                 "[CUP1]\n"
                                 "Object =\n"
                                 "UserData = list\n"
                                 "[Gone]\n"
                                 "Object = ghost2\n";
    const Sections expected = {
        {"A", {{"Object", "a"}, {"ObjectOnMouseHover", "hov"}}},
        {"CUP1", {{"IsISpyItem", "1"}, {"Object", "cup1"}, {"ISpyGroup", "Cups"}}},
        {"CUP2", {{"IsISpyItem", "1"}, {"Object", "cup2"}, {"ISpyGroup", "Cups"}}},
        {"Lamp", {{"Class", "Lantern"}, {"Object", "lamp"}}},
        {"plain", {{"Object", "plain"}}},
        {"Note", {{"Class", "Door"}}},
        {"CUP1", {{"Object", ""}, {"UserData", "list"}}},
    };
    EXPECT_EQ(normalise(itemsIni, {"a", "cup1", "#s_a", "cup2", "hov", "lamp", "plain", "#s_plain"}),
              expected);
}

TEST(ItemSections, ALaterSectionTakesAnObjectOver) {
    // "b" is A's object and then B's hover object, so A gets no item; a split name upper-cases ASCII only.
    const std::string itemsIni = "[A]\nObject = b\n[B]\nObject = c\nObjectOnItemLocked = b\n"
                                 "[G]\nObject = x\xc3\xa9, y\n";
    const Sections expected = {
        {"B", {{"Object", "c"}, {"ObjectOnItemLocked", "b"}}},
        {"X\xc3\xa9", {{"Object", "x\xc3\xa9"}, {"ISpyGroup", "G"}}},
    };
    EXPECT_EQ(normalise(itemsIni, {"b", "c", "x\xc3\xa9"}), expected);
}

TEST(ItemSections, AnEmptyFileGivesOneItemPerObject) {
    const Sections expected = {{"door", {{"Object", "door"}}}, {"Key", {{"Object", "Key"}}}};
    EXPECT_EQ(normalise("", {"door", "#s_door", "Key"}), expected);
}

} // namespace
