#include "tk2v/gui/WidgetFactory.h"

#include "tk2v/gui/Editbox.h"
#include "tk2v/gui/Listbox.h"
#include "tk2v/gui/Memo.h"
#include "tk2v/gui/Scrollbar.h"
#include "tk2v/gui/Slider.h"
#include "tk2v/gui/Spinner.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/gui/Window.h"
#include "tk2v/util/log.h"

namespace GUI {

WidgetFactory::WidgetFactory() {
    // The classes of scripts, in their registration order; "memo" comes last through RegisterClass.
    const std::pair<const char*, Creator> classes[] = {
        {"editbox", &Create<Editbox>},
        {"listbox", &Create<Listbox>},
        {"scrollbar", &Create<Scrollbar>},
        {"slider", &Create<Slider>},
        {"spinner", &Create<Spinner>},
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
