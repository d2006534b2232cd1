#include "support/Golden.h"

#include "tk2v/platform/System.h"

#include <png.h>

#include <cstdlib>
#include <cstring>

u32 RgbaImage::pixel(u32 x, u32 y) const {
    const u8* p = &rgba[(size_t(y) * width + x) * 4];
    return u32(p[0]) << 24 | u32(p[1]) << 16 | u32(p[2]) << 8 | p[3];
}

bool readPng(const std::string& path, RgbaImage& out) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGBA;
    out.width = image.width;
    out.height = image.height;
    out.rgba.resize(PNG_IMAGE_SIZE(image));
    bool ok = png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr);
    png_image_free(&image);
    return ok;
}

bool writePng(const std::string& path, const RgbaImage& in) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = in.width;
    image.height = in.height;
    image.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&image, path.c_str(), 0, in.rgba.data(), 0, nullptr);
}

namespace {

bool updating() {
    const char* flag = std::getenv("RVH_UPDATE_GOLDEN");
    return flag && std::string(flag) == "1";
}

// The first pixel whose channels differ by more than the tolerance, or -1.
long firstMismatch(const RgbaImage& a, const RgbaImage& b, int tolerance) {
    for (size_t i = 0; i < a.rgba.size(); ++i)
        if (std::abs(int(a.rgba[i]) - int(b.rgba[i])) > tolerance)
            return long(i / 4);
    return -1;
}

} // namespace

::testing::AssertionResult matchesGolden(const std::string& name, const RgbaImage& image, int tolerance) {
    const std::string path = std::string(RVH_FIXTURES) + "/golden/" + name + ".png";
    if (updating())
        return writePng(path, image) ? ::testing::AssertionSuccess()
                                     : ::testing::AssertionFailure() << "cannot write " << path;
    RgbaImage golden;
    if (!readPng(path, golden))
        return ::testing::AssertionFailure() << "cannot read " << path << " (RVH_UPDATE_GOLDEN=1 writes it)";
    if (golden.width != image.width || golden.height != image.height)
        return ::testing::AssertionFailure() << name << ": size " << image.width << "x" << image.height
                                             << ", golden " << golden.width << "x" << golden.height;
    long at = firstMismatch(image, golden, tolerance);
    if (at < 0)
        return ::testing::AssertionSuccess();
    const std::string actual = platform::tempDir() + name + ".actual.png";
    writePng(actual, image);
    u32 x = u32(at) % image.width, y = u32(at) / image.width;
    return ::testing::AssertionFailure()
           << std::hex << name << ": pixel (" << std::dec << x << ", " << y << ") is 0x" << std::hex
           << image.pixel(x, y) << ", golden 0x" << golden.pixel(x, y) << "; see " << actual;
}
