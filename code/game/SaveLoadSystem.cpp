#include "game/SaveLoadSystem.h"

#include "game/SaveLoadEntity.h"
#include "tk2v/file/file.h"
#include "tk2v/util/log.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace {
constexpr u32 HeaderSize = 8;
constexpr u32 ChecksumSize = 4;

u32 getU32(const u8* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<u32>(p[3]) << 24;
}
} // namespace

SaveLoadSystem::SaveLoadSystem(u32 value) : m_value(value) {}

void SaveLoadSystem::BeginSave(const std::string& fileName, u32 header) {
    m_fileName = fileName;
    releaseBuffer();
    m_buffer.reset(static_cast<u8*>(std::malloc(Capacity)));
    m_bufferSize = m_buffer ? Capacity : 0;
    m_state = Saving;
    m_count = 0;
    m_overflowed = false;
    // The count is stored by Finish; until then its place holds zero.
    m_cursor = writeU32(writeU32(m_buffer.get(), header), 0);
}

void SaveLoadSystem::SaveEntity(SaveLoadEntity& entity) {
    if (m_state == Loading) {
        log("SaveLoadSystem: Error call to SaveEntity() in load progress!");
        return;
    }
    // Without BeginSave there is no stream to append to.
    if (m_state != Saving)
        return;
    entity.SaveChildren(*this);
    ++m_count;
    u8* sizeField = writeString(m_cursor, entity.getName());
    u8* data = writeU32(sizeField, 0);
    u8* end = entity.SaveSelf(*this, data);
    if (room(end, Saving) < 0 || end < data) {
        m_overflowed = true;
        return;
    }
    writeU32(sizeField, static_cast<u32>(end - data));
    m_cursor = end;
}

bool SaveLoadSystem::Load(const std::string& fileName, u32 expectedHeader) {
    releaseBuffer();
    if (!readStream(fileName, expectedHeader)) {
        releaseBuffer();
        log("SaveLoadSystem: file \"%s\" load failed!", fileName.c_str());
        return false;
    }
    m_state = Loading;
    return true;
}

bool SaveLoadSystem::LoadEntity(SaveLoadEntity& entity) {
    if (m_state == Saving) {
        log("SaveLoadSystem: Error call to LoadEntity() in save progress!");
        return false;
    }
    entity.LoadChildren(*this);
    auto record = m_index.find(entity.getName());
    if (record == m_index.end())
        return false;
    // Saved and restored: a LoadSelf may load another entity on its way.
    const u8* outerBegin = m_recordBegin;
    const u8* outerEnd = m_recordEnd;
    m_recordBegin = m_buffer.get() + record->second.offset;
    m_recordEnd = m_recordBegin + record->second.size;
    entity.LoadSelf(*this, m_recordBegin);
    m_recordBegin = outerBegin;
    m_recordEnd = outerEnd;
    return true;
}

bool SaveLoadSystem::Finish() {
    bool written = true;
    if (m_state == Saving) {
        u32 size = 0;
        written = completeStream(size) && file_writeFull(m_fileName, m_buffer.get(), size);
        if (!written)
            log("SaveLoadSystem: file \"%s\" save failed!", m_fileName.c_str());
    }
    releaseBuffer();
    m_state = Idle;
    return written;
}

u8* SaveLoadSystem::write(u8* pos, const void* data, size_t n) {
    i64 left = room(pos, Saving);
    // Once a field did not fit the save is lost anyway; writing on would only mislead.
    if (m_overflowed || left < 0 || n > static_cast<u64>(left)) {
        m_overflowed = true;
        return pos;
    }
    if (n > 0)
        std::memcpy(pos, data, n);
    return pos + n;
}

u8* SaveLoadSystem::writeF32(u8* pos, f32 value) {
    return writeLE(pos, std::bit_cast<u32>(value), 4);
}

u8* SaveLoadSystem::writeString(u8* pos, const std::string& text) {
    return write(pos, text.c_str(), text.size() + 1);
}

const u8* SaveLoadSystem::read(const u8* pos, void* out, size_t n) const {
    i64 left = room(pos, Loading);
    if (left < 0 || n > static_cast<u64>(left)) {
        std::memset(out, 0, n);
        return exhausted(pos, left);
    }
    if (n > 0)
        std::memcpy(out, pos, n);
    return pos + n;
}

const u8* SaveLoadSystem::readU16(const u8* pos, u16& out) const {
    u32 value;
    pos = readLE(pos, value, 2);
    out = static_cast<u16>(value);
    return pos;
}

const u8* SaveLoadSystem::readU32(const u8* pos, u32& out) const {
    return readLE(pos, out, 4);
}

const u8* SaveLoadSystem::readI32(const u8* pos, i32& out) const {
    u32 value;
    pos = readLE(pos, value, 4);
    out = static_cast<i32>(value);
    return pos;
}

const u8* SaveLoadSystem::readF32(const u8* pos, f32& out) const {
    u32 value;
    pos = readLE(pos, value, 4);
    out = std::bit_cast<f32>(value);
    return pos;
}

