#include "tk2v/gui/WidgetFactory.h"

#include "tk2v/gui/Checkbox.h"
#include "tk2v/gui/Editbox.h"
#include "tk2v/gui/ImageButton.h"
#include "tk2v/gui/Listbox.h"
#include "tk2v/gui/MainMenu.h"
#include "tk2v/gui/Memo.h"
#include "tk2v/gui/MenuItem.h"
#include "tk2v/gui/OptionButton.h"
#include "tk2v/gui/PopupMenu.h"
#include "tk2v/gui/RadioButton.h"
#include "tk2v/gui/Scrollbar.h"
#include "tk2v/gui/Shape.h"
#include "tk2v/gui/Slider.h"
#include "tk2v/gui/Spinner.h"
#include "tk2v/gui/StaticAnim.h"
#include "tk2v/gui/StaticImage.h"
#include "tk2v/gui/StaticText.h"
#include "tk2v/gui/StyleButton.h"
#include "tk2v/gui/Tooltip.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/gui/Window.h"
#include "tk2v/util/log.h"

namespace GUI {

WidgetFactory::WidgetFactory() {
    // The classes of scripts, in their registration order; "memo" comes last through RegisterClass.
    const std::pair<const char*, Creator> classes[] = {
        {"checkbox", &Create<Checkbox>},
        {"editbox", &Create<Editbox>},
        {"imagebutton", &Create<ImageButton>},
        {"listbox", &Create<Listbox>},
        {"mainmenu", &Create<MainMenu>},
        {"menuitem", &Create<MenuItem>},
        {"optionbutton", &Create<OptionButton>},
        {"popupmenu", &Create<PopupMenu>},
        {"radiobutton", &Create<RadioButton>},
        {"scrollbar", &Create<Scrollbar>},
        {"shape", &Create<Shape>},
        {"slider", &Create<Slider>},
        {"spinner", &Create<Spinner>},
        {"staticanim", &Create<StaticAnim>},
        {"staticimage", &Create<StaticImage>},
        {"statictext", &Create<StaticText>},
        {"stylebutton", &Create<StyleButton>},
        {"tooltip", &Create<Tooltip>},
        {"widget", &Create<Widget>},
        {"window", &Create<Window>},
    };
    for (const auto& [className, creator] : classes)
        RegisterClass(className, creator);
    RegisterClass("memo", &Create<Memo>);
}

WidgetFactory& WidgetFactory::Instance() {
    static WidgetFactory factory;
    return factory;
}

bool WidgetFactory::RegisterClass(const std::string& className, Creator creator) {
    return m_creators.emplace(className, creator).second;
}

std::unique_ptr<Widget> WidgetFactory::NewWidget(const std::string& className,
                                                 const std::string& widgetName) const {
    auto it = m_creators.find(className);
    if (it == m_creators.end()) {
        log("WidgetFactory::NewWidget - cannot create widget '%s' of unregistered class '%s'",
            widgetName.c_str(), className.c_str());
        return nullptr;
    }
    std::unique_ptr<Widget> widget = it->second(widgetName);
    log("Created new %s '%s'", widget->GetTypeName(), widgetName.c_str());
    return widget;
}

} // namespace GUI
