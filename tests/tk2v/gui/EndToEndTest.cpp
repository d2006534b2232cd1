#include "GuiServerFixture.h"
#include "support/BmpWriter.h"
#include "support/Golden.h"
#include "support/ImageFiles.h"
#include "tk2v/gui/MouseCursor.h"
#include "tk2v/gui/Spinner.h"
#include "tk2v/gui/Window.h"
#include "tk2v/platform/GraphicsDevice.h"

using namespace GUI;

namespace {

constexpr u8 KEY_S = 0x1F, KEY_LCTRL = 0x1D;

// Every kind of section: fonts, regions, styles, a mouse cursor, a template and widgets, among them
// a draggable window with a hotkey button and a spinner built from plain widgets.
const char* const Script = R"(#define EDGE stretch
fontlist
{
  Small @/small.fnt
}
regionlist
{
  LeftHalf @/left.bmp
}
style Panel
{
  Image panel
  AutoSlice all
  EdgeGlobal $EDGE$
  FillType stretch
}
style Lit
{
  Image lit
  AutoSlice all
  EdgeGlobal $EDGE$
  FillType stretch
}
cursor Arrow
{
  Image arrow
  FrameSize 3 5
  HotSpot 1 0
}
template Part
{
  Cursor Arrow
  AutoRepeatDelay 0.5
  AutoRepeatRate 0.25
}
window dialog <Part>
{
  AreaRect 10 10 60 40
  NormalStyle Panel
  HoverStyle Lit
  Drag 1
  Font Small
  widget save <Part>
  {
    AreaRect 4 4 20 10
    Hotkey ctrl|s
    Region LeftHalf
  }
  spinner spin <Part>
  {
    AreaRect 30 4 26 30
    focusable spin_auto_editbox <Part>
    {
      AreaRect 0 0 26 10
    }
    widget spin_auto_incbtn <Part>
    {
      AreaRect 0 10 26 10
    }
    widget spin_auto_decbtn <Part>
    {
      AreaRect 0 20 26 10
    }
  }
}
)";

struct EndToEnd : GuiServerTest {
    void addImage(const std::string& name, u32 w, u32 h, u32 argb) {
        dir.write(name + ".png",
                  imagefiles::text(imagefiles::png(w, h, std::vector<u32>(size_t(w) * h, argb))));
        images.loadResource(dir.path(), name + ".png 8888 8888", "");
    }

    EndToEnd() {
        addImage("panel", 6, 6, 0xFF2040C0);
        addImage("lit", 6, 6, 0xFF20C040);
        addImage("arrow", 3, 5, 0xFFFFFFFF);
        addImage("glyphs", 8, 8, 0xFFFFFFFF);
        dir.write("small.fnt", "[General]\nTexture = glyphs.png\nFormat16 = 4444\nFormat32 = 8888\n"
                               "[Charlist]\n41 = 0 0 4 6 0 1\n");
        std::vector<bool> left(4 * 2, false);
        left[0] = left[1] = left[4] = left[5] = true;
        dir.write("left.bmp", bmpfiles::oneBit(4, 2, left));
        load(Script);
        server->InitializeWidgets();
    }

    void moveTo(i32 x, i32 y, f32 seconds = 0.016f) {
        input.setCursor(x, y);
        frame(seconds);
    }

    // Everything the frame draws, the mouse cursor included, read after the scene ends.
    RgbaImage drawFrame(u32 width, u32 height) {
        graph.clearColor = 0xFF000000;
        RgbaImage image;
        if (!graph.beginScene()) {
            ADD_FAILURE() << "no scene";
            return image;
        }
        graph.setLinearFilter(false);
        server->Render();
        graph.endScene();
        if (platform::succeeded(graph.getDevice()->readBackBuffer(
                platform::Rect{0, 0, i32(width), i32(height)}, image.rgba))) {
            image.width = width;
            image.height = height;
        }
        return image;
    }
};

u32 rgbAt(const RgbaImage& image, u32 x, u32 y) {
    return image.pixel(x, y) >> 8;
}

} // namespace

