#include "game/SpyGame/CFindItem.h"

#include "game/SaveLoadSystem.h"

const u8* CFindItem::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = sys.readU32(sys.readString(pos, m_itemName), m_type);
    return sys.readBool(sys.readBool(sys.readBool(pos, m_picked), m_clicked), m_used);
}

u8* CFindItem::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeU32(sys.writeString(pos, m_itemName), m_type);
    return sys.writeBool(sys.writeBool(sys.writeBool(pos, m_picked), m_clicked), m_used);
}

bool CFindItem::IsComplete() const {
    switch (m_type) {
    case TypePick:
        return m_picked;
    case TypeClick:
        return m_clicked;
    case TypeUse:
        return m_used;
    default:
        return false;
    }
}
