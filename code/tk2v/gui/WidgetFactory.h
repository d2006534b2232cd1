#pragma once
#include "tk2v/gui/PropertySet.h"

#include <map>
#include <memory>
#include <string>

namespace GUI {

class Widget;

// Creates widgets from the class names of GUI scripts.
class WidgetFactory {
public:
    using Creator = std::unique_ptr<Widget> (*)(const std::string& widgetName);

    // The one factory, made with its table on first use.
    static WidgetFactory& Instance();

    // False, keeping the first creator, for a taken class name.
    bool RegisterClass(const std::string& className, Creator creator);
    // Null, after a log line, for an unregistered class. The new widget has no parent.
    std::unique_ptr<Widget> NewWidget(const std::string& className, const std::string& widgetName) const;

    template <class T> static std::unique_ptr<Widget> Create(const std::string& widgetName) {
        return std::make_unique<T>(widgetName);
    }

private:
    WidgetFactory();

    std::map<std::string, Creator, NoCaseLess> m_creators;
};

} // namespace GUI
