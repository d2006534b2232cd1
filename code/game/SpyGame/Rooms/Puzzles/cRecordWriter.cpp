#include "game/SpyGame/Rooms/Puzzles/cRecordWriter.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/WideTextField.h"

cRecordWriter& cRecordWriter::put(u8 value) {
    m_pos = m_sys.writeU8(m_pos, value);
    return *this;
}

cRecordWriter& cRecordWriter::put(u16 value) {
    m_pos = m_sys.writeU16(m_pos, value);
    return *this;
}

cRecordWriter& cRecordWriter::put(u32 value) {
    m_pos = m_sys.writeU32(m_pos, value);
    return *this;
}

cRecordWriter& cRecordWriter::put(i32 value) {
    m_pos = m_sys.writeI32(m_pos, value);
    return *this;
}

cRecordWriter& cRecordWriter::put(f32 value) {
    m_pos = m_sys.writeF32(m_pos, value);
    return *this;
}

cRecordWriter& cRecordWriter::put(const std::string& text) {
    m_pos = m_sys.writeString(m_pos, text);
    return *this;
}

cRecordWriter& cRecordWriter::put(const std::wstring& text) {
    m_pos = SaveWideText(m_sys, m_pos, text);
    return *this;
}

cRecordWriter& cRecordWriter::ref(const CSpyItem* item) {
    m_pos = SaveItemRef(m_sys, m_pos, item);
    return *this;
}

cRecordWriter& cRecordWriter::refs(const std::list<CSpyItem*>& items) {
    m_pos = SaveItemRefList(m_sys, m_pos, items);
    return *this;
}

template <class List> cRecordWriter& cRecordWriter::each(const List& list) {
    put(u32(list.size()));
    for (const auto& entry : list)
        put(entry);
    return *this;
}

cRecordWriter& cRecordWriter::strings(const std::list<std::string>& list) {
    return each(list);
}

cRecordWriter& cRecordWriter::strings(const std::vector<std::string>& list) {
    return each(list);
}

cRecordWriter& cRecordWriter::texts(const std::vector<std::wstring>& list) {
    return each(list);
}

cRecordWriter& cRecordWriter::texts(const std::list<std::wstring>& list) {
    return each(list);
}

cRecordWriter& cRecordWriter::values(const std::vector<u16>& list) {
    return each(list);
}
