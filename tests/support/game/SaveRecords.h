#pragma once
#include "game/SaveLoadEntity.h"
#include "game/SaveLoadSystem.h"
#include "support/TempDir.h"

#include <cstring>
#include <functional>
#include <string>

// An entity whose record is whatever the given writer and reader make of it, for fields that are not
// entities of their own (lists and objects saved inside their owner's record).
struct HostEntity : SaveLoadEntity {
    explicit HostEntity(std::string name = "host") : SaveLoadEntity(std::move(name)) {}
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override { return save ? save(sys, pos) : pos; }
    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override {
        const u8* end = load ? load(sys, pos) : pos;
        leftAfterLoad = sys.bytesLeftInRecord(end);
        return end;
    }

    std::function<u8*(SaveLoadSystem&, u8*)> save;
    std::function<const u8*(SaveLoadSystem&, const u8*)> load;
    // What the reader left unread of its record.
    u32 leftAfterLoad = 0;
};

// Saves entities into a real stream file and loads them from streams built around given record bytes.
class SaveRecords {
public:
    // The bytes of the entity's record (without its name and size), as the save system writes them.
    std::string save(SaveLoadEntity& entity) const {
        SaveLoadSystem sys;
        sys.BeginSave(path(), 1);
        sys.SaveEntity(entity);
        if (!sys.Finish())
            return "<save failed>";
        std::string stream = m_dir.read("stream.save");
        SaveLoadSystem::scramble(bytes(stream), u32(stream.size()));
        // Header, count, then the last record: name, NUL, u32 size, data.
        size_t at = 8;
        std::string last;
        while (at < stream.size() - 4) {
            size_t nul = stream.find('\0', at);
            u32 size;
            std::memcpy(&size, stream.data() + nul + 1, 4);
            last = stream.substr(nul + 5, size);
            at = nul + 5 + size;
        }
        return last;
    }

    // Loads the entity from a stream whose one record carries its name and the given bytes.
    bool load(SaveLoadEntity& entity, const std::string& record) const {
        std::string stream;
        putU32(stream, 1);
        putU32(stream, 1);
        stream += entity.getName();
        stream += '\0';
        putU32(stream, u32(record.size()));
        stream += record;
        m_dir.write("stream.save", seal(stream));
        SaveLoadSystem sys;
        bool loaded = sys.Load(path(), SaveLoadSystem::AnyHeader) && sys.LoadEntity(entity);
        sys.Finish();
        return loaded;
    }

    // A stream as the save system writes it: the checksum appended, then everything scrambled.
    static std::string seal(std::string plain) {
        putU32(plain, SaveLoadSystem::checksum(bytes(plain), u32(plain.size())));
        SaveLoadSystem::scramble(bytes(plain), u32(plain.size()));
        return plain;
    }

    // "47 00 ..." as bytes.
    static std::string hex(const std::string& text) {
        std::string out;
        for (size_t i = 0; i + 1 < text.size(); ++i) {
            if (text[i] == ' ')
                continue;
            out += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
            ++i;
        }
        return out;
    }

    static void putU32(std::string& out, u32 value) {
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>(value >> (8 * i));
    }

private:
    static u8* bytes(std::string& s) { return reinterpret_cast<u8*>(s.data()); }
    std::string path() const { return m_dir.file("stream.save"); }

    TempDir m_dir;
};
