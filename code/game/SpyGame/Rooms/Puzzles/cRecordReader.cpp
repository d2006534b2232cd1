#include "game/SpyGame/Rooms/Puzzles/cRecordReader.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CRoomItemLookup.h"
#include "game/SpyGame/SaveCounts.h"
#include "game/SpyGame/WideTextField.h"

#include <cstring>
#include <string>
#include <type_traits>

namespace {

constexpr u32 MinString = 1;
constexpr u32 MinText = 2;

} // namespace

cRecordReader::cRecordReader(const char* owner, CRoomItemLookup* rooms, SaveLoadSystem& sys, const u8* pos)
    : m_owner(owner), m_rooms(rooms), m_sys(sys), m_pos(pos), m_end(pos + sys.bytesLeftInRecord(pos)) {}

void cRecordReader::stop() {
    m_stopped = true;
    m_pos = m_end;
}

bool cRecordReader::fits(size_t size) {
    if (!m_stopped && m_pos <= m_end && size_t(m_end - m_pos) >= size)
        return true;
    stop();
    return false;
}

bool cRecordReader::stringFits(size_t unit) {
    if (!m_stopped && unit == 1 && m_pos < m_end && std::memchr(m_pos, 0, size_t(m_end - m_pos)))
        return true;
    for (const u8* at = m_pos; !m_stopped && unit == 2 && at + unit <= m_end; at += unit)
        if (at[0] == 0 && at[1] == 0)
            return true;
    stop();
    return false;
}

template <class T> cRecordReader& cRecordReader::field(T& value) {
    if constexpr (std::is_same_v<T, std::string>) {
        if (!stringFits(1))
            return *this;
    } else if constexpr (std::is_same_v<T, std::wstring>) {
        if (!stringFits(2))
            return *this;
    } else if (!fits(sizeof(T))) {
        return *this;
    }
    if constexpr (std::is_same_v<T, u8>)
        m_pos = m_sys.readU8(m_pos, value);
    else if constexpr (std::is_same_v<T, u16>)
        m_pos = m_sys.readU16(m_pos, value);
    else if constexpr (std::is_same_v<T, u32>)
        m_pos = m_sys.readU32(m_pos, value);
    else if constexpr (std::is_same_v<T, i32>)
        m_pos = m_sys.readI32(m_pos, value);
    else if constexpr (std::is_same_v<T, f32>)
        m_pos = m_sys.readF32(m_pos, value);
    else if constexpr (std::is_same_v<T, std::string>)
        m_pos = m_sys.readString(m_pos, value);
    else
        m_pos = LoadWideText(m_sys, m_pos, value);
    return *this;
}

cRecordReader& cRecordReader::get(u8& value) {
    return field(value);
}

cRecordReader& cRecordReader::get(u16& value) {
    return field(value);
}

cRecordReader& cRecordReader::get(u32& value) {
    return field(value);
}

cRecordReader& cRecordReader::get(i32& value) {
    return field(value);
}

cRecordReader& cRecordReader::get(f32& value) {
    return field(value);
}

cRecordReader& cRecordReader::get(std::string& text) {
    return field(text);
}

cRecordReader& cRecordReader::get(std::wstring& text) {
    return field(text);
}

cRecordReader& cRecordReader::ref(CSpyItem*& item) {
    std::string name;
    field(name);
    if (!m_stopped)
        item = name.empty() || !m_rooms ? nullptr : m_rooms->GetItemByFullName(name);
    return *this;
}

bool cRecordReader::count(u32& n, u32 minEntrySize, const char* what) {
    n = 0;
    field(n);
    if (m_stopped)
        return false;
    // The line names the list only when it is written.
    if (u64(n) * minEntrySize <= u64(m_end - m_pos) ||
        countFits(m_sys, m_pos, n, minEntrySize, (std::string(m_owner) + " " + what).c_str()))
        return true;
    stop();
    n = 0;
    return false;
}

template <class List> cRecordReader& cRecordReader::each(List& list, u32 minEntrySize, const char* what) {
    u32 n = 0;
    if (!count(n, minEntrySize, what))
        return *this;
    list.assign(n, {});
    for (auto& entry : list)
        get(entry);
    return *this;
}

cRecordReader& cRecordReader::refs(std::list<CSpyItem*>& items) {
    u32 n = 0;
    if (!count(n, MinString, "item references"))
        return *this;
    items.assign(n, nullptr);
    for (CSpyItem*& item : items)
        ref(item);
    return *this;
}

cRecordReader& cRecordReader::strings(std::list<std::string>& list) {
    return each(list, MinString, "string list");
}

cRecordReader& cRecordReader::strings(std::vector<std::string>& list) {
    return each(list, MinString, "string list");
}

cRecordReader& cRecordReader::texts(std::vector<std::wstring>& list) {
    return each(list, MinText, "text list");
}

cRecordReader& cRecordReader::texts(std::list<std::wstring>& list) {
    return each(list, MinText, "text list");
}

cRecordReader& cRecordReader::values(std::vector<u16>& list) {
    return each(list, sizeof(u16), "value list");
}
