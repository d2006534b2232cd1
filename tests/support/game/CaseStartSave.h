#pragma once
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyMain.h"

#include <string>

namespace demo {

// A saved game holding only one record, by default the game object's, naming the investigation.
// Continued, it starts that investigation at its start: no record of the investigation follows, so
// the case stays as its start made it and opens on its map. False when the file cannot be written.
inline bool writeCaseStartSave(const std::string& file, const std::string& investigation,
                               const std::string& recordName = "<SpyMain>") {
    struct Record : SaveLoadEntity {
        Record(const std::string& record, std::string name) : SaveLoadEntity(record), text(std::move(name)) {}
        u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override { return sys.writeString(pos, text); }
        std::string text;
    } record(recordName, investigation);
    SaveLoadSystem sys;
    sys.BeginSave(file, CSpyMain::SaveHeader);
    sys.SaveEntity(record);
    return sys.Finish();
}

} // namespace demo
