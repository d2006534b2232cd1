#include "tk2v/gfx/aImage.h"
#include "support/Golden.h"
#include "support/ImageFiles.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/engine/TestEngine.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace imagefiles;

namespace {

constexpr u32 A8R8G8B8 = platform::FMT_A8R8G8B8;

class ImageTest : public ::testing::Test {
protected:
    void SetUp() override { server = &testGraphServer(); }

    std::string write(const std::string& name, const Bytes& bytes) {
        dir.write(name, text(bytes));
        return dir.file(name);
    }
    std::string writePng(const std::string& name, u32 width, u32 height, const std::vector<u32>& argb) {
        return write(name, png(width, height, argb));
    }

    // What `draw` leaves in the top-left size x size pixels of a frame cleared to black. Texels are
    // sampled without filtering, so that each shows as it is.
    RgbaImage frame(u32 size, const std::function<void()>& draw) {
        EXPECT_TRUE(server->beginScene());
        server->setLinearFilter(false);
        draw();
        RgbaImage image{size, size, {}};
        server->getDevice()->readBackBuffer({0, 0, i32(size), i32(size)}, image.rgba);
        server->endScene();
        return image;
    }

    TempDir dir;
    LogCapture logs;
    aGraphServer* server = nullptr;
};

// 0xRRGGBB of a read-back pixel.
u32 rgb(const RgbaImage& image, u32 x, u32 y) {
    return image.pixel(x, y) >> 8;
}

bool near(u32 a, u32 b, int tolerance) {
    for (int shift : {0, 8, 16, 24})
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

bool allBlack(const RgbaImage& image) {
    for (u32 y = 0; y < image.height; ++y)
        for (u32 x = 0; x < image.width; ++x)
            if (rgb(image, x, y) != 0)
                return false;
    return true;
}

struct FormatCase {
    u32 format;
    u32 first, second; // what the two picture pixels read back as
};

class ImageFormats : public ImageTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(ImageFormats, PixelsReadThroughTheFormatAndOnlyA8R8G8B8Locks) {
    const FormatCase c = GetParam();
    aImage image(writePng("two.png", 2, 1, {0x80FF8040, 0x20123456}), 0, c.format);
    ASSERT_TRUE(image.hasTexture());
    EXPECT_EQ(image.getPixel(0, 0), c.first);
    EXPECT_EQ(image.getPixel(1, 0), c.second);
    EXPECT_EQ(image.getPixel(2, 0), 0u);
    EXPECT_EQ(image.getPixel(-1, 0), 0u);

    u32* bits = nullptr;
    i32 pitch = 0;
    const bool locked = image.lock(&bits, &pitch, nullptr, false);
    EXPECT_EQ(locked, c.format == A8R8G8B8);
    if (locked) {
        EXPECT_EQ(pitch, 2);
        bits[1] = 0x11223344;
        image.unlock();
        EXPECT_EQ(image.getPixel(1, 0), 0x11223344u);
    } else {
        EXPECT_TRUE(logs.contains("Image format != A8R8G8B8, lock failed!"));
    }
}

// The image is loaded with HiColor on, so its 32-bit format is the one in use.
INSTANTIATE_TEST_SUITE_P(Formats, ImageFormats,
                         ::testing::Values(FormatCase{21, 0x80FF8040, 0x20123456},
                                           FormatCase{23, 0xFFF88040, 0xFF103450},
                                           FormatCase{25, 0xFFF88040, 0x00103050},
                                           FormatCase{26, 0x80F08040, 0x20103050}, FormatCase{22, 0, 0},
                                           FormatCase{0, 0, 0}));

TEST_F(ImageTest, LockOutsideTheImageFailsAndLeavesItUsable) {
    aImage image;
    image.create(4, 4);
    ASSERT_EQ(image.getWidth(), 4);
    u32* bits = nullptr;
    i32 pitch = 0;
    const aRect outside{2, 2, 4, 4};
    EXPECT_FALSE(image.lock(&bits, &pitch, &outside, false));
    EXPECT_TRUE(logs.contains("Image lock failed!"));
    EXPECT_FALSE(image.lock(nullptr, &pitch, nullptr, false));

    const aRect inside{1, 2, 3, 2};
    ASSERT_TRUE(image.lock(&bits, &pitch, &inside, false));
    EXPECT_EQ(pitch, 4);
    bits[pitch + 2] = 0xFFABCDEF; // row 3, column 3
    image.unlock();
    EXPECT_EQ(image.getPixel(3, 3), 0xFFABCDEFu);
    EXPECT_EQ(image.getPixel(0, 0), 0u);
}

TEST_F(ImageTest, ATextureLargerThanThePictureDrawsOnlyThePicture) {
    aImage::setPowerOfTwoTextures(true);
    aImage image(writePng("odd.png", 5, 3, std::vector<u32>(15, 0xFF00FF00)), A8R8G8B8, A8R8G8B8);
    aImage::setPowerOfTwoTextures(false);
    ASSERT_EQ(image.getWidth(), 5);
    ASSERT_EQ(image.getHeight(), 3);
    ASSERT_EQ(image.getTextureWidth(), 8);
    ASSERT_EQ(image.getTextureHeight(), 4);
    // Paint the spare texels, so that drawing them would show.
    platform::LockedRect locked;
    ASSERT_EQ(image.getTexture()->lock(nullptr, false, locked), platform::S_OK);
    for (u32 y = 0; y < 4; ++y)
        for (u32 x = (y < 3 ? 5 : 0); x < 8; ++x)
            static_cast<u32*>(locked.bits)[y * 8 + x] = 0xFFFF0000;
    image.getTexture()->unlock();

    RgbaImage plain = frame(16, [&] { image.drawAt(4, 4); });
    for (u32 y = 0; y < 16; ++y)
        for (u32 x = 0; x < 16; ++x)
            EXPECT_EQ(rgb(plain, x, y), x >= 4 && x < 9 && y >= 4 && y < 7 ? 0x00FF00u : 0u) << x << "," << y;

    // The glow is blurred from the picture and its transparent grey margin alone: red and blue
    // stay equal wherever it shows.
    aImage::BloomParam bloom;
    bloom.radius = 2;
    ASSERT_TRUE(image.setEffect(aImage::EFFECT_BLOOM, &bloom));
    RgbaImage glowing = frame(16, [&] { image.drawAt(4, 4); });
    EXPECT_NE(rgb(glowing, 9, 5), 0u);
    for (u32 y = 0; y < 16; ++y)
        for (u32 x = 0; x < 16; ++x) {
            const u32 p = rgb(glowing, x, y);
            EXPECT_NEAR(int(p >> 16), int(p & 0xFF), 1) << x << "," << y;
        }
}

TEST_F(ImageTest, ColourIsModulatedByTheGlobalColour) {
    aImage image(writePng("white.png", 2, 2, std::vector<u32>(4, 0xFFFFFFFF)), A8R8G8B8, A8R8G8B8);
    RgbaImage drawn = frame(4, [&] {
        server->setColor(1.0f, 0.5f, 1.0f, 1.0f);
        image.drawAt(0, 0, 0xFFFF8040);
    });
    EXPECT_TRUE(near(rgb(drawn, 1, 1), 0xFF3F40, 1)) << std::hex << rgb(drawn, 1, 1);
}

TEST_F(ImageTest, CopiesShareARecordUntilOneLoadsOrClears) {
    const std::string red = writePng("red.png", 2, 2, std::vector<u32>(4, 0xFFFF0000));
    const std::string blue = writePng("blue.png", 3, 1, std::vector<u32>(3, 0xFF0000FF));
    aImage a(red, A8R8G8B8, A8R8G8B8);
    aImage b(a), c, d(a);
    c = a;
    c = c;
    EXPECT_EQ(b.getTexture(), a.getTexture());
    EXPECT_EQ(c.getTexture(), a.getTexture());

    b.load(blue, A8R8G8B8, A8R8G8B8);
    EXPECT_EQ(b.getWidth(), 3);
    EXPECT_EQ(b.getPixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(a.getWidth(), 2);
    EXPECT_EQ(a.getPixel(1, 1), 0xFFFF0000u);

    c.clear();
    EXPECT_FALSE(c.hasTexture());
    EXPECT_EQ(c.getPixel(0, 0), 0u);
    EXPECT_EQ(a.getFileName(), red);
    EXPECT_EQ(d.getPixel(0, 0), 0xFFFF0000u);
    d = b;
    EXPECT_EQ(d.getPixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(a.getPixel(0, 0), 0xFFFF0000u);
}

// A valid file with its header's size replaced; `offset` is where the width is, the height follows.
Bytes resized(Bytes file, size_t offset, u32 width, u32 height, bool bigEndian, size_t crcFrom = 0) {
    for (int i = 0; i < 4; ++i) {
        file[offset + size_t(i)] = u8((bigEndian ? width >> (24 - 8 * i) : width >> (8 * i)));
        file[offset + 4 + size_t(i)] = u8((bigEndian ? height >> (24 - 8 * i) : height >> (8 * i)));
    }
    if (crcFrom) {
        // PNG's IHDR and JNG's JHDR: the CRC follows the 13 or 16 data bytes after the type.
        const size_t dataEnd = crcFrom + 4 + (file[crcFrom - 1] == 13 ? 13 : 16);
        u32 crc = u32(crc32(0, file.data() + crcFrom, uInt(dataEnd - crcFrom)));
        for (int i = 0; i < 4; ++i)
            file[dataEnd + size_t(i)] = u8(crc >> (24 - 8 * i));
    }
    return file;
}

Bytes firstHalf(Bytes file) {
    file.resize(file.size() / 2);
    return file;
}

TEST_F(ImageTest, BadFilesLogAndGiveAnEmptyImageThatDrawsNothing) {
    const std::vector<u32> pixels(16 * 8, 0xFFFFFFFF);
    const Bytes goodPng = png(16, 8, pixels), goodBmp = bmp(16, 8, pixels),
                goodJng = jng(16, 8, pixels, false);
    struct Case {
        std::string name;
        Bytes bytes;
        bool written;
    };
    const std::vector<Case> cases = {
        {"missing.png", {}, false},
        {"empty.png", {}, true},
        {"truncated.png", firstHalf(goodPng), true},
        {"huge.png", resized(goodPng, 16, 100000, 100000, true, 12), true},
        {"truncated.jpg", firstHalf(jpeg(16, 8, pixels)), true},
        {"truncated.bmp", Bytes(goodBmp.begin(), goodBmp.begin() + 60), true},
        {"huge.bmp", resized(goodBmp, 18, 60000, 60000, false), true},
        {"truncated.jng", firstHalf(goodJng), true},
        {"signature.jng", Bytes(goodJng.begin(), goodJng.begin() + 4), true},
        {"huge.jng", resized(goodJng, 16, 100000, 100000, true, 12), true},
        {"zero.jng", resized(goodJng, 16, 0, 0, true, 12), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = c.written ? write(c.name, c.bytes) : dir.file(c.name);
        logs.clear();
        aImage image(path, A8R8G8B8, A8R8G8B8);
        EXPECT_FALSE(image.hasTexture());
        EXPECT_EQ(image.getWidth(), 0);
        EXPECT_EQ(image.getPixel(0, 0), 0u);
        const bool isJngFile = c.name.ends_with(".jng") && c.bytes.size() >= 4;
        EXPECT_EQ(logs.contains("aImage::createFromMNG - mnglib init/read error!"), isJngFile);
        EXPECT_TRUE(logs.contains("Texture \"" + path + "\" load failed (" +
                                  (isJngFile ? "E_FAIL" : "D3DXERR_INVALIDDATA") + ")"));
        EXPECT_TRUE(allBlack(frame(8, [&] {
            image.drawAt(0, 0);
            image.draw(0, 0, 0, 0, 8, 8, 0xFFFFFFFF);
        })));
    }
}

TEST_F(ImageTest, JngColourAndAlphaDecode) {
    std::vector<u32> pixels;
    for (u32 y = 0; y < 8; ++y)
        for (u32 x = 0; x < 16; ++x)
            pixels.push_back(u32(x * 16 + 15) << 24 | (x < 8 ? 0xC02040 : 0x30A0F0));
    for (bool alpha : {false, true}) {
        SCOPED_TRACE(alpha);
        aImage image(write("picture.jng", jng(16, 8, pixels, alpha)), A8R8G8B8, A8R8G8B8);
        ASSERT_TRUE(image.hasTexture());
        EXPECT_EQ(image.getWidth(), 16);
        EXPECT_EQ(image.getHeight(), 8);
        for (u32 x : {1u, 6u, 9u, 14u}) {
            const u32 expected = alpha ? pixels[x] : 0xFF000000 | pixels[x];
            EXPECT_TRUE(near(image.getPixel(i32(x), 3), expected, 3))
                << x << " " << std::hex << image.getPixel(i32(x), 3);
        }
    }
    // The 16-bit formats go through the same conversions as every other picture.
    aImage packed(write("packed.jng", jng(16, 8, pixels, true)), 0, 26);
    EXPECT_EQ(packed.getPixel(15, 0) >> 28, 0xFu);
    EXPECT_EQ(packed.getPixel(0, 0) >> 24, 0x00u);
}

struct GrayCase {
    u32 format;
    u32 first, second; // the two pixels converted in place
    u32 drawn;         // the first as the GPU widens it, drawn from the grayscale copy
};

class ImageGrayScale : public ImageTest, public ::testing::WithParamInterface<GrayCase> {};

TEST_P(ImageGrayScale, AverageOfTheChannelsKeepsAlpha) {
    const GrayCase c = GetParam();
    const std::string file = writePng("colour.png", 2, 1, {0xFF102030, 0x80FFFF00});
    aImage copy(file, 0, c.format);
    ASSERT_TRUE(copy.setEffect(aImage::EFFECT_GRAYSCALE));
    // The normal texture stays in colour; the drawn one is grey.
    EXPECT_EQ(copy.getPixel(0, 0) & 0xFF, 0x30u);
    RgbaImage drawn = frame(4, [&] { copy.drawAt(0, 0); });
    EXPECT_TRUE(near(rgb(drawn, 0, 0), c.drawn, 1)) << std::hex << rgb(drawn, 0, 0);

    aImage inPlace(file, 0, c.format);
    aImage::GrayScaleParam params;
    params.inPlace = true;
    ASSERT_TRUE(inPlace.setEffect(aImage::EFFECT_GRAYSCALE, &params));
    EXPECT_EQ(inPlace.getPixel(0, 0), c.first);
    EXPECT_EQ(inPlace.getPixel(1, 0), c.second);
}

INSTANTIATE_TEST_SUITE_P(Formats, ImageGrayScale,
                         ::testing::Values(GrayCase{21, 0xFF202020, 0x80AAAAAA, 0x202020},
                                           GrayCase{26, 0xF0202020, 0x80A0A0A0, 0x222222}));

TEST_F(ImageTest, EffectSelection) {
    aImage empty;
    EXPECT_FALSE(empty.setEffect(aImage::EFFECT_NORMAL));
    EXPECT_TRUE(empty.setEffect(7));
    EXPECT_EQ(empty.getEffect(), 7u);

    aImage image(writePng("dot.png", 4, 4, std::vector<u32>(16, 0xFFFFFFFF)), A8R8G8B8, A8R8G8B8);
    // Blur without a radius has nothing to show; normal brings the picture back.
    ASSERT_TRUE(image.setEffect(aImage::EFFECT_BLUR));
    EXPECT_TRUE(allBlack(frame(8, [&] { image.drawAt(0, 0); })));
    ASSERT_TRUE(image.setEffect(aImage::EFFECT_NORMAL));
    EXPECT_EQ(rgb(frame(8, [&] { image.drawAt(0, 0); }), 1, 1), 0xFFFFFFu);
    // A copy starts out normal.
    aImage::BloomParam radius;
    radius.radius = 2;
    ASSERT_TRUE(image.setEffect(aImage::EFFECT_BLUR, &radius));
    aImage copy(image);
    EXPECT_EQ(copy.getEffect(), 0u);
    EXPECT_EQ(rgb(frame(8, [&] { copy.drawAt(0, 0); }), 0, 0), 0xFFFFFFu);
    EXPECT_LT(rgb(frame(8, [&] { image.drawAt(0, 0); }), 0, 0) & 0xFF, 0xFFu);
}

TEST_F(ImageTest, WithoutAGraphServerNothingLoads) {
    const std::string file = writePng("dot.png", 1, 1, {0xFFFFFFFF});
    testApplication().setGraphServer(nullptr);
    aImage image(file, A8R8G8B8, A8R8G8B8);
    testApplication().setGraphServer(server);
    EXPECT_FALSE(image.hasTexture());
    EXPECT_TRUE(logs.contains("aImage. Error, aGraphServer object not created!"));
}

// A white and orange square inside a transparent picture, so the glow shows around it.
class ImageGolden : public ImageTest {
protected:
    std::string squareFile() {
        std::vector<u32> pixels;
        for (u32 y = 0; y < 12; ++y)
            for (u32 x = 0; x < 12; ++x)
                pixels.push_back(x >= 3 && x < 9 && y >= 3 && y < 9 ? (x < 6 ? 0xFFFFFFFF : 0xFFFF8000) : 0);
        return writePng("square.png", 12, 12, pixels);
    }
    aImage bloomingSquare() {
        aImage image(squareFile(), A8R8G8B8, A8R8G8B8);
        aImage::BloomParam bloom;
        bloom.radius = 3;
        bloom.intensity = 0.75f;
        EXPECT_TRUE(image.setEffect(aImage::EFFECT_BLOOM, &bloom));
        return image;
    }
};

TEST_F(ImageGolden, BloomCentresTheWholeGlowOnThePicture) {
    aImage image = bloomingSquare();
    ASSERT_EQ(image.getEffect(), aImage::EFFECT_BLOOM);
    EXPECT_TRUE(matchesGolden("image_bloom", frame(24, [&] { image.drawAt(6, 6); })));
}

TEST_F(ImageGolden, BloomWithTheGlowClipStaysUnderTheSourceRectangle) {
    aImage image = bloomingSquare();
    const aRect left{0, 0, 8, 12};
    EXPECT_TRUE(matchesGolden("image_bloom_clip", frame(24, [&] { image.drawXY(6, 6, left); })));
}

TEST_F(ImageGolden, ScaleAndRotationCentre) {
    std::vector<u32> pixels;
    for (u32 y = 0; y < 4; ++y)
        for (u32 x = 0; x < 8; ++x)
            pixels.push_back(x < 4 ? (y < 2 ? 0xFFFF0000 : 0xFF00FF00) : (y < 2 ? 0xFF0000FF : 0xFFFFFFFF));
    aImage image(writePng("quarters.png", 8, 4, pixels), A8R8G8B8, A8R8G8B8);
    const f32 scale[2] = {2.0f, 1.5f}, centre[2] = {2.0f, 0.0f};
    EXPECT_TRUE(matchesGolden("image_scaled_rotated", frame(32, [&] {
                                  image.drawAtF(8.0f, 6.0f, 0xFFFFFFFF, scale, 0.6f, centre);
                              })));
}

} // namespace
