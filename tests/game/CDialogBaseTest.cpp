#include "game/CDialogBase.h"
#include "DialogKit.h"
#include "tk2v/gui/Event.h"

#include <algorithm>
#include <functional>

namespace {

const char* const Script = R"(window Dlg
{
  AreaRect 100 50 200 100
  widget ok
  {
    AreaRect 10 10 50 20
  }
  widget twin
  {
    AreaRect 70 10 50 20
  }
  widget inner
  {
    AreaRect 0 60 100 30
    widget twin
    {
      AreaRect 0 0 50 20
    }
  }
}
window Other
{
  AreaRect 0 0 10 10
}
)";

// A dialog on the window "Dlg" whose "ok" writes command 3.
class TestDialog : public CDialogBase {
public:
    explicit TestDialog(std::string window = "Dlg") : m_window(std::move(window)) {}

    void Create() override {
        if (!CreateRoot(m_window))
            return;
        Subscribe(FindControl("ok"), "Click", 3);
        CDialogBase::Create();
    }
    bool Count(const GUI::EventArgs&) {
        ++handled;
        return true;
    }
    // A handler of the subclass's own that passes the event on to the command handler.
    bool Command(const GUI::EventArgs& args) { return OnWidgetEvent(args); }

    int handled = 0;

private:
    std::string m_window;
};

class DialogBaseTest : public DialogTest {
public:
    DialogBaseTest() { load(Script); }

    GUI::Widget* twin(int which) const {
        GUI::Widget* dlg = find("Dlg");
        return which == 0 ? dlg->FindChild("twin") : dlg->FindChild("inner")->FindChild("twin");
    }
};

