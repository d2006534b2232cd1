#include "game/SaveLoadSystem.h"
#include "game/SaveLoadEntity.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/game/SaveRecords.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr auto hex = &SaveRecords::hex;
constexpr auto seal = &SaveRecords::seal;

u8* bytes(std::string& s) {
    return reinterpret_cast<u8*>(s.data());
}

std::string scrambled(std::string s) {
    SaveLoadSystem::scramble(bytes(s), u32(s.size()));
    return s;
}

std::string loadFailed(const std::string& path) {
    return "SaveLoadSystem: file \"" + path + "\" load failed!";
}

// One text field and any owned children; notes each LoadSelf in `trail`.
struct NodeEntity : SaveLoadEntity {
    NodeEntity(std::string name, std::string value, std::vector<std::string>* loadTrail = nullptr)
        : SaveLoadEntity(std::move(name)), text(std::move(value)), trail(loadTrail) {}

    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override { return sys.writeString(pos, text); }
    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override {
        if (trail)
            trail->push_back(getName());
        return sys.readString(pos, text);
    }
    void SaveChildren(SaveLoadSystem& sys) override {
        for (auto* child : children)
            sys.SaveEntity(*child);
    }
    void LoadChildren(SaveLoadSystem& sys) override {
        for (auto* child : children)
            sys.LoadEntity(*child);
    }

    std::string text;
    std::vector<std::string>* trail;
    std::vector<SaveLoadEntity*> children;
};

struct Profile {
    std::string name;
    f32 sound = 0, music = 0;
    u32 reserved = 0;
    u8 reserved2 = 0;
    bool tips = false, fullScreen = false;
    bool operator==(const Profile&) const = default;
};

// The profiles record: the current profile, a count and the list.
struct ProfilesEntity : SaveLoadEntity {
    ProfilesEntity() : SaveLoadEntity("<profiles>") {}

    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override {
        pos = put(sys, pos, current);
        pos = sys.writeU32(pos, u32(list.size()));
        for (const auto& p : list)
            pos = put(sys, pos, p);
        return pos;
    }
    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override {
        pos = get(sys, pos, current);
        u32 count;
        pos = sys.readU32(pos, count);
        list.resize(count);
        for (auto& p : list)
            pos = get(sys, pos, p);
        return pos;
    }
    static u8* put(SaveLoadSystem& sys, u8* pos, const Profile& p) {
        pos = sys.writeString(pos, p.name);
        pos = sys.writeF32(sys.writeF32(pos, p.sound), p.music);
        pos = sys.writeU8(sys.writeU32(pos, p.reserved), p.reserved2);
        return sys.writeBool(sys.writeBool(pos, p.tips), p.fullScreen);
    }
    static const u8* get(SaveLoadSystem& sys, const u8* pos, Profile& p) {
        pos = sys.readString(pos, p.name);
        pos = sys.readF32(sys.readF32(pos, p.sound), p.music);
        pos = sys.readU8(sys.readU32(pos, p.reserved), p.reserved2);
        return sys.readBool(sys.readBool(pos, p.tips), p.fullScreen);
    }

    Profile current;
    std::vector<Profile> list;
};

const std::string tester = "54 65 73 74 65 72 00 00 00 40 3f 9a 99 99 3e 00 00 00 00 01 01 00";
const std::string profilesPlain = "01 00 00 00 01 00 00 00 3c 70 72 6f 66 69 6c 65 73 3e 00 30 00 00 00" +
                                  tester + "01 00 00 00" + tester + "d1 1d 00 00";
const std::string profilesScrambled =
    "6a 6a 69 68 6e 6e 6d 6c 5f 12 13 0f 01 0f 09 01 08 44 79 48 7f 7e 7d 28 16 01 05 15 05 76 75 74 0b "
    "75 d3 d1 d6 70 4d 4c 43 42 40 41 47 47 45 44 5b 0e 3c 2b 2b 3b 2f 5c 53 52 11 6f cd cf cc 6a 2b 2a 29 "
    "28 2e 2f 2d fd 3e 22 21";
const std::string endGamePlain =
    "d8 0f 00 00 01 00 00 00 3c 53 70 79 4d 61 69 6e 3e 00 08 00 00 00 45 6e 64 47 61 6d 65 00 8e 07 00 00";
const std::string endGameScrambled =
    "b3 65 69 68 6e 6e 6d 6c 5f 31 11 19 2a 07 0c 0a 45 7a 71 78 7f 7e 38 12 17 35 10 1d 12 76 fb 73 4b 4a";

