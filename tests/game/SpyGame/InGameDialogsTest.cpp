#include "InGameKit.h"
#include "game/SpyGame/CDialogConfirmSaveExit.h"
#include "game/SpyGame/CDialogEventForItem.h"
#include "game/SpyGame/CDialogHelpPers.h"
#include "game/SpyGame/CDialogInGameMenu.h"
#include "game/SpyGame/CDialogInvCard.h"
#include "game/SpyGame/CDialogItemIdent.h"
#include "game/SpyGame/CDialogLocFinish.h"
#include "game/SpyGame/CDialogPhoneCall.h"
#include "game/SpyGame/CDialogPickEvidence.h"
#include "game/SpyGame/CDialogPickItem.h"
#include "game/SpyGame/CDialogSearchFinish.h"
#include "game/SpyGame/CDialogSolveConfirm.h"
#include "tk2v/gui/StaticImage.h"

#include <functional>

namespace {

struct ButtonCase {
    const char* window;
    std::vector<std::pair<std::string, i32>> buttons;
    // Shared, so that the dialog goes through its own destructor.
    std::function<std::shared_ptr<CDialogBase>()> make;
};

template <class D> std::function<std::shared_ptr<CDialogBase>()> maker() {
    return [] { return std::make_shared<D>(); };
}

const std::vector<ButtonCase>& buttonCases() {
    static const std::vector<ButtonCase> cases = {
        {"InGameMenu", {{"resume", 3}, {"options", 4}, {"exit", 5}, {"help", 6}}, maker<CDialogInGameMenu>()},
        {"InvCard", {{"Continue", 3}}, maker<CDialogInvCard>()},
        {"ItemIdent", {{"Continue", 3}}, maker<CDialogItemIdent>()},
        {"PickItem", {{"Continue", 3}}, maker<CDialogPickItem>()},
        {"PickEvidence", {{"Continue", 3}}, maker<CDialogPickEvidence>()},
        {"EventForItem", {{"Continue", 3}}, maker<CDialogEventForItem>()},
        {"PersonagesHelp", {{"Continue", 3}}, maker<CDialogHelpPers>()},
        {"PhoneCall", {{"Continue", 3}}, maker<CDialogPhoneCall>()},
        {"SearchFinish", {{"Ok", 3}}, maker<CDialogSearchFinish>()},
        {"LocFinish", {{"Ok", 3}}, maker<CDialogLocFinish>()},
        {"SolveConfirm", {{"Yes", 3}, {"No", 4}}, maker<CDialogSolveConfirm>()},
        {"ConfirmSaveExit", {{"btn_yes", 3}, {"btn_no", 4}}, maker<CDialogConfirmSaveExit>()},
    };
    return cases;
}

using DialogsTest = InGameTest;

TEST_F(DialogsTest, EachButtonWritesItsCommandAndDrawingShowsTheDialogAgain) {
    std::string script = fonts();
    for (const ButtonCase& c : buttonCases()) {
        std::vector<std::string> names;
        for (const auto& button : c.buttons)
            names.push_back(button.first);
        script += window(c.window, names);
    }
    load(script);
    for (const ButtonCase& c : buttonCases()) {
        SCOPED_TRACE(c.window);
        std::shared_ptr<CDialogBase> dialog = c.make();
        EXPECT_EQ(dialog->GetState(), 0);
        dialog->Create();
        EXPECT_EQ(dialog->GetState(), 1);
        EXPECT_FALSE(dialog->IsVisible());
        for (const auto& [button, command] : c.buttons) {
            dialog->Show();
            EXPECT_EQ(dialog->GetState(), 2);
            EXPECT_TRUE(find(c.window)->IsVisible());
            click(find(c.window)->FindChild(button, true));
            EXPECT_EQ(dialog->GetState(), command) << button;
            render();
            EXPECT_EQ(dialog->GetState(), 2) << button;
            dialog->Hide();
            EXPECT_EQ(dialog->GetState(), 1);
            EXPECT_FALSE(find(c.window)->IsVisible());
        }
    }
}

TEST_F(DialogsTest, TextsByKeyShowTheNoticeOnlyWhenTheLanguageLacksTheKey) {
    texts("FOUND = \"A letter\"\nBLANK = \"\"\n", "Story");
    const std::string textArea = "10 10 300 100";
    load(fonts() + window("PickItem", {}, {text("text", textArea)}) +
         window("SearchFinish", {}, {text("text", textArea)}) +
         window("LocFinish", {}, {text("text", textArea)}) +
         window("EventForItem", {}, {text("text", textArea)}) +
         window("ItemIdent", {},
                {widget("window", "DialogWindow", "0 0 400 300", {}, {text("text", textArea)})}) +
         window("PhoneCall", {},
                {widget("window", "DialogWindow", "0 0 400 300", {}, {text("text", textArea)})}));
    CDialogPickItem pick;
    CDialogSearchFinish search;
    CDialogLocFinish location;
    CDialogEventForItem event;
    CDialogItemIdent ident;
    CDialogPhoneCall call;
    const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> setters = {
        {"PickItem", [&](const std::string& key) { pick.SetText(key, "Story"); }},
        {"SearchFinish", [&](const std::string& key) { search.SetText(key, "Story"); }},
        {"LocFinish", [&](const std::string& key) { location.SetText(key, "Story"); }},
        {"EventForItem", [&](const std::string& key) { event.SetText(key, "Story"); }},
        {"ItemIdent", [&](const std::string& key) { ident.SetText(key, "Story"); }},
        {"PhoneCall", [&](const std::string& key) { call.SetText(key, "Story"); }},
    };
    for (CDialogBase* dialog :
         std::initializer_list<CDialogBase*>{&pick, &search, &location, &event, &ident, &call})
        dialog->Create();
    for (const auto& [name, set] : setters) {
        SCOPED_TRACE(name);
        GUI::Widget* shown = find(name)->FindChild("text", true);
        set("FOUND");
        EXPECT_EQ(shown->GetText(), L"A letter");
        set("BLANK");
        EXPECT_EQ(shown->GetText(), L"");
        log.clear();
        set("MISSING");
        EXPECT_EQ(shown->GetText(), L"String 'MISSING' not found!");
        EXPECT_TRUE(log.contains("aLocaleServer. String [MISSING] not found")) << logText();
    }
}

TEST_F(DialogsTest, AWindowMissingFromTheScriptsIsLoggedOnceAndItsDialogDoesNothing) {
    load(fonts() + window("Other", {}));
    CDialogPickEvidence evidence;
    CDialogPhoneCall call;
    CDialogItemIdent ident;
    for (int i = 0; i < 2; ++i) {
        evidence.Create();
        call.Create();
        ident.Create();
    }
    EXPECT_EQ(logged("CDialogBase::Create(). Cannot find window: PickEvidence"), 1u) << logText();
    EXPECT_EQ(logged("CDialogBase::Create(). Cannot find window: PhoneCall"), 1u);
    evidence.Show();
    call.Show();
    call.Update(1.0f);
    call.SetText("KEY", "");
    evidence.SetContentSize(500, 500);
    ident.SetText("KEY", "");
    EXPECT_EQ(evidence.GetState(), 0);
    EXPECT_EQ(call.GetState(), 0);
    EXPECT_EQ(call.GetFade(), 0.0f);
    EXPECT_FALSE(call.IsVisible());
    EXPECT_EQ(evidence.GetSlotRect(), aRect{});
    EXPECT_EQ(ident.GetItemPos(), aRect{});
}

TEST_F(DialogsTest, PickEvidenceSizesItsSlotFromTheScriptRectanglesEveryTime) {
    // The window is centred on (500, 400); the slot has room for a 60 x 40 item as scripted.
    load(fonts() + window("PickEvidence", {"Continue"},
                          {widget("widget", "panel", "100 30 100 80", {},
                                  {widget("window", "over_style", "4 6 100 80")})},
                          "300 250 400 300"));
    CDialogPickEvidence dialog;
    dialog.Create();
    struct Case {
        i32 w, h;
        aRect window, panel, slot;
    };
    const Case cases[] = {
        {10, 10, {300, 250, 400, 300}, {100, 30, 100, 80}, {404, 286, 100, 80}},
        {60, 40, {300, 250, 400, 300}, {100, 30, 100, 80}, {404, 286, 100, 80}},
        {200, 40, {230, 250, 540, 300}, {100, 30, 240, 80}, {334, 286, 240, 80}},
        {61, 141, {300, 200, 401, 401}, {100, 30, 101, 181}, {404, 236, 101, 181}},
        // Smaller again: back to the script's sizes, not a shrink from the last call.
        {0, 0, {300, 250, 400, 300}, {100, 30, 100, 80}, {404, 286, 100, 80}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        dialog.SetContentSize(c.w, c.h);
        EXPECT_EQ(find("PickEvidence")->GetArea(), c.window);
        EXPECT_EQ(find("panel")->GetArea(), c.panel);
        EXPECT_EQ(find("over_style")->GetArea(), (aRect{4, 6, c.panel.w, c.panel.h}));
        EXPECT_EQ(dialog.GetSlotRect(), c.slot);
    }
}

TEST_F(DialogsTest, PhoneCallKeepsTheBoxBottomAndDarkensTheScreenWhileShown) {
    texts("LINE = \"one\\ntwo\\nthree\"\n");
    load(fonts() +
         window("PhoneCall", {"Continue"},
                {widget("staticimage", "LeftPers", "0 0 50 50"),
                 widget("staticimage", "RightPers", "60 0 50 50"),
                 widget("window", "DialogWindow", "100 400 300 100", {},
                        {widget("widget", "over_style", "0 0 300 100"), text("text", "20 20 260 16")})},
                "0 0 1024 768"));
    CDialogPhoneCall dialog;
    dialog.Create();
    dialog.SetText("LINE", "");
    EXPECT_EQ(find("text")->GetArea(), (aRect{20, 20, 260, 3 * LINE}));
    EXPECT_EQ(find("over_style")->GetArea(), (aRect{0, 0, 300, 100 + 2 * LINE}));
    EXPECT_EQ(find("DialogWindow")->GetArea(), (aRect{100, 400 - 2 * LINE, 300, 100 + 2 * LINE}));
    auto face = picture(30, 40);
    dialog.SetLeftImage(face.get());
    EXPECT_EQ(static_cast<GUI::StaticImage*>(find("LeftPers"))->GetImage()->getWidth(), 30);

    dialog.Update(0.1f);
    EXPECT_EQ(dialog.GetFade(), 0.0f) << "hidden";
    dialog.Show();
    for (f32 expected : {0.4f, 0.8f, 1.0f}) {
        dialog.Update(0.2f);
        EXPECT_FLOAT_EQ(dialog.GetFade(), expected);
    }
    click(find("Continue"));
    render();
    EXPECT_EQ(dialog.GetState(), 2);
    dialog.Show();
    EXPECT_EQ(dialog.GetFade(), 0.0f);
}

TEST_F(DialogsTest, CardAndIdentificationPictures) {
    load(fonts() + window("InvCard", {"Continue"}, {widget("staticimage", "InvCardArea", "40 30 320 280")}) +
         window("ItemIdent", {"Continue"},
                {widget("staticimage", "NPC", "0 0 10 10"), widget("widget", "IdentItem", "200 150 100 80")},
                "212 234 600 300"));
    CDialogInvCard card;
    CDialogItemIdent ident;
    card.Create();
    ident.Create();
    auto image = picture(120, 90);
    card.SetCard(image.get());
    card.Show();
    auto* area = static_cast<GUI::StaticImage*>(find("InvCardArea"));
    ASSERT_TRUE(area->GetImage());
    EXPECT_EQ(area->GetArea(), (aRect{40, 30, 120, 90}));
    card.Hide();
    EXPECT_EQ(area->GetImage(), nullptr);

    ident.SetImage(image.get());
    EXPECT_TRUE(static_cast<GUI::StaticImage*>(find("NPC"))->GetImage());
    EXPECT_EQ(ident.GetItemPos(), (aRect{412, 384, 100, 80}));
}

// The dialogs put back what they changed only on widgets that still live.
TEST_F(DialogsTest, DialogsRestoreTheirWindowsAndOutliveTheGui) {
    const std::string script = fonts() + window("PickEvidence", {"Continue"},
                                                {widget("widget", "panel", "100 30 100 80", {},
                                                        {widget("window", "over_style", "0 0 100 80")})},
                                                "300 250 400 300");
    load(script);
    {
        CDialogPickEvidence dialog;
        dialog.Create();
        dialog.SetContentSize(300, 300);
        EXPECT_NE(find("PickEvidence")->GetArea(), (aRect{300, 250, 400, 300}));
    }
    EXPECT_EQ(find("PickEvidence")->GetArea(), (aRect{300, 250, 400, 300}));
    EXPECT_EQ(find("panel")->GetArea(), (aRect{100, 30, 100, 80}));

    auto dialog = std::make_unique<CDialogPickEvidence>();
    dialog->Create();
    dialog->SetContentSize(300, 300);
    gui.reset();
    dialog.reset(); // under the address sanitizer this would catch a write into a freed widget
}

} // namespace