TEST_F(DialogBaseTest, StateAndVisibilityThroughCreateShowHideCommandsAndDrawing) {
    struct Case {
        const char* what;
        std::function<void(DialogBaseTest&, TestDialog&)> act;
        i32 state;
        bool visible;
    };
    const Case cases[] = {
        {"created: hidden", [](auto&, auto& d) { d.Create(); }, 1, false},
        {"shown", [](auto&, auto& d) { d.Create(), d.Show(); }, 2, true},
        {"hidden again", [](auto&, auto& d) { d.Create(), d.Show(), d.Hide(); }, 1, false},
        {"show and hide before create",
         [](auto& t, auto& d) {
             d.Show(), d.Hide();
             EXPECT_TRUE(t.find("Dlg")->IsVisible(true)); // the script's own flag
         },
         0, false},
        {"create acts once", [](auto&, auto& d) { d.Create(), d.Show(), d.Create(); }, 2, true},
        {"a command stays until drawn", [](auto& t, auto& d) { d.Create(), d.Show(), t.click(t.find("ok")); },
         3, true},
        {"drawing sets shown again",
         [](auto& t, auto& d) { d.Create(), d.Show(), t.click(t.find("ok")), t.render(); }, 2, true},
        {"a second command binding is refused, a handler of one's own is not",
         [](auto& t, auto& d) {
             d.Create(), d.Show();
             GUI::Widget* ok = t.find("ok");
             EXPECT_FALSE(d.Subscribe(ok, "MouseDown", 9));
             EXPECT_TRUE(d.SubscribeBinder(ok, "MouseDown", &d, &TestDialog::Count));
             GUI::MouseEventArgs e(ok);
             ok->OnMouseDown(e);
             EXPECT_EQ(d.handled, 1);
         },
         2, true},
        {"widgets of one name share one command",
         [](auto& t, auto& d) {
             d.Create(), d.Show();
             EXPECT_TRUE(d.Subscribe(t.twin(0), "Click", 5));
             EXPECT_FALSE(d.Subscribe(t.twin(1), "Click", 6));
             EXPECT_TRUE(d.SubscribeBinder(t.twin(1), "Click", &d, &TestDialog::Command));
             t.click(t.twin(1));
         },
         5, true},
        {"an event of a widget the dialog does not know",
         [](auto& t, auto& d) {
             d.Create(), d.Show();
             EXPECT_TRUE(d.SubscribeBinder(t.find("Other"), "Click", &d, &TestDialog::Command));
             t.click(t.find("Other"));
         },
         2, true},
        {"no widget, no binding",
         [](auto&, auto& d) {
             d.Create();
             EXPECT_FALSE(d.Subscribe(nullptr, "Click", 4));
             EXPECT_FALSE(d.SubscribeBinder(nullptr, "Click", &d, &TestDialog::Count));
         },
         1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        find("Dlg")->SetVisible(true);
        TestDialog dialog;
        c.act(*this, dialog);
        EXPECT_EQ(dialog.GetState(), c.state);
        EXPECT_EQ(dialog.IsVisible(), c.visible);
    }
}

TEST_F(DialogBaseTest, ShowBringsTheWindowToTheFrontAndTheAreaIsTheWindows) {
    TestDialog dialog;
    dialog.Create();
    dialog.Show();
    EXPECT_EQ(gui->GetRoot()->GetDrawingOrder().back(), find("Dlg"));
    EXPECT_EQ(dialog.GetArea(), (aRect{100, 50, 200, 100}));
    EXPECT_EQ(dialog.GetRootWindow(), find("Dlg"));
}

TEST_F(DialogBaseTest, PointsInsideTheShownWindowsScreenRectangle) {
    // The window sits in a parent at (20, 10): its screen rectangle is (120, 60) - (319, 159).
    load("window Outer\n{\n  AreaRect 20 10 400 300\n  window Nested\n  {\n    AreaRect 100 50 200 100\n  "
         "}\n}\n",
         "outer.agui");
    TestDialog dialog("Nested");
    EXPECT_FALSE(dialog.IsPointInside(150, 100)); // not created
    dialog.Create();
    EXPECT_FALSE(dialog.IsPointInside(150, 100)); // hidden
    dialog.Show();
    const struct {
        i16 x, y;
        bool inside;
    } points[] = {{120, 60, true},   {319, 159, true}, {320, 60, false}, {120, 160, false},
                  {119, 100, false}, {150, 59, false}, {100, 50, false}};
    for (const auto& p : points)
        EXPECT_EQ(dialog.IsPointInside(p.x, p.y), p.inside) << p.x << ", " << p.y;
}

TEST_F(DialogBaseTest, ADestroyedDialogLeavesNoSubscriberBehind) {
    GUI::Widget* ok = find("ok");
    {
        TestDialog dialog;
        dialog.Create();
        EXPECT_TRUE(dialog.SubscribeBinder(ok, "MouseDown", &dialog, &TestDialog::Count));
        EXPECT_EQ(ok->GetEvent("Click")->GetSubscriberCount(), 1u);
    }
    EXPECT_EQ(ok->GetEvent("Click")->GetSubscriberCount(), 0u);
    EXPECT_EQ(ok->GetEvent("MouseDown")->GetSubscriberCount(), 0u);
    EXPECT_EQ(find("Dlg")->GetEvent("BeginRender")->GetSubscriberCount(), 0u);
    click(ok);
}

TEST_F(DialogBaseTest, WidgetsThatWentFirstAndARecreatedGuiServer) {
    // The dialog outlives the widget tree it bound: its destructor leaves the dead events alone.
    auto first = std::make_unique<TestDialog>();
    first->Create();
    gui.reset();
    gui = std::make_unique<GUI::Server>(res->getImageManager(), res->getSoundManager());
    first.reset();

    // A dialog made now looks below the new server's root.
    load("window Dlg\n{\n  AreaRect 5 6 7 8\n}\n", "again.agui");
    TestDialog second;
    second.Create();
    EXPECT_EQ(second.GetRootWindow(), find("Dlg"));
    EXPECT_EQ(second.GetArea(), (aRect{5, 6, 7, 8}));
}

TEST_F(DialogBaseTest, AMissingWindowIsLoggedOnceAndLeavesTheDialogInert) {
    const std::string line = "CDialogBase::Create(). Cannot find window: Nowhere";
    TestDialog dialog("Nowhere");
    dialog.Create();
    dialog.Create();
    dialog.Show();
    dialog.Hide();
    EXPECT_EQ(dialog.GetState(), 0);
    EXPECT_FALSE(dialog.IsVisible());
    EXPECT_FALSE(dialog.IsPointInside(0, 0));
    EXPECT_EQ(dialog.GetArea(), aRect{});
    const std::vector<std::string> lines = log.messages();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), line), 1);

    // Without a GUI server the dialog says so when it is made, and stays inert.
    gui.reset();
    log.clear();
    TestDialog orphan;
    const std::vector<std::string> said = log.messages();
    EXPECT_TRUE(std::any_of(said.begin(), said.end(), [](const std::string& m) {
        return m.rfind("aSingleton<class GUI::Server>::getSingleton: ms_Singleton ", 0) == 0;
    }));
    orphan.Create();
    orphan.Show();
    EXPECT_EQ(orphan.GetState(), 0);
}

} // namespace