// The file holds the fixture, and the fixture unscrambles to its plain form.
void expectStream(const TempDir& dir, const std::string& file, const std::string& scrambledHex,
                  const std::string& plainHex) {
    EXPECT_EQ(dir.read(file), hex(scrambledHex));
    EXPECT_EQ(scrambled(hex(scrambledHex)), hex(plainHex));
}

} // namespace

TEST(SaveLoadSystemTest, EmptyStreamsMatchTheirFixtures) {
    struct Case {
        u32 header;
        const char* plain;
        const char* scrambled;
    };
    const Case cases[] = {
        {4056, "d8 0f 00 00 00 00 00 00 e6 00 00 00", "b3 65 69 68 6f 6e 6d 6c 85 62 61 60"},
        {1, "01 00 00 00 00 00 00 00 01 00 00 00", "6a 6a 69 68 6f 6e 6d 6c 62 62 61 60"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        TempDir dir;
        SaveLoadSystem sys;
        sys.BeginSave(dir.file("empty.save"), c.header);
        EXPECT_EQ(sys.getState(), SaveLoadSystem::Saving);
        EXPECT_TRUE(sys.Finish());
        EXPECT_EQ(sys.getState(), SaveLoadSystem::Idle);
        expectStream(dir, "empty.save", c.scrambled, c.plain);
        EXPECT_TRUE(sys.Load(dir.file("empty.save"), c.header));
        EXPECT_EQ(sys.getState(), SaveLoadSystem::Loading);
        EXPECT_TRUE(sys.Finish());
    }
}

TEST(SaveLoadSystemTest, ProfilesFixtureWritesAndReadsBack) {
    TempDir dir;
    ProfilesEntity saved;
    saved.current = {"Tester", 0.75f, 0.3f, 0, 1, true, false};
    saved.list = {saved.current};
    SaveLoadSystem sys;
    sys.BeginSave(dir.file("RVH_profiles.dat"), 1);
    sys.SaveEntity(saved);
    ASSERT_TRUE(sys.Finish());
    expectStream(dir, "RVH_profiles.dat", profilesScrambled, profilesPlain);

    for (u32 header : {1u, SaveLoadSystem::AnyHeader}) {
        ProfilesEntity loaded;
        ASSERT_TRUE(sys.Load(dir.file("RVH_profiles.dat"), header));
        EXPECT_TRUE(sys.LoadEntity(loaded));
        EXPECT_TRUE(sys.Finish());
        EXPECT_EQ(loaded.current, saved.current);
        EXPECT_EQ(loaded.list, saved.list);
    }
}

TEST(SaveLoadSystemTest, EndGameFixtureWritesAndReadsBack) {
    TempDir dir;
    NodeEntity main("<SpyMain>", "EndGame");
    SaveLoadSystem sys;
    sys.BeginSave(dir.file("RVH_Tester.save"), 4056);
    sys.SaveEntity(main);
    ASSERT_TRUE(sys.Finish());
    expectStream(dir, "RVH_Tester.save", endGameScrambled, endGamePlain);

    NodeEntity loaded("<SpyMain>", "");
    ASSERT_TRUE(sys.Load(dir.file("RVH_Tester.save"), 4056));
    EXPECT_TRUE(sys.LoadEntity(loaded));
    EXPECT_EQ(loaded.text, "EndGame");
    EXPECT_TRUE(sys.Finish());
}

TEST(SaveLoadSystemTest, ScrambleKeyWrapsEvery255Bytes) {
    std::string zeros(511, '\0');
    std::string key = scrambled(zeros);
    EXPECT_EQ(u8(key[0]) ^ 0x6B, 0);
    EXPECT_EQ(u8(key[254]) ^ 0x6B, 254);
    EXPECT_EQ(u8(key[255]) ^ 0x6B, 0);
    EXPECT_EQ(u8(key[510]) ^ 0x6B, 0);
}

TEST(SaveLoadSystemTest, BadStreamsFailWithOneMessage) {
    std::string flipped = hex(endGameScrambled);
    flipped[20] ^= 0x01;
    struct Case {
        const char* what;
        std::string bytes;
        u32 header;
    };
    const Case cases[] = {
        {"flipped byte", flipped, 4056},
        {"appended byte", hex(endGameScrambled) + '\0', 4056},
        {"11 bytes", hex(endGameScrambled).substr(0, 11), SaveLoadSystem::AnyHeader},
        {"profiles read as a saved game", hex(profilesScrambled), 4056},
        {"size past the end", seal(hex("01 00 00 00 01 00 00 00 61 00 05 00 00 00 78 79")), 1},
        {"size field cut", seal(hex("01 00 00 00 01 00 00 00 61 00 05 00")), 1},
        {"name without NUL", seal(hex("01 00 00 00 01 00 00 00 61 62 63")), 1},
        {"more records than fit", seal(hex("01 00 00 00 02 00 00 00 61 00 00 00 00 00")), 1},
        {"huge count", seal(hex("01 00 00 00 ff ff ff ff 61 00 00 00 00 00")), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        dir.write("bad.save", c.bytes);
        LogCapture capture;
        SaveLoadSystem sys;
        EXPECT_FALSE(sys.Load(dir.file("bad.save"), c.header));
        EXPECT_EQ(capture.messages(), std::vector<std::string>{loadFailed(dir.file("bad.save"))});
        EXPECT_EQ(sys.getState(), SaveLoadSystem::Idle);
        NodeEntity record("a", "kept");
        EXPECT_FALSE(sys.LoadEntity(record));
        EXPECT_EQ(record.text, "kept");
    }
}

TEST(SaveLoadSystemTest, MissingFileFailsWithOneMessage) {
    TempDir dir;
    LogCapture capture;
    SaveLoadSystem sys;
    EXPECT_FALSE(sys.Load(dir.file("none.save"), 4056));
    // The file layer reports the open failure in its own words first.
    EXPECT_EQ(capture.messages().back(), loadFailed(dir.file("none.save")));
    EXPECT_EQ(sys.getState(), SaveLoadSystem::Idle);
}

TEST(SaveLoadSystemTest, ChildrenComeFirstAndEmptyRecordsAreFound) {
    TempDir dir;
    NodeEntity child1("c1", "x"), child2("c2", ""), parent("p", "p");
    parent.children = {&child1, &child2};
    SaveLoadEntity bare("e");
    SaveLoadSystem sys;
    sys.BeginSave(dir.file("tree.save"), 1);
    sys.SaveEntity(parent);
    sys.SaveEntity(bare);
    ASSERT_TRUE(sys.Finish());
    EXPECT_EQ(dir.read("tree.save"), seal(hex("01 00 00 00 04 00 00 00"
                                              "63 31 00 02 00 00 00 78 00"
                                              "63 32 00 01 00 00 00 00"
                                              "70 00 02 00 00 00 70 00"
                                              "65 00 00 00 00 00")));

    std::vector<std::string> trail;
    NodeEntity kid1("c1", "", &trail), kid2("c2", "-", &trail), top("p", "", &trail);
    top.children = {&kid1, &kid2};
    SaveLoadEntity empty("e");
    ASSERT_TRUE(sys.Load(dir.file("tree.save"), 1));
    EXPECT_TRUE(sys.LoadEntity(top));
    EXPECT_TRUE(sys.LoadEntity(empty));
    EXPECT_TRUE(sys.Finish());
    EXPECT_EQ(trail, (std::vector<std::string>{"c1", "c2", "p"}));
    EXPECT_EQ(kid1.text, "x");
    EXPECT_EQ(kid2.text, "");
    EXPECT_EQ(top.text, "p");
}

TEST(SaveLoadSystemTest, DuplicateNamesKeepTheFirstAndMissingRecordsLeaveState) {
    TempDir dir;
    NodeEntity first("d", "first"), second("d", "second");
    SaveLoadSystem sys;
    sys.BeginSave(dir.file("dup.save"), 1);
    sys.SaveEntity(first);
    sys.SaveEntity(second);
    ASSERT_TRUE(sys.Finish());

    NodeEntity loaded("d", ""), absent("absent", "mine");
    ASSERT_TRUE(sys.Load(dir.file("dup.save"), 1));
    EXPECT_TRUE(sys.LoadEntity(loaded));
    EXPECT_FALSE(sys.LoadEntity(absent));
    EXPECT_TRUE(sys.Finish());
    EXPECT_EQ(loaded.text, "first");
    EXPECT_EQ(absent.text, "mine");
}

TEST(SaveLoadSystemTest, CallsOutOfStateAreRefused) {
    TempDir dir;
    dir.write("game.save", hex(endGameScrambled));
    NodeEntity main("<SpyMain>", "Other");
    SaveLoadSystem sys(7);
    EXPECT_EQ(sys.getValue(), 7u);
    LogCapture capture;

    // Idle: there is neither a stream to append to nor records to read.
    sys.SaveEntity(main);
    EXPECT_FALSE(sys.LoadEntity(main));
    EXPECT_TRUE(capture.messages().empty());

    ASSERT_TRUE(sys.Load(dir.file("game.save"), 4056));
    sys.SaveEntity(main);
    EXPECT_TRUE(sys.Finish());
    EXPECT_EQ(dir.read("game.save"), hex(endGameScrambled));
    // The records went with the finished load.
    EXPECT_FALSE(sys.LoadEntity(main));
    EXPECT_EQ(main.text, "Other");

    sys.BeginSave(dir.file("game.save"), 4056);
    EXPECT_FALSE(sys.LoadEntity(main));
    EXPECT_EQ(main.text, "Other");
    EXPECT_TRUE(sys.Finish());
    EXPECT_EQ(capture.messages(), (std::vector<std::string>{
                                      "SaveLoadSystem: Error call to SaveEntity() in load progress!",
                                      "SaveLoadSystem: Error call to LoadEntity() in save progress!",
                                  }));
}

namespace {
// Every typed field, a tail shorter than a u32, and reads past the end of the loaded data.
struct FieldsEntity : SaveLoadEntity {
    FieldsEntity() : SaveLoadEntity("f") {}

    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override {
        pos = sys.writeU16(sys.writeU8(pos, 0xAB), 0x1234);
        pos = sys.writeI32(sys.writeU32(pos, 0xDEADBEEF), -2);
        pos = sys.writeBool(sys.writeF32(pos, 0.75f), true);
        return sys.writeU16(sys.writeString(pos, "hi"), 0xBEEF);
    }
    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override {
        pos = sys.readU16(sys.readU8(pos, u8v), u16v);
        pos = sys.readI32(sys.readU32(pos, u32v), i32v);
        pos = sys.readBool(sys.readF32(pos, f32v), flag);
        pos = sys.readU32(sys.readString(pos, text), tail);
        pos = sys.readString(pos, after);
        return sys.readU8(pos, last);
    }

    u8 u8v = 1, last = 1;
    u16 u16v = 1;
    u32 u32v = 1, tail = 1;
    i32 i32v = 1;
    f32 f32v = 1;
    bool flag = false;
    std::string text, after = "x";
};
} // namespace

TEST(SaveLoadSystemTest, FieldHelpersAreLittleEndianAndStopAtTheData) {
    TempDir dir;
    FieldsEntity saved;
    SaveLoadSystem sys;
    sys.BeginSave(dir.file("f.save"), 1);
    sys.SaveEntity(saved);
    ASSERT_TRUE(sys.Finish());
    std::string plain = scrambled(dir.read("f.save"));
    EXPECT_EQ(plain.substr(14, 21), hex("ab 34 12 ef be ad de fe ff ff ff 00 00 40 3f 01 68 69 00 ef be"));

    FieldsEntity loaded;
    ASSERT_TRUE(sys.Load(dir.file("f.save"), 1));
    EXPECT_TRUE(sys.LoadEntity(loaded));
    EXPECT_EQ(loaded.u8v, 0xAB);
    EXPECT_EQ(loaded.u16v, 0x1234);
    EXPECT_EQ(loaded.u32v, 0xDEADBEEF);
    EXPECT_EQ(loaded.i32v, -2);
    EXPECT_EQ(loaded.f32v, 0.75f);
    EXPECT_TRUE(loaded.flag);
    EXPECT_EQ(loaded.text, "hi");
    // Only two bytes are left before the checksum, which is not record data.
    EXPECT_EQ(loaded.tail, 0u);
    EXPECT_EQ(loaded.after, "");
    EXPECT_EQ(loaded.last, 0);
    EXPECT_TRUE(sys.Finish());
}

namespace {
struct BigEntity : SaveLoadEntity {
    explicit BigEntity(size_t n) : SaveLoadEntity("<big>"), bytes(n, 0x5A) {}
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override {
        u8* end = sys.write(pos, bytes.data(), bytes.size());
        refused = end == pos;
        return end;
    }
    std::vector<u8> bytes;
    bool refused = false;
};

// Header, count, "<big>" NUL, size field and checksum around the payload.
constexpr size_t FullPayload = SaveLoadSystem::Capacity - 8 - 6 - 4 - 4;
} // namespace

TEST(SaveLoadSystemTest, SaveBeyondCapacityIsRefusedAndKeepsTheOldFile) {
    TempDir dir;
    SaveLoadSystem sys;
    BigEntity full(FullPayload);
    sys.BeginSave(dir.file("big.save"), 1);
    sys.SaveEntity(full);
    ASSERT_TRUE(sys.Finish());
    EXPECT_FALSE(full.refused);
    std::string old = dir.read("big.save");
    EXPECT_EQ(old.size(), SaveLoadSystem::Capacity);

    // One byte more leaves no room for the checksum; five more do not fit the record itself.
    for (size_t extra : {1, 5}) {
        SCOPED_TRACE(extra);
        LogCapture capture;
        BigEntity over(FullPayload + extra);
        sys.BeginSave(dir.file("big.save"), 1);
        sys.SaveEntity(over);
        EXPECT_EQ(over.refused, extra == 5);
        EXPECT_FALSE(sys.Finish());
        EXPECT_EQ(sys.getState(), SaveLoadSystem::Idle);
        EXPECT_EQ(capture.messages(), std::vector<std::string>{"SaveLoadSystem: file \"" +
                                                               dir.file("big.save") + "\" save failed!"});
        EXPECT_TRUE(dir.read("big.save") == old);
    }
}

TEST(SaveLoadSystemTest, UnwritableFileFailsTheSave) {
    TempDir dir;
    std::string path = dir.file("no/such/folder/x.save");
    LogCapture capture;
    SaveLoadSystem sys;
    sys.BeginSave(path, 4056);
    EXPECT_FALSE(sys.Finish());
    EXPECT_EQ(capture.messages(),
              std::vector<std::string>{"SaveLoadSystem: file \"" + path + "\" save failed!"});
}

TEST(SaveLoadSystemTest, BytesLeftInRecordCountToTheRecordsEndNotTheStreams) {
    // Two records, "a" with 6 data bytes before "b" with 3: a reader of "a" must not see "b".
    struct Probe : SaveLoadEntity {
        using SaveLoadEntity::SaveLoadEntity;
        const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override {
            u32 value;
            left.push_back(sys.bytesLeftInRecord(pos));
            const u8* after = sys.readU32(pos, value);
            left.push_back(sys.bytesLeftInRecord(after));
            left.push_back(sys.bytesLeftInRecord(after + 2));
            left.push_back(sys.bytesLeftInRecord(after + 3)); // past the record
            left.push_back(sys.bytesLeftInRecord(pos - 1));   // before it
            begin = pos;
            return after;
        }
        std::vector<u32> left;
        const u8* begin = nullptr;
    };
    TempDir dir;
    dir.write("two.save", seal(hex("01 00 00 00 02 00 00 00 61 00 06 00 00 00 01 02 03 04 05 06 "
                                   "62 00 03 00 00 00 07 08 09")));
    SaveLoadSystem sys;
    ASSERT_TRUE(sys.Load(dir.file("two.save"), 1));
    Probe a("a"), b("b");
    ASSERT_TRUE(sys.LoadEntity(a));
    ASSERT_TRUE(sys.LoadEntity(b));
    EXPECT_EQ(a.left, (std::vector<u32>{6, 2, 0, 0, 0}));
    EXPECT_EQ(b.left, (std::vector<u32>{3, 0, 0, 0, 0}));
    // Outside a LoadSelf no record is open.
    EXPECT_EQ(sys.bytesLeftInRecord(a.begin), 0u);
    sys.Finish();
}

TEST(SaveLoadSystemTest, AMemoryRecordIsReadLikeARecordOfTheStream) {
    SaveLoadSystem sys;
    u8* data = sys.BeginMemoryRecord(6);
    ASSERT_NE(data, nullptr);
    const u8 bytes[] = {0x2A, 0, 0, 0, 'h', 0};
    std::memcpy(data, bytes, sizeof bytes);
    u32 value = 0;
    std::string text;
    const u8* pos = sys.readU32(data, value);
    EXPECT_EQ(sys.bytesLeftInRecord(pos), 2u);
    pos = sys.readString(pos, text);
    EXPECT_EQ(value, 0x2Au);
    EXPECT_EQ(text, "h");
    // Past its end the readers give zeros, as they do at a record's end.
    sys.readU32(pos, value);
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(sys.bytesLeftInRecord(pos), 0u);
    sys.Finish();
    EXPECT_EQ(sys.bytesLeftInRecord(data), 0u);
    EXPECT_NE(sys.BeginMemoryRecord(0), nullptr);
}
