#pragma once
#include "tk2v/gui/Checkbox.h"

namespace GUI {

// A check box that only turns itself on, and then turns off the checked radio buttons of its group
// among its siblings. Group 0 is no group.
class RadioButton : public Checkbox {
public:
    explicit RadioButton(const std::string& name);
    ~RadioButton() override = default;

    void MakeFromScript() override;
    const char* GetTypeName() const override { return "RadioButton"; }
    bool IsA(const std::string& typeName) const override {
        return typeName == "RadioButton" || Checkbox::IsA(typeName);
    }
    void OnClick(MouseEventArgs& e) override;
    void OnDoubleClick(MouseEventArgs& e) override;
    // Fires no "CheckChanged".
    void OnCheckChanged(WidgetEventArgs& e) override;

    i32 GetGroupID() const { return m_groupId; }
    void SetGroupID(i32 group) { m_groupId = group; }

private:
    void UncheckGroup();

    i32 m_groupId = 0;
    Property m_groupIdProp;
};

} // namespace GUI
