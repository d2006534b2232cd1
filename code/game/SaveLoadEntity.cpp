#include "game/SaveLoadEntity.h"

#include <utility>

SaveLoadEntity::SaveLoadEntity(std::string name) : m_name(std::move(name)) {}

// An entity without fields of its own still gets its (empty) record, so it is found on load.
const u8* SaveLoadEntity::LoadSelf(SaveLoadSystem&, const u8* pos) {
    return pos;
}

u8* SaveLoadEntity::SaveSelf(SaveLoadSystem&, u8* pos) {
    return pos;
}

void SaveLoadEntity::SaveChildren(SaveLoadSystem&) {}

void SaveLoadEntity::LoadChildren(SaveLoadSystem&) {}
