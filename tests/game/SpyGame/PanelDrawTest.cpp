#include "PanelKit.h"
#include "game/SpyGame/CFindItemsGroup.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "support/game/FakeRooms.h"

namespace {

using namespace std::string_literals;

// The panel at the bottom of the screen: the strip of two quest items under its shadow, locked, the
// Evidences button glowing at the top of its pulse, Ann's notepad with a closed group and the level.
class PanelDrawTest : public PanelTest {
public:
    PanelDrawTest() {
        // The glow image's five bands, the last one yellow.
        std::vector<u32> bands;
        for (u32 colour : {0xFF404040u, 0xFF606060u, 0xFF808080u, 0xFFA0A0A0u, 0xFFFFFF00u})
            bands.insert(bands.end(), 60 * 8, colour);
        dir.write("glow.png", imagefiles::text(imagefiles::png(60, 40, bands)));
        res->getImageManager()->loadResource(dir.path(), "glow.png 8888 8888", "");
        addImage("lock", 209, 50, 0x80FF0000);
        addImage("Inventory_shadow", 209, 6, 0x80000000, "GamePanel");
        addImage("gem", 30, 30, 0xFF00FF00, "Hall");
        addImage("gem_icon", 30, 20, 0xFF00A0FF, "Hall");
        addImage("ring", 30, 30, 0xFF00FF00, "Hall");
        addImage("ring_icon", 24, 24, 0xFFFF00FF, "Hall");
        texts("investigation = \"Level\"\n");
        texts("coins_1 = \"Coins\"\n", "Tasks");
        roomDir.write("objects.ini",
                      "[gem]\nClass = image\nImage = gem\n[ring]\nClass = image\nImage = ring\n");
        roomDir.write("items.ini",
                      "[Gem]\nObject = gem\nIsQuestItem = 1\n[Ring]\nObject = ring\nIsQuestItem = 1\n");
        hall.CreateItems(&rooms, "Hall", roomDir.path());
        hall.ResetItems();
        rooms.rooms["Hall"] = &hall;
    }

    TempDir roomDir;
    CSpyItemManager hall;
    FakeRooms rooms;
};

TEST_F(PanelDrawTest, StripShadowLockGlowTasksAndLevel) {
    std::string script = fonts() + panelScript("100 650 209 50");
    auto swap = [&](const std::string& from, const std::string& to) {
        script.replace(script.find(from), from.size(), to);
    };
    swap("widget Evidences\n{\n", "imagebutton Evidences\n{\n  Image glow\n");
    swap("widget BlockInventory\n{\n", "staticimage BlockInventory\n{\n  NormalImage lock\n");
    swap("statictext LevelNumber\n{\n  AreaRect 800 700 200 16\n",
         "statictext LevelNumber\n{\n  AreaRect 800 700 200 16\n  TextNormalColor FFFFFFFF\n");
    load(script);
    panel.Create();
    CInventory inventory;
    inventory.Init("Ann", &panel, &rooms);
    inventory.AddItem(hall.GetItem("Gem"));
    inventory.AddItem(hall.GetItem("Ring"));
    panel.SetInventory(&inventory);
    // Shown, markers on, inventory locked, the pulse at 1.0.
    ASSERT_TRUE(loadRecord(panel, f32bytes(1.0f) + "\1\0\0\0\1\0\1\0"s + "\1\1\1\1\1\1\1\1\1"s));
    panel.SetLevelNumber(1);
    panel.SetPersonage("Ann");
    std::vector<CFindItemsGroup> groups(1);
    groups[0].SetGroupName("coins");
    groups[0].AddItem("coin", 0);
    groups[0].SetRemaining(0);
    panel.ShowInvestigationTasks("", &groups, "Tasks");
    EXPECT_EQ(find("LevelNumber")->GetText(), L"Level 1");

    // Texts lay out in the GUI's update.
    panel.Update(0);
    const RgbaImage image = capture(0, 0, 1024, 768, 0xFF808080);
    EXPECT_EQ(image.pixel(410, 612) >> 8, 0xFFFF00u) << "glow band at full alpha";
    EXPECT_EQ(image.pixel(100, 161) >> 8, 0u) << "struck line";
    EXPECT_TRUE(matchesGolden("game_panel", image));
    panel.SetInventory(nullptr);
}

} // namespace
