#pragma once
#include "tk2v/util/types.h"

#include <list>
#include <string>
#include <vector>

class CRoomItemLookup;
class CSpyItem;
class SaveLoadSystem;

// Reads a puzzle room's record field by field, the way cRecordWriter wrote it, inside the record that
// loads now. A field that runs past the record's end, or a count that cannot fit the bytes left (with
// one line), ends the reading there: the fields after it keep what they held, and the position is the
// record's end, so that nothing of the records after it is taken for them.
class cRecordReader {
public:
    // References resolve through `rooms`; without rooms they read as null. `owner` starts the line of
    // a count that does not fit.
    cRecordReader(const char* owner, CRoomItemLookup* rooms, SaveLoadSystem& sys, const u8* pos);

    cRecordReader& get(u8& value);
    cRecordReader& get(u16& value);
    cRecordReader& get(u32& value);
    cRecordReader& get(i32& value);
    cRecordReader& get(f32& value);
    cRecordReader& get(std::string& text);
    cRecordReader& get(std::wstring& text);
    cRecordReader& ref(CSpyItem*& item);
    // A null reference stays in the list, as the writer had it.
    cRecordReader& refs(std::list<CSpyItem*>& items);
    cRecordReader& strings(std::list<std::string>& list);
    cRecordReader& strings(std::vector<std::string>& list);
    cRecordReader& texts(std::vector<std::wstring>& list);
    cRecordReader& texts(std::list<std::wstring>& list);
    cRecordReader& values(std::vector<u16>& list);
    // A count of entries of at least `minEntrySize` bytes; false (and the reading over) when it does
    // not fit. `what` names the list in the line.
    bool count(u32& n, u32 minEntrySize, const char* what);
    // A part that reads itself (a toolkit object's record): `load(sys, pos)` returns its end.
    template <class Load> cRecordReader& part(Load load) {
        if (!m_stopped)
            m_pos = load(m_sys, m_pos);
        if (m_pos > m_end)
            stop();
        return *this;
    }

    const u8* pos() const { return m_pos; }
    bool stopped() const { return m_stopped; }
    CRoomItemLookup* rooms() const { return m_rooms; }
    SaveLoadSystem& sys() const { return m_sys; }

private:
    // Whether the next `size` bytes lie in the record; when they do not, the reading stops.
    bool fits(size_t size);
    // The bytes up to the string's end lie in the record (16-bit units for a wide one).
    bool stringFits(size_t unit);
    void stop();
    template <class T> cRecordReader& field(T& value);
    template <class List> cRecordReader& each(List& list, u32 minEntrySize, const char* what);

    const char* m_owner;
    CRoomItemLookup* m_rooms;
    SaveLoadSystem& m_sys;
    const u8* m_pos;
    const u8* m_end;
    bool m_stopped = false;
};
