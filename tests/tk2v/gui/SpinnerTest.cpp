#include "tk2v/gui/Spinner.h"

#include "WidgetTrace.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

using namespace GUI;

namespace {

// A spinner with plain widgets for its parts, the way a script can build one.
struct SpinnerParts : ::testing::Test {
    Spinner spinner{"spin"};
    Widget edit{"spin_auto_editbox"}, inc{"spin_auto_incbtn"}, dec{"spin_auto_decbtn"}, box{"box"};
    WidgetTrace trace;

    SpinnerParts() {
        spinner.AddChild(&box);
        box.AddChild(&edit);
        spinner.AddChild(&inc);
        spinner.AddChild(&dec);
        spinner.Initialize();
        trace.watch(edit, {"TextChanged"});
        for (const char* e : {"ValueChanged", "MinimumValueChanged", "MaximumValueChanged", "StepChanged",
                              "InputModeChanged"})
            trace.watch(spinner, {e});
    }
    ~SpinnerParts() override {
        for (Widget* w : {&inc, &dec, &box})
            spinner.RemoveChild(w);
    }

    void press(Widget& button) {
        MouseEventArgs e(&button);
        button.OnMouseDown(e);
    }
};

} // namespace

TEST_F(SpinnerParts, ButtonsStepFromTheTypedText) {
    EXPECT_TRUE(inc.GetMouseAutoRepeat());
    EXPECT_TRUE(dec.GetMouseAutoRepeat());
    press(inc);
    EXPECT_EQ(edit.GetText(), L"1") << "no number in the text reads 0";
    edit.SetText(L"41");
    trace.lines.clear();
    press(inc);
    EXPECT_FLOAT_EQ(spinner.GetStoredValue(), 42.0f);
    EXPECT_EQ(trace.lines, (Lines{"spin_auto_editbox:TextChanged", "spin:ValueChanged"}));
    press(dec);
    press(dec);
    EXPECT_EQ(edit.GetText(), L"40");
    spinner.Initialize(); // the tree may be initialised again
    press(inc);
    EXPECT_EQ(edit.GetText(), L"41") << "one step per press after a second Initialize";
}

TEST_F(SpinnerParts, HexModeClampsAndShowsUpperCase) {
    spinner.SetInputMode(Spinner::MODE_HEX);
    edit.SetText(L"ff");
    press(inc);
    EXPECT_FLOAT_EQ(spinner.GetStoredValue(), 100.0f);
    EXPECT_EQ(edit.GetText(), L"64");
    trace.lines.clear();
    press(inc);
    EXPECT_TRUE(trace.lines.empty()) << "at the maximum a step changes nothing and fires nothing";
    spinner.SetMaximum(300);
    edit.SetText(L"fe");
    press(inc);
    EXPECT_EQ(edit.GetText(), L"FF");
}

TEST_F(SpinnerParts, SettersFireOnlyOnChange) {
    spinner.SetMinimum(0);
    spinner.SetMinimum(-5);
    spinner.SetMaximum(100);
    spinner.SetMaximum(50);
    spinner.SetStep(1);
    spinner.SetStep(0.5f);
    spinner.SetInputMode(Spinner::MODE_FLOAT);
    spinner.SetValue(0);
    spinner.SetValue(-100);
    EXPECT_EQ(trace.lines,
              (Lines{"spin:MinimumValueChanged", "spin:MaximumValueChanged", "spin:StepChanged",
                     "spin:InputModeChanged", "spin_auto_editbox:TextChanged", "spin:ValueChanged"}));
    EXPECT_EQ(edit.GetText(), L"-5");
    press(inc);
    EXPECT_EQ(edit.GetText(), L"-4.5");
}

TEST(Spinner, ReadsAndFormatsByMode) {
    struct Read {
        const wchar_t* text;
        i32 mode;
        f32 expected;
    } reads[] = {
        {L"12abc", 0, 12},
        {L" -3", 0, -3},
        {L"x", 0, 0},
        {L"0x1f", 1, 31},
        {L"FF", 1, 255},
        {L"2.5", 2, 2.5f},
        {L"nan", 2, 0},
        {L"2.5", 0, 2},
        {L"99999999999", 0, 2147483647.0f},
        {L"-99999999999", 0, -2147483648.0f},
        {L"fffffffffff", 1, 4294967295.0f},
        {L"\x0416"
         L"5",
         0, 0},
    };
    for (const Read& r : reads)
        EXPECT_FLOAT_EQ(Spinner::ReadValue(r.text, r.mode), r.expected) << r.mode;
    struct Format {
        f32 value;
        i32 mode;
        const wchar_t* expected;
    } formats[] = {
        {12.9f, 0, L"12"},
        {-12.9f, 0, L"-12"},
        {255, 1, L"FF"},
        {1.0f / 3, 2, L"0.333333"},
        {1234567, 2, L"1.23457e+06"},
        {1e20f, 0, L"2147483647"},
        {NAN, 0, L"0"},
    };
    for (const Format& f : formats)
        EXPECT_EQ(Spinner::FormatNumber(f.value, f.mode), f.expected) << f.value;
}

TEST(Spinner, WithoutPartsItLogsAndKeepsAClampedValue) {
    LogCapture log;
    Spinner spinner("lonely");
    WidgetTrace trace;
    trace.watch(spinner, {"ValueChanged"});
    spinner.Initialize();
    EXPECT_TRUE(log.contains("Spinner::Initialize - Editbox for spinner 'lonely' not found"));
    EXPECT_TRUE(log.contains("Spinner::Initialize - Increment button for spinner 'lonely' not found"));
    EXPECT_TRUE(log.contains("Spinner::Initialize - Decrement button for spinner 'lonely' not found"));
    spinner.Increment(EventArgs());
    spinner.Increment(EventArgs());
    EXPECT_FLOAT_EQ(spinner.GetValue(), 2.0f);
    spinner.SetValue(std::numeric_limits<f32>::infinity());
    EXPECT_FLOAT_EQ(spinner.GetValue(), 100.0f);
    spinner.SetValue(NAN);
    EXPECT_FLOAT_EQ(spinner.GetValue(), 0.0f);
    EXPECT_EQ(trace.lines.size(), 4u);
    EXPECT_TRUE(spinner.IsA("Spinner"));
    EXPECT_FALSE(spinner.IsA("spinner"));
}
