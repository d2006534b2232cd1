#include "game/SpyGame/CRoomItemLookup.h"

void SplitFullItemName(const std::string& fullName, std::string& room, std::string& item) {
    const size_t colon = fullName.find(':');
    if (colon == std::string::npos) {
        item = fullName;
        return;
    }
    room = fullName.substr(0, colon);
    item = fullName.substr(colon + 1);
}