const u8* SaveLoadSystem::readBool(const u8* pos, bool& out) const {
    u8 value;
    pos = readU8(pos, value);
    out = value != 0;
    return pos;
}

const u8* SaveLoadSystem::readString(const u8* pos, std::string& out) const {
    i64 left = room(pos, Loading);
    const u8* nul = left > 0 ? static_cast<const u8*>(std::memchr(pos, 0, size_t(left))) : nullptr;
    if (!nul) {
        out.clear();
        return exhausted(pos, left);
    }
    out.assign(reinterpret_cast<const char*>(pos), size_t(nul - pos));
    return nul + 1;
}

u32 SaveLoadSystem::bytesLeftInRecord(const u8* pos) const {
    if (!m_recordBegin || pos < m_recordBegin || pos > m_recordEnd)
        return 0;
    return u32(m_recordEnd - pos);
}

u8* SaveLoadSystem::BeginMemoryRecord(u32 size) {
    releaseBuffer();
    // One byte more than asked, so that an empty record has a place to point at.
    m_buffer.reset(static_cast<u8*>(std::malloc(size_t(size) + 1)));
    if (!m_buffer) {
        m_state = Idle;
        return nullptr;
    }
    m_bufferSize = size;
    m_state = Loading;
    m_recordBegin = m_buffer.get();
    m_recordEnd = m_recordBegin + size;
    return m_buffer.get();
}

u32 SaveLoadSystem::checksum(const u8* data, u32 n) {
    u8 x = 0;
    u32 sum = 0;
    for (u32 i = n; i-- > 0;) {
        x ^= data[i];
        sum += x;
    }
    return sum;
}

void SaveLoadSystem::scramble(u8* data, u32 n) {
    for (u32 i = 0; i < n; ++i)
        data[i] ^= static_cast<u8>((i + i / 255) ^ 0x6B);
}

u8* SaveLoadSystem::writeLE(u8* pos, u32 value, size_t bytes) {
    u8 le[4];
    for (size_t i = 0; i < bytes; ++i)
        le[i] = static_cast<u8>(value >> (8 * i));
    return write(pos, le, bytes);
}

const u8* SaveLoadSystem::readLE(const u8* pos, u32& out, size_t bytes) const {
    u8 le[4];
    pos = read(pos, le, bytes);
    out = 0;
    for (size_t i = bytes; i-- > 0;)
        out = out << 8 | le[i];
    return pos;
}

i64 SaveLoadSystem::room(const u8* pos, i32 state) const {
    if (m_state != state || !m_buffer || !pos)
        return -1;
    auto at = reinterpret_cast<std::uintptr_t>(pos);
    auto begin = reinterpret_cast<std::uintptr_t>(m_buffer.get());
    if (at < begin || at - begin > m_bufferSize)
        return -1;
    return i64(m_bufferSize) - i64(at - begin);
}

// The index holds offsets into the buffer, so it goes with it.
void SaveLoadSystem::releaseBuffer() {
    m_index.clear();
    m_recordBegin = m_recordEnd = nullptr;
    m_buffer.reset();
    m_bufferSize = 0;
    m_cursor = nullptr;
}

bool SaveLoadSystem::readStream(const std::string& fileName, u32 expectedHeader) {
    u32 size = 0;
    m_buffer.reset(static_cast<u8*>(file_readFullAndMalloc(fileName, &size)));
    if (!m_buffer || size < HeaderSize + ChecksumSize)
        return false;
    u8* data = m_buffer.get();
    scramble(data, size);
    m_bufferSize = size - ChecksumSize;
    if (expectedHeader != AnyHeader && getU32(data) != expectedHeader)
        return false;
    if (checksum(data, m_bufferSize) != getU32(data + m_bufferSize))
        return false;
    return indexRecords();
}

// Every record must lie wholly before the checksum; a stream that passes the checksum may
// still have been written wrongly.
bool SaveLoadSystem::indexRecords() {
    const u8* data = m_buffer.get();
    const u32 end = m_bufferSize;
    u32 count = getU32(data + 4);
    u32 at = HeaderSize;
    for (u32 i = 0; i < count; ++i) {
        auto nul = static_cast<const u8*>(std::memchr(data + at, 0, end - at));
        if (!nul)
            return false;
        u32 sizeAt = u32(nul - data) + 1;
        if (end - sizeAt < 4)
            return false;
        u32 dataAt = sizeAt + 4;
        u32 size = getU32(data + sizeAt);
        if (size > end - dataAt)
            return false;
        m_index.emplace(std::string(reinterpret_cast<const char*>(data + at), sizeAt - 1 - at),
                        RecordSpan{dataAt, size});
        at = dataAt + size;
    }
    return true;
}

bool SaveLoadSystem::completeStream(u32& size) {
    u8* begin = m_buffer.get();
    if (!begin || m_overflowed)
        return false;
    writeU32(begin + 4, m_count);
    u32 n = u32(m_cursor - begin);
    if (writeU32(m_cursor, checksum(begin, n)) == m_cursor)
        return false;
    size = n + ChecksumSize;
    scramble(begin, size);
    return true;
}
