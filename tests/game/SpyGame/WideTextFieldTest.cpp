#include "game/SpyGame/WideTextField.h"
#include "support/game/SaveRecords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WideTextField, TextsComeBackAndTheFieldAfterThemStaysInPlace) {
    const struct {
        std::wstring text, loaded;
    } cases[] = {
        {L"", L""},
        {L"\u00dcber \U0001D11E", L"\u00dcber \U0001D11E"},
        {std::wstring(L"a\0b", 3), L"a\uFFFDb"}, // a 0 would end the text early
        {std::wstring(1, wchar_t(0x110000)), L"\uFFFD"},
    };
    for (const auto& c : cases) {
        HostEntity host;
        host.save = [&](SaveLoadSystem& sys, u8* pos) {
            return sys.writeU32(SaveWideText(sys, pos, c.text), 77);
        };
        SaveRecords records;
        const std::string record = records.save(host);
        std::wstring text;
        u32 after = 0;
        host.load = [&](SaveLoadSystem& sys, const u8* pos) {
            return sys.readU32(LoadWideText(sys, pos, text), after);
        };
        ASSERT_TRUE(records.load(host, record));
        EXPECT_EQ(text, c.loaded);
        EXPECT_EQ(after, 77u);
        EXPECT_EQ(host.leftAfterLoad, 0u);
    }
}

TEST(WideTextField, LoneHalvesStayAndACutRecordEndsTheText) {
    const struct {
        const char* units;
        std::wstring loaded;
    } cases[] = {
        {"3d d8 78 00 00 00", L"\xD83Dx"},
        {"00 de 00 00", L"\xDE00"},
        {"41 00 42 00", L"AB"},
        {"41", L""},
    };
    for (const auto& c : cases) {
        HostEntity host;
        std::wstring text = L"old";
        host.load = [&](SaveLoadSystem& sys, const u8* pos) { return LoadWideText(sys, pos, text); };
        SaveRecords records;
        ASSERT_TRUE(records.load(host, SaveRecords::hex(c.units))) << c.units;
        EXPECT_EQ(text, c.loaded) << c.units;
        EXPECT_EQ(host.leftAfterLoad, 0u) << c.units;
    }
}

} // namespace
