#include "BasicsRoomKit.h"
#include "support/LogCapture.h"
#include "support/game/SaveRecords.h"

#include <cstring>

namespace {

using namespace std::string_literals;

// The room's layer: a 64 x 32 page at (100, 150), a 4 x 4 brush, limit 200; a frame of 0.05 s adds
// 2 x 0.05 x 255 = 25 alpha, the first spot of a stroke 51.
class Paint : public BasicsRoomTest {
protected:
    static constexpr u32 Header = 37, W = 64, H = 32;

    cPaintLayer& layer() { return room->paint; }
    std::string record() {
        host.save = [this](SaveLoadSystem& sys, u8* pos) { return layer().SaveSelf(sys, pos); };
        return records.save(host);
    }
    bool load(const std::string& bytes) {
        host.load = [this](SaveLoadSystem& sys, const u8* pos) { return layer().LoadSelf(rooms, sys, pos); };
        return records.load(host, bytes);
    }
    // Texel alphas, rows top-down.
    std::vector<u8> alphas() {
        const std::string bytes = record();
        EXPECT_EQ(bytes.size(), Header + W * H);
        return std::vector<u8>(bytes.begin() + Header, bytes.end());
    }
    static u8 at(const std::vector<u8>& a, u32 x, u32 y) { return a[y * W + x]; }

    SaveRecords records;
    HostEntity host;
};

TEST_F(Paint, AClickWithoutMovementPaintsOneSpotAtDoubleStrength) {
    frame(120, 160, {.down = {0}});
    EXPECT_TRUE(room->painted);
    frame(120, 160, Input{});
    EXPECT_FALSE(room->painted);
    const std::vector<u8> a = alphas();
    for (u32 y = 0; y < H; ++y)
        for (u32 x = 0; x < W; ++x) {
            const bool spot = x >= 20 && x < 24 && y >= 10 && y < 14;
            ASSERT_EQ(at(a, x, y), spot ? 51 : 0) << x << ", " << y;
        }
    EXPECT_EQ(layer().GetPaintedAmount(), 16 * 51);
    frame(120, 160, {.up = {0}});
    EXPECT_FALSE(room->painted);
    // Released: the next press starts a new stroke.
    frame(120, 160, {.down = {0}});
    EXPECT_EQ(at(alphas(), 20, 10), 102);
}

TEST_F(Paint, AQuickStrokeLeavesNoGapsAndNothingPassesTheLimit) {
    frame(90, 160, {.down = {0}});
    EXPECT_FALSE(room->painted);
    frame(170, 171, Input{});
    EXPECT_TRUE(room->painted);
    std::vector<u8> a = alphas();
    for (u32 x = 0; x < W; ++x) {
        u32 column = 0;
        for (u32 y = 0; y < H; ++y)
            column += at(a, x, y);
        EXPECT_GT(column, 0u) << x;
    }
    for (int i = 0; i < 40; ++i)
        frame(i % 2 ? 90 : 170, i % 2 ? 171 : 160, Input{});
    a = alphas();
    EXPECT_EQ(*std::max_element(a.begin(), a.end()), 200);
    const f32 full = layer().GetPaintedAmount();
    // Along the same path again: every texel it reaches is at the limit.
    frame(170, 160, Input{});
    frame(90, 171, Input{});
    EXPECT_TRUE(room->painted);
    EXPECT_EQ(layer().GetPaintedAmount(), full);
    u32 sum = 0;
    for (u8 alpha : a)
        sum += alpha;
    EXPECT_EQ(layer().GetPaintedAmount(), f32(sum));
}

TEST_F(Paint, TheRecordRestoresTheLayerTexelByTexel) {
    frame(105, 152, {.down = {0}});
    frame(150, 175, Input{});
    frame(150, 175, {.up = {0}});
    const std::string painted = record();
    std::vector<u8> expected(painted.begin() + Header, painted.end());
    // Last point gone with the release; the rest of the fields as set up.
    std::string header;
    for (u32 v : {0xFFFFFFFFu, 0xFFFFFFFFu})
        SaveRecords::putU32(header, v);
    header += "\x6E\0\x9B\0\4\0\4\0\x64\0\x96\0\x40\0\x20\0\x99\x66\x33\xFF"s;
    EXPECT_EQ(painted.substr(0, header.size()), header);
    f32 speed = 0;
    std::memcpy(&speed, painted.data() + 28, 4);
    EXPECT_EQ(speed, 2.0f);
    EXPECT_EQ(u8(painted[Header - 1]), 200);

    layer().Reset();
    EXPECT_EQ(layer().GetPaintedAmount(), 0);
    EXPECT_EQ(alphas(), std::vector<u8>(W * H, 0));
    ASSERT_TRUE(load(painted));
    EXPECT_EQ(host.leftAfterLoad, 0u);
    EXPECT_EQ(alphas(), expected);
    EXPECT_EQ(record(), painted);
}

TEST_F(Paint, APageOfAnotherSizeIsPassedOverAndAnOversizedOneHasNoTexture) {
    const std::string before = record();
    std::string other =
        before.substr(0, 20) + "\x08\0\x02\0"s + before.substr(24, Header - 24) + std::string(16, '\x7F');
    LogCapture capture;
    ASSERT_TRUE(load(other));
    EXPECT_EQ(host.leftAfterLoad, 0u);
    EXPECT_EQ(capture.messages(),
              std::vector<std::string>{
                  "cPaintLayer::LoadSelf(). The saved page of 8 x 2 does not fit the layer of 64 x 32"});
    EXPECT_EQ(record(), before);
    // More texels than the record holds: one line, the record ends.
    capture.clear();
    ASSERT_TRUE(load(before.substr(0, Header + 10)));
    EXPECT_EQ(host.leftAfterLoad, 0u);
    EXPECT_EQ(capture.messages().size(), 1u);

    capture.clear();
    layer().SetRect({0, 0, 2049, 16});
    EXPECT_EQ(capture.messages(),
              std::vector<std::string>{
                  "cPaintLayer::SetRect(). A page of 2049 x 16 is larger than a texture may be"});
    EXPECT_EQ(layer().GetRect(), (aRect{0, 0, 0, 0}));
    layer().Reset();
    frame(10, 10, {.down = {0}});
    EXPECT_FALSE(room->painted);
    EXPECT_EQ(record().size(), Header);
}

TEST_F(Paint, AnAmountPastAByteKeepsItsLowByte) {
    // 30 x 0.1 x 255 = 765, of which 253 is left.
    layer().Setup(nullptr, 0, 0, 1, 1, 0xFF000000, 255, 30);
    frame(120, 160, {.down = {0}});
    EXPECT_EQ(at(alphas(), 20, 10), 253);
    EXPECT_EQ(layer().GetPaintedAmount(), 253);
}

} // namespace
