#pragma once
#include "tk2v/gui/SubscriberInterface.h"
#include "tk2v/gui/Widget.h"

#include <string>

namespace GUI {

// A number typed in an edit box, stepped up and down by two buttons that repeat while held. The three
// parts are descendants named after the spinner: "_auto_editbox", "_auto_incbtn", "_auto_decbtn".
class Spinner : public Widget {
public:
    enum InputMode : i32 { MODE_DECIMAL = 0, MODE_HEX = 1, MODE_FLOAT = 2 };

    explicit Spinner(const std::string& name);
    ~Spinner() override;

    const char* GetTypeName() const override { return "Spinner"; }
    bool IsA(const std::string& typeName) const override { return typeName == "Spinner"; }
    void Initialize() override;

    // The number in the edit box's text (the stored value without an edit box).
    virtual f32 GetValue() const;
    virtual std::wstring FormatValue() const;
    virtual bool Increment(const EventArgs& e);
    virtual bool Decrement(const EventArgs& e);
    virtual bool OnEditTextChanged(const EventArgs& e);
    virtual void OnMinimumValueChanged(WidgetEventArgs& e);
    virtual void OnMaximumValueChanged(WidgetEventArgs& e);
    virtual void OnValueChanged(WidgetEventArgs& e);
    virtual void OnStepChanged(WidgetEventArgs& e);
    virtual void OnInputModeChanged(WidgetEventArgs& e);

    // Clamped to minimum..maximum; nothing when the clamped value is the stored one.
    void SetValue(f32 value);
    f32 GetStoredValue() const { return m_value; }
    void SetMinimum(f32 minimum);
    f32 GetMinimum() const { return m_minimum; }
    void SetMaximum(f32 maximum);
    f32 GetMaximum() const { return m_maximum; }
    void SetStep(f32 step);
    f32 GetStep() const { return m_step; }
    void SetInputMode(i32 mode);
    i32 GetInputMode() const { return m_inputMode; }

    Widget* GetEditbox() const { return m_editbox; }
    Widget* GetIncrementButton() const { return m_incButton; }
    Widget* GetDecrementButton() const { return m_decButton; }

    // The number in a text by input mode; 0 when it holds none, saturated when out of range.
    static f32 ReadValue(const std::wstring& text, i32 mode);
    static std::wstring FormatNumber(f32 value, i32 mode);

private:
    using Binder = _memberBinder<Spinner, bool, const EventArgs&>;

    Widget* FindPart(const char* suffix, const char* what) const;
    void Unbind();

    Widget* m_incButton = nullptr;
    Widget* m_decButton = nullptr;
    Widget* m_editbox = nullptr;
    f32 m_minimum = 0;
    f32 m_maximum = 100;
    f32 m_value = 0;
    f32 m_step = 1;
    i32 m_inputMode = MODE_DECIMAL;
    Property m_propMinimum, m_propMaximum, m_propValue, m_propStep, m_propInputMode;
    // Made once: Initialize may run more than once over the same tree.
    Binder m_onEditText{this, &Spinner::OnEditTextChanged};
    Binder m_onIncrement{this, &Spinner::Increment};
    Binder m_onDecrement{this, &Spinner::Decrement};
};

} // namespace GUI
