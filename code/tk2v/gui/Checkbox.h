#pragma once
#include "tk2v/gui/ImageButton.h"

namespace GUI {

// A two-state button: the image button is the box at one side with the caption beside it, and a
// child named after the check box ("_auto_check") shows the mark.
class Checkbox : public ImageButton {
public:
    explicit Checkbox(const std::string& name);
    ~Checkbox() override = default;

    void MakeFromScript() override;
    const char* GetTypeName() const override { return "Checkbox"; }
    bool IsA(const std::string& typeName) const override {
        return typeName == "Checkbox" || ImageButton::IsA(typeName);
    }
    void Initialize() override;
    void DrawSelf() override;
    void OnClick(MouseEventArgs& e) override;
    void OnDoubleClick(MouseEventArgs& e) override;
    // Shows the mark exactly when checked, even when nothing changes.
    virtual void SetChecked(bool checked);
    virtual void OnCheckChanged(WidgetEventArgs& e);

    bool IsChecked() const { return m_checked; }
    bool IsRightAligned() const { return m_rightAlign; }
    Widget* GetCheckWidget() const { return m_checkWidget; }

protected:
    Widget* m_checkWidget = nullptr;
    bool m_checked = false;
    bool m_rightAlign = false;
    Property m_checkedProp, m_rightAlignProp;
};

} // namespace GUI
