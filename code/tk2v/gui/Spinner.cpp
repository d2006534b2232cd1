#include "tk2v/gui/Spinner.h"

#include "tk2v/util/log.h"
#include "tk2v/util/str.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <limits>
#include <sstream>

namespace GUI {

namespace {

// Integers of any size read from a text saturate at the ends of the range.
double saturate(double value, double low, double high) {
    return value < low ? low : value > high ? high : value;
}

bool contains(const Widget* root, const Widget* widget) {
    for (const Widget* child : root->GetChildren())
        if (child == widget || contains(child, widget))
            return true;
    return false;
}

} // namespace

Spinner::Spinner(const std::string& name) : Widget(name) {
    AddProperty("Minimum", &m_propMinimum);
    AddProperty("Maximum", &m_propMaximum);
    AddProperty("Value", &m_propValue);
    AddProperty("Step", &m_propStep);
    AddProperty("InputMode", &m_propInputMode);
    for (const char* event :
         {"MinimumValueChanged", "MaximumValueChanged", "ValueChanged", "StepChanged", "InputModeChanged"})
        AddEvent(event);
}

Spinner::~Spinner() {
    Unbind();
}

// The parts' events must not keep calling into a spinner that is gone or that found other parts.
void Spinner::Unbind() {
    if (m_editbox && contains(this, m_editbox))
        if (Event* e = m_editbox->GetEvent("TextChanged"))
            e->Unsubscribe(&m_onEditText);
    if (m_incButton && contains(this, m_incButton))
        if (Event* e = m_incButton->GetEvent("MouseDown"))
            e->Unsubscribe(&m_onIncrement);
    if (m_decButton && contains(this, m_decButton))
        if (Event* e = m_decButton->GetEvent("MouseDown"))
            e->Unsubscribe(&m_onDecrement);
    m_editbox = m_incButton = m_decButton = nullptr;
}

Widget* Spinner::FindPart(const char* suffix, const char* what) const {
    Widget* part = FindChild(m_name + suffix, true);
    if (!part)
        log("Spinner::Initialize - %s for spinner '%s' not found", what, m_name.c_str());
    return part;
}

void Spinner::Initialize() {
    Widget::Initialize();
    Unbind();
    if ((m_editbox = FindPart("_auto_editbox", "Editbox")))
        m_editbox->SubscribeEvent("TextChanged", &m_onEditText);
    if ((m_incButton = FindPart("_auto_incbtn", "Increment button"))) {
        m_incButton->SetMouseAutoRepeat(true);
        m_incButton->SubscribeEvent("MouseDown", &m_onIncrement);
    }
    if ((m_decButton = FindPart("_auto_decbtn", "Decrement button"))) {
        m_decButton->SetMouseAutoRepeat(true);
        m_decButton->SubscribeEvent("MouseDown", &m_onDecrement);
    }
}

f32 Spinner::ReadValue(const std::wstring& text, i32 mode) {
    std::string narrow;
    for (wchar_t c : text)
        narrow += c > 0 && c < 128 ? char(c) : '\x7f';
    const char* begin = narrow.c_str();
    char* end = nullptr;
    if (mode == MODE_HEX) {
        const unsigned long long v = std::strtoull(begin, &end, 16);
        return end == begin ? 0.0f : f32(saturate(double(v), 0, double(std::numeric_limits<u32>::max())));
    }
    if (mode == MODE_FLOAT) {
        const f32 v = std::strtof(begin, &end);
        return end == begin || std::isnan(v) ? 0.0f : v;
    }
    const long long v = std::strtoll(begin, &end, 10);
    return end == begin ? 0.0f
                        : f32(saturate(double(v), double(std::numeric_limits<i32>::min()),
                                       double(std::numeric_limits<i32>::max())));
}

std::wstring Spinner::FormatNumber(f32 value, i32 mode) {
    if (mode == MODE_FLOAT) {
        std::wostringstream out;
        out << value;
        return out.str();
    }
    const double whole = std::isnan(value) ? 0.0 : std::trunc(double(value));
    const i32 n = i32(
        saturate(whole, double(std::numeric_limits<i32>::min()), double(std::numeric_limits<i32>::max())));
    wchar_t buffer[16];
    if (mode == MODE_HEX)
        std::swprintf(buffer, std::size(buffer), L"%X", u32(n));
    else
        std::swprintf(buffer, std::size(buffer), L"%d", n);
    return buffer;
}

f32 Spinner::GetValue() const {
    return m_editbox ? ReadValue(m_editbox->GetText(), m_inputMode) : m_value;
}

std::wstring Spinner::FormatValue() const {
    return FormatNumber(m_value, m_inputMode);
}

void Spinner::SetValue(f32 value) {
    if (std::isnan(value))
        value = 0;
    // Compared after clamping: a step past the maximum changes nothing and tells nobody.
    value = value < m_minimum ? m_minimum : value > m_maximum ? m_maximum : value;
    if (value == m_value)
        return;
    m_value = value;
    if (m_editbox)
        m_editbox->SetText(FormatValue());
    WidgetEventArgs e(this);
    OnValueChanged(e);
}

bool Spinner::Increment(const EventArgs&) {
    SetValue(GetValue() + m_step);
    return true;
}

bool Spinner::Decrement(const EventArgs&) {
    SetValue(GetValue() - m_step);
    return true;
}

bool Spinner::OnEditTextChanged(const EventArgs&) {
    return true;
}

void Spinner::SetMinimum(f32 minimum) {
    if (minimum == m_minimum)
        return;
    m_minimum = minimum;
    WidgetEventArgs e(this);
    OnMinimumValueChanged(e);
}

void Spinner::SetMaximum(f32 maximum) {
    if (maximum == m_maximum)
        return;
    m_maximum = maximum;
    WidgetEventArgs e(this);
    OnMaximumValueChanged(e);
}

void Spinner::SetStep(f32 step) {
    if (step == m_step)
        return;
    m_step = step;
    WidgetEventArgs e(this);
    OnStepChanged(e);
}

void Spinner::SetInputMode(i32 mode) {
    if (mode == m_inputMode)
        return;
    m_inputMode = mode;
    WidgetEventArgs e(this);
    OnInputModeChanged(e);
}

void Spinner::OnMinimumValueChanged(WidgetEventArgs& e) {
    LaunchEvent("MinimumValueChanged", e);
}
void Spinner::OnMaximumValueChanged(WidgetEventArgs& e) {
    LaunchEvent("MaximumValueChanged", e);
}
void Spinner::OnValueChanged(WidgetEventArgs& e) {
    LaunchEvent("ValueChanged", e);
}
void Spinner::OnStepChanged(WidgetEventArgs& e) {
    LaunchEvent("StepChanged", e);
}
void Spinner::OnInputModeChanged(WidgetEventArgs& e) {
    LaunchEvent("InputModeChanged", e);
}

} // namespace GUI
