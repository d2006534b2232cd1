#pragma once
#include "tk2v/util/types.h"

#include <list>
#include <string>
#include <vector>

class CSpyItem;
class SaveLoadSystem;

// Writes a puzzle room's record field by field, in the order its table gives them: numbers in their
// own width, strings and item references with their NUL, texts as 16-bit units, containers as a u32
// count and their entries.
class cRecordWriter {
public:
    cRecordWriter(SaveLoadSystem& sys, u8* pos) : m_sys(sys), m_pos(pos) {}

    cRecordWriter& put(u8 value);
    cRecordWriter& put(u16 value);
    cRecordWriter& put(u32 value);
    cRecordWriter& put(i32 value);
    cRecordWriter& put(f32 value);
    cRecordWriter& put(const std::string& text);
    cRecordWriter& put(const std::wstring& text);
    cRecordWriter& ref(const CSpyItem* item);
    cRecordWriter& refs(const std::list<CSpyItem*>& items);
    cRecordWriter& strings(const std::list<std::string>& list);
    cRecordWriter& strings(const std::vector<std::string>& list);
    cRecordWriter& texts(const std::vector<std::wstring>& list);
    cRecordWriter& texts(const std::list<std::wstring>& list);
    cRecordWriter& values(const std::vector<u16>& list);
    // A part that writes itself (a toolkit object's record): `save(sys, pos)` returns its end.
    template <class Save> cRecordWriter& part(Save save) {
        m_pos = save(m_sys, m_pos);
        return *this;
    }

    u8* pos() const { return m_pos; }

private:
    template <class List> cRecordWriter& each(const List& list);

    SaveLoadSystem& m_sys;
    u8* m_pos;
};
