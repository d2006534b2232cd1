#pragma once
#include <string>

// "room:item" split at the first ':' (the item part may hold more colons). Without a ':' the whole
// text is the item name and `room` keeps what it held, so a caller can preset its own room.
void SplitFullItemName(const std::string& fullName, std::string& room, std::string& item);
