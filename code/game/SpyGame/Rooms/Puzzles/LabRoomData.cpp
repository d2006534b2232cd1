#include "game/SpyGame/Rooms/Puzzles/LabRoomData.h"

#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyObjText.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gui/StaticText.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/util/log.h"

#include <boost/lexical_cast.hpp>

#include <cmath>

f32 ReadSeconds(const aOptionsFile& ini, const std::string& key, const char* owner) {
    if (!ini.hasKey(key)) {
        ini.getString(key);
        return 0;
    }
    const std::string text = ini.getString(key);
    f32 seconds = 0;
    if (!boost::conversion::try_lexical_convert(text, seconds) || !std::isfinite(seconds)) {
        log("%s. Key \"%s\" is not a number: %s", owner, key.c_str(), text.c_str());
        return 0;
    }
    return seconds;
}

i32 ClampCount(i32 count, i32 limit, const char* key, const char* owner) {
    if (count >= 0 && count <= limit)
        return count;
    log("%s. Key \"%s\" out of range 0..%d: %d", owner, key, limit, count);
    return count < 0 ? 0 : limit;
}

void PlayRoomSound(const CRoomBase& room, const std::string& name) {
    if (aSound* sound = room.GetSound(name))
        sound->play(false);
}

f32 TextLineHeight(const CSpyItem* item) {
    const auto* text = item ? dynamic_cast<const CSpyObjText*>(item->GetMainObject()) : nullptr;
    return text ? text->GetWidget().GetLineStep() : 0;
}

CRoomItemLookup& RecordLookup(CRoomsManager* rooms) {
    struct NoRooms : CRoomItemLookup {
        bool HasItem(const std::string&, const std::string&) const override { return false; }
        CSpyItem* GetItem(const std::string&, const std::string&) const override { return nullptr; }
        CSpyItem* GetItemByFullName(const std::string&) const override { return nullptr; }
    };
    static NoRooms none;
    return rooms ? static_cast<CRoomItemLookup&>(*rooms) : none;
}
