#include "game/SpyGame/CDialogMessage.h"
#include "InGameKit.h"
#include "tk2v/gui/StaticImage.h"

namespace {

class MessageTest : public InGameTest {
public:
    MessageTest() {
        writeWav("message_appear.wav");
        res->getSoundManager()->loadResource(dir.path(), "message_appear.wav 1.0", "");
        texts("HELLO = \"Hello there\"\nBYE = \"Bye\"\n", "Lines");
        load(fonts() + widget("window", "Message", "112 560 800 100", {"Visible 0", "Alpha 0.9"},
                              {widget("staticimage", "PersIcon", "12 12 76 76"),
                               text("text", "100 14 600 72"), widget("widget", "Close", "704 30 84 40")}));
        message.Create();
    }

    GUI::Widget* window() const { return find("Message"); }
    // The mode, the progress and the window's place after the update.
    void step(f32 dt, u32 mode, f32 progress, i16 y, bool visible = true) {
        message.Update(dt);
        EXPECT_EQ(message.GetSlideMode(), mode);
        EXPECT_NEAR(message.GetProgress(), progress, 1e-5f);
        EXPECT_EQ(window()->GetArea().y, y);
        EXPECT_EQ(window()->IsVisible(true), visible);
    }

    CDialogMessage message;
};

TEST_F(MessageTest, ATimedLineSlidesInStaysAndSlidesOut) {
    EXPECT_EQ(message.GetState(), 1);
    message.ShowTimed("HELLO", "Lines", 30.0f);
    EXPECT_EQ(find("text")->GetText(), L"Hello there");
    EXPECT_EQ(message.GetState(), 2);
    EXPECT_EQ(window()->GetArea().y, 768);
    {
        SCOPED_TRACE("sliding in");
        step(0.1f, CDialogMessage::SLIDE_IN, 0.3f, 705); // 768 - 208 x 0.3
        EXPECT_NEAR(window()->GetAlpha(true), 0.3f, 1e-5f);
    }
    // The same key again: the timer starts over, the slide goes on.
    message.Update(10.0f - 0.1f);
    message.ShowTimed("HELLO", "Lines", 30.0f);
    EXPECT_EQ(message.GetTimer(), 30.0f);
    EXPECT_EQ(message.GetSlideMode(), CDialogMessage::SLIDE_STILL);
    EXPECT_EQ(window()->GetArea().y, 560);
    message.ShowText("HELLO", "Lines");
    EXPECT_EQ(message.GetSlideMode(), CDialogMessage::SLIDE_STILL);
    {
        SCOPED_TRACE("running out");
        message.Update(29.9f);
        EXPECT_TRUE(message.IsTimed());
        step(0.2f, CDialogMessage::SLIDE_OUT, 0.4f, 684); // out from 1, less 3 x 0.2
        EXPECT_FALSE(message.IsTimed());
        step(0.2f, CDialogMessage::SLIDE_STILL, 0.0f, 768, false);
        EXPECT_EQ(message.GetState(), 1);
        EXPECT_FALSE(message.IsVisible());
    }
}

TEST_F(MessageTest, ALineRunningOutWhileItSlidesInStaysUp) {
    message.ShowTimed("BYE", "Lines", 0.05f);
    step(0.1f, CDialogMessage::SLIDE_IN, 0.3f, 705);
    EXPECT_FALSE(message.IsTimed());
    for (int i = 0; i < 20; ++i)
        message.Update(0.1f);
    EXPECT_EQ(message.GetSlideMode(), CDialogMessage::SLIDE_STILL);
    EXPECT_TRUE(message.IsVisible());
    EXPECT_EQ(window()->GetArea().y, 560);
}

// Also while the box still slides in: it must not go on counting as shown, which would keep the
// room's input blocked, nor come back on the next update.
TEST_F(MessageTest, CloseOrAClickOnTheBoxHidesIt) {
    for (const auto& [target, slideFor] : {std::pair{"Close", 1.0f}, std::pair{"Message", 1.0f},
                                           std::pair{"Close", 0.1f}, std::pair{"Message", 0.1f}}) {
        SCOPED_TRACE(std::string(target) + " after " + std::to_string(slideFor));
        message.ShowText("HELLO", "Lines");
        message.Update(slideFor);
        ASSERT_TRUE(message.IsVisible());
        click(find(target));
        EXPECT_FALSE(message.IsVisible());
        EXPECT_EQ(message.GetState(), 1);
        EXPECT_EQ(message.GetSlideMode(), CDialogMessage::SLIDE_STILL);
        message.Update(0.1f);
        EXPECT_FALSE(message.IsVisible());
        EXPECT_FALSE(window()->IsVisible(true));
    }
}

TEST_F(MessageTest, TheIconIsThePersonagesPictureOfThePanelImages) {
    addImage("Sam_icon", 8, 8, 0xFF00FF00, "GamePanel");
    addImage("Kim_icon", 8, 8, 0xFF00FF00);
    auto* icon = static_cast<GUI::StaticImage*>(find("PersIcon"));
    message.SetIcon("Sam");
    EXPECT_TRUE(icon->GetImage());
    message.SetIcon("Kim"); // not a panel image
    EXPECT_FALSE(icon->GetImage());
}

TEST_F(MessageTest, RecordHoldsStateTimerSlideTextKeyIconAndTextPlace) {
    addImage("Sam_icon", 8, 8, 0xFF00FF00, "GamePanel");
    message.SetIcon("Sam");
    message.ShowTimed("BYE", "Lines", 30.0f);
    message.Update(0.5f);
    message.Hide();
    const std::string expected = le32(1) + f32bytes(29.5f) + std::string(1, '\1') + f32bytes(1.0f) + le32(0) +
                                 std::string("B\0y\0e\0\0\0", 8) + "BYE" + '\0' + "Sam" + '\0' + le32(100) +
                                 le32(14);
    const std::string record = saveRecord(message);
    EXPECT_EQ(record, expected);

    // Into a fresh box: everything back, and the same bytes again.
    CDialogMessage loaded;
    loaded.Create();
    find("text")->SetText(L"");
    ASSERT_TRUE(loadRecord(loaded, record));
    EXPECT_EQ(find("text")->GetText(), L"Bye");
    EXPECT_FALSE(loaded.IsVisible());
    EXPECT_TRUE(static_cast<GUI::StaticImage*>(find("PersIcon"))->GetImage());
    EXPECT_EQ(saveRecord(loaded), record);
}

TEST_F(MessageTest, ALoadedBoxThatWasUpSlidesInAgain) {
    message.ShowText("HELLO", "Lines");
    message.Update(1.0f);
    const std::string record = saveRecord(message);
    message.Hide();
    ASSERT_TRUE(loadRecord(message, record));
    EXPECT_EQ(message.GetState(), 2);
    EXPECT_EQ(message.GetSlideMode(), CDialogMessage::SLIDE_IN);
    EXPECT_EQ(window()->GetArea().y, 768);
    EXPECT_EQ(find("text")->GetText(), L"Hello there");
}

TEST_F(MessageTest, TextsBeyondSixteenBitsComeBackWhole) {
    const std::wstring text = L"x\U0001F600y";
    find("text")->SetText(text);
    const std::string record = saveRecord(message);
    EXPECT_NE(record.find(std::string("x\0\x3D\xD8\x00\xDE", 6)), std::string::npos);
    find("text")->SetText(L"");
    ASSERT_TRUE(loadRecord(message, record));
    EXPECT_EQ(find("text")->GetText(), text);
}

TEST_F(MessageTest, ADamagedRecordLeavesAUsableBox) {
    // A progress that is no number and a text cut off in the middle.
    const std::string record = le32(1) + f32bytes(1.0f) + '\0' + le32(0x7FC00000) + le32(1) + "A";
    ASSERT_TRUE(loadRecord(message, record));
    for (int i = 0; i < 10; ++i)
        message.Update(0.1f);
    EXPECT_EQ(window()->GetArea().y, 560);
}

TEST_F(MessageTest, TheWindowGoesBackToItsPlaceWithTheDialog) {
    {
        CDialogMessage other;
        other.Create();
        other.ShowText("HELLO", "Lines");
        other.Update(0.1f);
    }
    EXPECT_EQ(window()->GetArea(), (aRect{112, 560, 800, 100}));
    EXPECT_FLOAT_EQ(window()->GetAlpha(true), 0.9f);
}

} // namespace
