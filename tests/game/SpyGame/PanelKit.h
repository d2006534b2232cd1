#pragma once
#include "InGameKit.h"
#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "support/Golden.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/SpriteBatch.h"

#include <string>
#include <vector>

// The panel's window with every widget it looks up: the inventory area 209 pixels wide (five cells)
// at (100, 650), buttons as plain widgets and the notepad of the personage Ann with both task texts
// in blue. Bob has a photo only; Cid's notepad has no texts, Dan's text no font.
class PanelScriptTest : public InGameTest {
public:
    static std::string blueText(const std::string& name, const std::string& area) {
        return widget("statictext", name, area, {"Font text", "TextNormalColor FF0000FF"});
    }
    static std::string panelScript(const std::string& inventoryArea = "100 650 209 50",
                                   const std::vector<std::string>& more = {}) {
        auto plain = [](const char* name, const char* area) { return widget("widget", name, area); };
        std::vector<std::string> children{
            plain("GamePanel", "0 600 1024 168"),
            plain("BlockWidget", "0 0 1024 600"),
            widget("widget", "BackBtnPanel", "900 0 124 60", {}, {plain("Back", "10 10 100 40")}),
            plain("Evidences", "400 610 60 40"),
            plain("Clues", "470 610 60 40"),
            plain("Map", "540 610 60 40"),
            plain("Menu", "610 610 60 40"),
            widget("widget", "SolveBtnPanel", "900 100 124 60", {}, {plain("Solve", "10 10 100 40")}),
            widget("widget", "PersonagesFotos", "0 0 100 100", {},
                   {plain("Ann", "0 0 100 100"), plain("Bob", "0 0 100 100")}),
            widget("widget", "PersonagesTitles", "0 100 100 20", {}, {plain("Ann", "0 0 100 20")}),
            widget("widget", "PersonagesNotepads", "0 120 200 400", {},
                   {widget("widget", "Ann", "10 20 190 380", {},
                           {blueText("text", "5 10 180 16"), blueText("text2", "5 200 180 16")}),
                    plain("Cid", "0 0 190 380"),
                    widget("widget", "Dan", "0 0 190 380", {},
                           {widget("statictext", "text", "5 10 180 16", {"TextNormalColor FF0000FF"})})}),
            plain("ArrowLeft", "70 650 20 50"),
            plain("ArrowRight", "320 650 20 50"),
            widget("widget", "Hints", "700 610 80 40", {}, {text("HintsCount", "0 0 40 16")}),
            plain("BlockInventory", "100 650 209 50"),
            text("LevelNumber", "800 700 200 16"),
        };
        if (!inventoryArea.empty())
            children.push_back(plain("InventoryArea", inventoryArea.c_str()));
        children.insert(children.end(), more.begin(), more.end());
        return widget("window", "SpyGameInterface", "0 0 1024 768", {}, children);
    }
};

// The panel over that window, created.
class PanelTest : public PanelScriptTest {
public:
    void loadPanel(const std::vector<std::string>& more = {}) {
        load(fonts() + panelScript("100 650 209 50", more));
        panel.Create();
    }

    // The panel drawn over a cleared screen, read back inside the rectangle.
    RgbaImage capture(i32 x, i32 y, i32 w, i32 h, u32 clearColor = 0xFFFFFFFF) {
        aGraphServer& graph = testGraphServer();
        graph.clearColor = clearColor;
        RgbaImage image;
        EXPECT_TRUE(graph.beginScene());
        panel.Render();
        graph.getSprite()->flush();
        EXPECT_TRUE(platform::succeeded(graph.getDevice()->readBackBuffer({x, y, w, h}, image.rgba)));
        image.width = u32(w);
        image.height = u32(h);
        graph.endScene();
        return image;
    }

    CDialogSpyGamePanel panel;
};
