#include "game/SpyGame/CSpyObjAnimation.h"
#include "game/SpyGame/CSpyObjImage.h"
#include "game/SpyGame/CSpyObjParticles.h"
#include "game/SpyGame/CSpyObjText.h"
#include "support/game/SceneKit.h"
#include "tk2v/gfx/SceneCapture.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/WidgetKit.h"
#include "tk2v/platform/Random.h"

#include <gtest/gtest.h>

namespace {

// A picture whose pixels all differ, so that a misplaced or misscaled texel shows.
std::vector<u32> grid(u32 width, u32 height) {
    return guidraw::gridPixels(width, height);
}

TEST(SceneObjectsDraw, EachClassAsItsItemShowsIt) {
    SceneKit kit;
    GUI::Server gui(&kit.images(), nullptr);
    widgetkit::writeFont(kit.dir, "plain.fnt", false);
    gui.load(kit.dir.writeLinked("fonts.agui", "fontlist\n{\n  plain @/plain.fnt\n}\n"));
    kit.addImage("grid", 8, 8, grid(8, 8), "Hall");
    kit.addImage("grid_icon", 4, 4, std::vector<u32>(16, 0xFF00FF00), "Hall");
    kit.addImage("strip", 16, 8, grid(16, 8), "Hall");
    kit.addAnim("walk", "strip", 8, 8, 2, "Hall");
    kit.addImage("dot", 2, 2, std::vector<u32>(4, 0xFFFFFFFF), "particles");
    kit.addParticles("fire",
                     "texture dot\nemit_per_sec 20\nfps 50\nparticle_life 10 10\nvelocity 5 5\nsize 2 2 0\n"
                     "color ffffff00 ffffff00\n",
                     "Hall");
    kit.addTexts("hello = \"Hi\"\n", "Hall");
    const std::string ini =
        "[grid]\nClass = image\nImage = grid\nX = 4\nY = 4\nZoomX = 2\nZoomY = 2\n"
        "Color = ffff8080\n"
        "[walk]\nClass = animation\nX = 30\nY = 4\nZoomX = 1.5\nZoomY = 3\n"
        "[fire]\nClass = particles\nX = 80\nY = 40\n"
        "[note]\nClass = text\nX = 4\nY = 36\nWidth = 60\nHeight = 24\nHorzBorders = 4\n"
        "VertBorders = 2\nFont = plain\nFontSize = 0.9\nStringID = hello\nColor = ff202080\n"
        "TextColor = ffffff00\n";
    auto image = kit.load<CSpyObjImage>(ini, "grid", "Hall");
    auto icon = kit.load<CSpyObjImage>(ini, "grid", "Hall");
    icon->SetPos(100, 4);
    auto walk = kit.load<CSpyObjAnimation>(ini, "walk", "Hall");
    walk->SetFrame(1);
    walk->SetRotation(0.3f);
    platform::srand(3);
    auto fire = kit.load<CSpyObjParticles>(ini, "fire", "Hall");
    auto note = kit.load<CSpyObjText>(ini, "note", "Hall");
    for (CSpyObject* object :
         std::initializer_list<CSpyObject*>{image.get(), walk.get(), fire.get(), note.get()})
        object->FrameMove(0);
    const RgbaImage shot = guidraw::capture(128, 64, [&] {
        image->Render();
        icon->RenderIcon();
        walk->Render();
        fire->Render();
        note->Render();
        note->RenderText();
    });
    EXPECT_TRUE(matchesGolden("scene_objects", shot));
}

} // namespace
