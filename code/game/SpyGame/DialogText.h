#pragma once
#include <string>

namespace GUI {
class Widget;
}

// The localised text of a key for the in-game dialogs: a language that lacks the key shows
// "String '<key>' not found!", while a text that is present but empty stays empty.
std::wstring DialogText(const std::string& key, const std::string& section);

// Gives the widget the text of the key and lays a static text out again at once, so that its text
// height is current. A null widget is skipped.
void SetDialogText(GUI::Widget* widget, const std::string& key, const std::string& section);
