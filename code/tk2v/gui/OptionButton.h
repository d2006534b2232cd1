#pragma once
#include "tk2v/gui/ButtonBase.h"

#include <string>
#include <vector>

namespace GUI {

// A button with its caption at the left and the selected entry of a list of options at the right;
// a click steps to the next option.
class OptionButton : public ButtonBase {
public:
    explicit OptionButton(const std::string& name);
    ~OptionButton() override = default;

    const char* GetTypeName() const override { return "OptionButton"; }
    bool IsA(const std::string& typeName) const override {
        return typeName == "OptionButton" || ButtonBase::IsA(typeName);
    }
    void DrawSelf() override;
    void OnClick(MouseEventArgs& e) override;
    virtual void OnOptionChanged(WidgetEventArgs& e);

    void AddOption(const std::wstring& option) { m_options.push_back(option); }
    const std::vector<std::wstring>& GetOptions() const { return m_options; }
    // -1 while none is selected.
    i32 GetSelectedIndex() const { return m_selected; }

private:
    i32 m_selected = -1;
    std::vector<std::wstring> m_options;
};

} // namespace GUI