TEST_F(EndToEnd, AScriptedSessionThroughEverySectionKind) {
    Window* dialog = dynamic_cast<Window*>(find("dialog"));
    auto* spin = dynamic_cast<Spinner*>(find("spin"));
    Widget* save = find("save");
    Widget* edit = find("spin_auto_editbox");
    ASSERT_TRUE(dialog && spin && save && edit);
    EXPECT_EQ(dialog->GetFont(), server->GetFont("small"));
    EXPECT_EQ(dialog->GetNormalStyle(), server->GetStyle("Panel"));
    EXPECT_EQ(spin->GetIncrementButton(), find("spin_auto_incbtn"));
    for (Widget* w : {root(), static_cast<Widget*>(dialog), save, edit, find("spin_auto_incbtn")})
        trace.watch(*w, {"MouseEnter", "MouseLeave", "Click", "KeyDown", "FocusGain"});
    trace.watch(*dialog, {"DragStarted", "DragFinished"});
    trace.watch(*spin, {"ValueChanged"});

    // Hover from nowhere onto the button's mask, then beside it onto the window.
    moveTo(16, 16);
    EXPECT_EQ(trace.lines, (Lines{"__root__:MouseEnter", "dialog:MouseEnter", "save:MouseEnter"}));
    EXPECT_EQ(server->GetCurrentCursor(), server->GetMouseCursor("arrow"));
    trace.lines.clear();
    moveTo(30, 16);
    EXPECT_EQ(trace.lines, Lines{"save:MouseLeave"}) << "outside the button's region";
    moveTo(16, 16);
    trace.lines.clear();

    input.click(MOUSE_LEFT);
    frame();
    frame();
    EXPECT_EQ(trace.lines, Lines{"save:Click"});

    // Focus the spinner's text, then Ctrl+S: the hotkey's click, and no key for S.
    moveTo(45, 16);
    input.click(MOUSE_LEFT);
    frame();
    frame();
    trace.lines.clear();
    input.keyDown(KEY_LCTRL);
    frame();
    input.keyDown(KEY_S);
    frame();
    input.keyUp(KEY_S);
    input.keyUp(KEY_LCTRL);
    frame();
    EXPECT_EQ(trace.lines, (Lines{"spin_auto_editbox:KeyDown", "save:Click"}));
    trace.lines.clear();

    // Hold the increment button: a step on the press, after 0.5 s, then every 0.25 s.
    moveTo(45, 26);
    input.buttonDown(MOUSE_LEFT);
    for (int i = 0; i < 8; ++i)
        frame(0.125f);
    input.buttonUp(MOUSE_LEFT);
    frame();
    EXPECT_EQ(edit->GetText(), L"4");
    EXPECT_FLOAT_EQ(spin->GetStoredValue(), 4.0f);

    // Drag the window by its frame past the top-left edge: the grabbed point stops on the border.
    moveTo(12, 12);
    input.buttonDown(MOUSE_LEFT);
    frame();
    moveTo(-40, -30);
    EXPECT_EQ(dialog->GetArea().x, -2);
    EXPECT_EQ(dialog->GetArea().y, -2);
    moveTo(20, 20);
    input.buttonUp(MOUSE_LEFT);
    frame();
    EXPECT_EQ(dialog->GetArea().x, 18);
    EXPECT_EQ(dialog->GetArea().y, 18);
    EXPECT_NE(std::find(trace.lines.begin(), trace.lines.end(), "dialog:DragFinished"), trace.lines.end());

    // Rest over the button; the window shows its hover style and the cursor sits at the mouse.
    moveTo(24, 24);
    const RgbaImage image = drawFrame(96, 72);
    ASSERT_EQ(image.width, 96u);
    EXPECT_EQ(rgbAt(image, 60, 40), 0x20C040u) << "hovered window";
    EXPECT_EQ(rgbAt(image, 24, 26), 0xFFFFFFu) << "cursor, hot spot one pixel in";
    EXPECT_EQ(rgbAt(image, 5, 5), 0u);
    EXPECT_TRUE(matchesGolden("gui_end_to_end", image, 0));
}
