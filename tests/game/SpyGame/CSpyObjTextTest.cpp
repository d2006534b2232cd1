#include "game/SpyGame/CSpyObjText.h"
#include "support/game/SaveRecords.h"
#include "support/game/SceneKit.h"
#include "tk2v/gui/StaticText.h"

#include <gtest/gtest.h>

namespace {

constexpr f32 K = CSpyObjText::FontScale;

const char* const NoteSection = "[note]\nX = 100\nY = 50\nWidth = 200\nHeight = 100\nHorzBorders = 10\n"
                                "VertBorders = 5\nFontSize = 12\nLineSpacing = 2\nHorzFormat = right\n"
                                "VertFormat = bottom\nStringID = hello\nTextColor = ff00ff00\n";

struct TextScene : ::testing::Test {
    TextScene() { kit.addTexts("hello = \"Hi there\"\n", "Hall"); }
    SceneKit kit;
};

void expectArea(const GUI::StaticText& widget, aRect area) {
    EXPECT_EQ(widget.GetArea(), area) << widget.GetArea().x << ", " << widget.GetArea().y << ", "
                                      << widget.GetArea().w << ", " << widget.GetArea().h;
}

TEST_F(TextScene, ResetLaysTheWidgetOutInsideTheBorders) {
    auto note = kit.load<CSpyObjText>(NoteSection, "note", "Hall");
    const GUI::StaticText& widget = note->GetWidget();
    EXPECT_EQ(note->GetWidth(), 200u);
    EXPECT_EQ(note->GetHeight(), 100u);
    expectArea(widget, {110, 55, 180, 90});
    EXPECT_FLOAT_EQ(widget.GetFontSize(true), 12 * 2 * K);
    EXPECT_FLOAT_EQ(widget.GetLineSpacing(), 2 * 2 * K);
    EXPECT_EQ(note->GetText(), L"Hi there");
    EXPECT_EQ(widget.GetHorzFormatting(), GUI::TF_RIGHT);
    EXPECT_EQ(widget.GetVertFormatting(), GUI::TF_BOTTOM);
    EXPECT_FALSE(widget.GetWordWrap());
    EXPECT_EQ(note->GetTextColor(), 0xFF00FF00u);

    // Halved about its centre: the box shrinks by 100 x 50 and moves by half of that.
    note->SetScale({0.5f, 0.5f}, true);
    EXPECT_EQ(note->GetPos(), (SpyPoint{150, 75}));
    EXPECT_EQ(note->GetWidth(), 100u);
    EXPECT_EQ(note->GetHeight(), 50u);
    expectArea(widget, {155, 77, 90, 45});
    EXPECT_FLOAT_EQ(widget.GetFontSize(true), 12 * K);
}

TEST_F(TextScene, DefaultsAndUnknownFormatWords) {
    auto note = kit.load<CSpyObjText>("[note]\nHorzFormat = justify\nVertFormat = middle\n", "note", "Hall");
    const GUI::StaticText& widget = note->GetWidget();
    EXPECT_EQ(widget.GetHorzFormatting(), GUI::TF_LEFT);
    EXPECT_EQ(widget.GetVertFormatting(), GUI::TF_TOP);
    EXPECT_EQ(note->GetWidth(), 0u);
    EXPECT_EQ(note->GetText(), L"");
    EXPECT_EQ(note->GetColor(), 0xFFFFFFFFu);
    EXPECT_EQ(note->GetTextColor(), 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(widget.GetFontSize(true), 2 * K) << "at scale 1 a text is 10/9 of its size";
}

TEST_F(TextScene, HitsTheImageWhenThereIsOneElseTheWidget) {
    kit.addImage("paper", 30, 20, std::vector<u32>(600, 0x00FFFFFF), "Hall");
    auto onPaper = kit.load<CSpyObjText>("[note]\nImage = paper\nX = 10\nY = 10\n", "note", "Hall");
    EXPECT_EQ(onPaper->GetWidth(), 30u) << "the size defaults to the image's";
    EXPECT_FALSE(onPaper->HitTest(20, 20)) << "the paper is transparent";
    onPaper->SetAlphaClick(0);
    EXPECT_TRUE(onPaper->HitTest(20, 20));

    auto bare = kit.load<CSpyObjText>(NoteSection, "note", "Hall");
    EXPECT_TRUE(bare->HitTest(110, 55));
    EXPECT_FALSE(bare->HitTest(105, 55)) << "the border is not the widget";
    EXPECT_FALSE(bare->HitTest(290, 55));
    bare->SetAlphaClick(255);
    EXPECT_FALSE(bare->HitTest(110, 55));
}

TEST_F(TextScene, RecordRoundTripLaysTheTextOutAgain) {
    auto saved = kit.load<CSpyObjText>(NoteSection, "note", "Hall");
    const std::wstring text = L"\u00dcber \U0001D11E";
    saved->SetScale({0.5f, 0.5f}, false);
    saved->SetPos(20, 30);
    saved->SetText(text);
    saved->SetTextColor(0x80112233);
    HostEntity host;
    host.save = [&](SaveLoadSystem& sys, u8* pos) { return saved->SaveSelf(sys, pos); };
    SaveRecords records;
    const std::string record = records.save(host);
    // The object record, 8 code units with a surrogate pair and the end, two sizes and a colour.
    EXPECT_EQ(record.size(), CSpyObject::RecordSize + 2 * 8 + 12);

    auto loaded = kit.load<CSpyObjText>(NoteSection, "note", "Hall");
    host.load = [&](SaveLoadSystem& sys, const u8* pos) { return loaded->LoadSelf(sys, pos); };
    ASSERT_TRUE(records.load(host, record));
    EXPECT_EQ(host.leftAfterLoad, 0u);
    EXPECT_EQ(loaded->GetText(), text);
    EXPECT_EQ(loaded->GetTextColor(), 0x80112233u);
    EXPECT_EQ(loaded->GetWidth(), 100u);
    expectArea(loaded->GetWidget(), {25, 32, 90, 45});
    EXPECT_FLOAT_EQ(loaded->GetWidget().GetFontSize(true), 12 * K);
}

TEST_F(TextScene, ACopyHasAWidgetOfItsOwn) {
    auto source = kit.load<CSpyObjText>(NoteSection, "note", "Hall");
    source->SetPos(0, 0);
    CSpyObjText copy;
    copy.CopyFrom(*source);
    ASSERT_NE(&copy.GetWidget(), &source->GetWidget());
    EXPECT_EQ(copy.GetText(), L"Hi there");
    expectArea(copy.GetWidget(), source->GetWidget().GetArea());
    EXPECT_EQ(copy.GetWidget().GetHorzFormatting(), GUI::TF_RIGHT);
    copy.SetText(L"changed");
    EXPECT_EQ(source->GetText(), L"Hi there");
    copy.Reset();
    EXPECT_EQ(copy.GetText(), L"Hi there") << "the copy knows the text id";
    EXPECT_EQ(copy.GetPos(), (SpyPoint{100, 50}));
}

} // namespace
