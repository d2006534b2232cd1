#pragma once
#include "tk2v/util/types.h"

#include <cstddef>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

class SaveLoadEntity;

// Writes and reads one save stream: a header word, a record count, named records
// {name NUL, u32 size, data} and a checksum, the whole file scrambled.
//
// Record writers and readers work at raw positions inside the stream's buffer; the field
// helpers below keep every access inside it. A save that would pass the fixed capacity is
// refused as a whole, and a read past the loaded data yields zeros and empty strings.
class SaveLoadSystem {
public:
    static constexpr i32 Saving = 0;
    static constexpr i32 Loading = 1;
    static constexpr i32 Idle = 2;
    static constexpr u32 Capacity = 10000000;
    // The expected header that accepts any stream.
    static constexpr u32 AnyHeader = 0xFFFFFFFF;

    explicit SaveLoadSystem(u32 value = 0);
    virtual ~SaveLoadSystem() = default;
    SaveLoadSystem(const SaveLoadSystem&) = delete;
    SaveLoadSystem& operator=(const SaveLoadSystem&) = delete;

    void BeginSave(const std::string& fileName, u32 header);
    void SaveEntity(SaveLoadEntity& entity);
    bool Load(const std::string& fileName, u32 expectedHeader);
    bool LoadEntity(SaveLoadEntity& entity);
    // Ends a save (writing the file) or a load; false only when the save could not be written.
    bool Finish();

    u32 getValue() const { return m_value; }
    i32 getState() const { return m_state; }

    // Field writers: each returns the position after the field, or `pos` when the field does
    // not fit (the save is then refused by Finish). Integers are little-endian.
    u8* write(u8* pos, const void* data, size_t n);
    u8* writeU8(u8* pos, u8 value) { return write(pos, &value, 1); }
    u8* writeU16(u8* pos, u16 value) { return writeLE(pos, value, 2); }
    u8* writeU32(u8* pos, u32 value) { return writeLE(pos, value, 4); }
    u8* writeI32(u8* pos, i32 value) { return writeLE(pos, static_cast<u32>(value), 4); }
    u8* writeF32(u8* pos, f32 value);
    u8* writeBool(u8* pos, bool value) { return writeU8(pos, value ? 1 : 0); }
    // The text and its terminating NUL.
    u8* writeString(u8* pos, const std::string& text);

    // Field readers: each returns the position after the field. A field that runs past the
    // loaded data reads as zero (or empty) and leaves the position at the data's end.
    const u8* read(const u8* pos, void* out, size_t n) const;
    const u8* readU8(const u8* pos, u8& out) const { return read(pos, &out, 1); }
    const u8* readU16(const u8* pos, u16& out) const;
    const u8* readU32(const u8* pos, u32& out) const;
    const u8* readI32(const u8* pos, i32& out) const;
    const u8* readF32(const u8* pos, f32& out) const;
    const u8* readBool(const u8* pos, bool& out) const;
    const u8* readString(const u8* pos, std::string& out) const;

    // Bytes from `pos` to the end of the record whose LoadSelf runs now; 0 outside that record or
    // while none runs. Readers of counted lists check a count against it before they trust it.
    u32 bytesLeftInRecord(const u8* pos) const;

    // Makes this system read `size` bytes of memory, which the caller fills through the returned
    // pointer, as the one record being loaded: a record that its stream keeps packed is read, once
    // unpacked, with the same readers and checks. Finish releases it.
    u8* BeginMemoryRecord(u32 size);

    // The stream's checksum over n bytes, and its scramble (which is its own inverse).
    static u32 checksum(const u8* data, u32 n);
    static void scramble(u8* data, u32 n);

private:
    struct FreeDeleter {
        void operator()(u8* p) const { std::free(p); }
    };

    u8* writeLE(u8* pos, u32 value, size_t bytes);
    const u8* readLE(const u8* pos, u32& out, size_t bytes) const;
    // Bytes from `pos` to the end of the usable buffer in the given state; -1 when outside it.
    i64 room(const u8* pos, i32 state) const;
    const u8* exhausted(const u8* pos, i64 room) const { return room < 0 ? pos : pos + room; }
    void releaseBuffer();
    bool readStream(const std::string& fileName, u32 expectedHeader);
    bool indexRecords();
    bool completeStream(u32& size);

    struct RecordSpan {
        u32 offset; // of the record's data in the loaded buffer
        u32 size;
    };
    // Record name -> where its data lies.
    std::map<std::string, RecordSpan> m_index;
    i32 m_state = Idle;
    std::unique_ptr<u8, FreeDeleter> m_buffer;
    // The capacity while saving; the bytes before the checksum while loading.
    u32 m_bufferSize = 0;
    u8* m_cursor = nullptr;
    std::string m_fileName;
    u32 m_count = 0;
    // The data of the record being loaded, while its LoadSelf runs.
    const u8* m_recordBegin = nullptr;
    const u8* m_recordEnd = nullptr;
    u32 m_value;
    bool m_overflowed = false;
};
