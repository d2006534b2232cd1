#include "BenchRatio.h"
#include "support/ImageFiles.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/platform/ImageDecode.h"

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <jpeglib.h>
#include <png.h>

// The engine's decoder, and a whole aImage load (file read, decode, texture made and sent to the GPU),
// beside the bare libraries decoding the same bytes into a plain buffer, both in their native RGB and
// in the B, G, R, A layout the engine's decoder produces, and beside the floor of a load: that bare
// decode followed by a bare upload into a fresh texture.

namespace {

using Bytes = std::vector<u8>;

constexpr u32 kWidth = 1024, kHeight = 768;

// Photo-like: soft gradients and shapes under some noise, so neither codec finds it trivial.
std::vector<u32> photo() {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> noise(-10, 10);
    std::vector<u32> argb(size_t(kWidth) * kHeight);
    for (u32 y = 0; y < kHeight; ++y)
        for (u32 x = 0; x < kWidth; ++x) {
            const double wave = 40 * std::sin(x * 0.02) * std::cos(y * 0.015);
            const int base[3] = {int(x * 200 / kWidth + wave), int(y * 220 / kHeight - wave),
                                 int(90 + (x + y) * 100 / (kWidth + kHeight))};
            u32 pixel = 0xFF000000;
            for (int c = 0; c < 3; ++c)
                pixel |= u32(std::clamp(base[c] + noise(rng), 0, 255)) << (16 - 8 * c);
            argb[size_t(y) * kWidth + x] = pixel;
        }
    return argb;
}

const Bytes& pngFile() {
    static const Bytes file = imagefiles::png(kWidth, kHeight, photo(), false);
    return file;
}

const Bytes& jpegFile() {
    static const Bytes file = imagefiles::jpeg(kWidth, kHeight, photo(), 90);
    return file;
}

struct MemoryRead {
    const Bytes* file;
    size_t pos;
};

void readBytes(png_structp png, png_bytep dst, size_t size) {
    auto* src = static_cast<MemoryRead*>(png_get_io_ptr(png));
    std::memcpy(dst, src->file->data() + src->pos, size);
    src->pos += size;
}

struct Size {
    u32 width = 0, height = 0;
};

template <bool Bgra> Size rawPng(const Bytes& file, Bytes& rgb) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    MemoryRead src{&file, 0};
    png_set_read_fn(png, &src, readBytes);
    png_read_info(png, info);
    if (Bgra) {
        png_set_bgr(png);
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    }
    const u32 w = png_get_image_width(png, info), h = png_get_image_height(png, info), pixel = Bgra ? 4 : 3;
    rgb.resize(size_t(w) * h * pixel);
    for (u32 y = 0; y < h; ++y)
        png_read_row(png, rgb.data() + size_t(y) * w * pixel, nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return {w, h};
}

template <bool Bgra> Size rawJpeg(const Bytes& file, Bytes& rgb) {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), file.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = Bgra ? JCS_EXT_BGRA : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const size_t pitch = size_t(cinfo.output_width) * cinfo.output_components;
    rgb.resize(pitch * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = rgb.data() + cinfo.output_scanline * pitch;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    const Size size{cinfo.output_width, cinfo.output_height};
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return size;
}

void decodeWithEngine(benchmark::State& state, const Bytes& file) {
    platform::DecodedImage out;
    for (auto _ : state) {
        if (platform::decodeImage(file.data(), u32(file.size()), out) != platform::S_OK)
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(out.argb.data());
    }
    state.counters["file_kb"] = double(file.size()) / 1024;
}

using RawDecode = Size (*)(const Bytes&, Bytes&);

void decodeRaw(benchmark::State& state, const Bytes& file, RawDecode decode) {
    Bytes rgb;
    for (auto _ : state) {
        decode(file, rgb);
        benchmark::DoNotOptimize(rgb.data());
    }
}

// The graph server that aImage needs, on a hidden window, and the files it loads.
struct Engine {
    aApplication app;
    std::unique_ptr<aGraphServer> graph =
        std::make_unique<aGraphServer>(kWidth, kHeight, false, true, "bench", 0, false);
    std::string folder;

    Engine() {
        char name[] = "/tmp/image_decode_XXXXXX";
        if (mkdtemp(name))
            folder = name;
    }
    ~Engine() {
        for (const char* file : {"/photo.png", "/photo.jpg"})
            std::remove((folder + file).c_str());
        std::remove(folder.c_str());
    }
    std::string write(const char* name, const Bytes& bytes) const {
        std::ofstream(folder + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return folder + name;
    }
};

Engine& engine() {
    static Engine e;
    return e;
}

void loadWithImage(benchmark::State& state, const char* name, const Bytes& file) {
    if (engine().graph->getFatalError() || engine().folder.empty())
        return state.SkipWithError("no graph server");
    const std::string path = engine().write(name, file);
    aImage image;
    for (auto _ : state) {
        image.load(path, platform::FMT_A8R8G8B8, platform::FMT_A8R8G8B8);
        if (!image.hasTexture())
            state.SkipWithError("load failed");
    }
}

// The floor of a load: the bare library decoding into B, G, R, A, as above, then the pixels sent to a
// fresh texture as the engine sends them (unsized RGBA from B, G, R, A words), the texture of the
// round before deleted once the new one is made, as a reload does.
void decodeAndUpload(benchmark::State& state, const Bytes& file, RawDecode decode) {
    if (engine().graph->getFatalError())
        return state.SkipWithError("no graph server");
    Bytes pixels;
    GLuint previous = 0;
    for (auto _ : state) {
        const Size size = decode(file, pixels);
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, GLsizei(size.width), GLsizei(size.height), 0, GL_BGRA,
                     GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glDeleteTextures(1, &previous);
        previous = texture;
    }
    glDeleteTextures(1, &previous);
}

void BM_Png_aImageLoad(benchmark::State& state) {
    loadWithImage(state, "/photo.png", pngFile());
}
void BM_Jpeg_aImageLoad(benchmark::State& state) {
    loadWithImage(state, "/photo.jpg", jpegFile());
}

void BM_Png_decodeImage(benchmark::State& state) {
    decodeWithEngine(state, pngFile());
}
void BM_Png_rawLibpng(benchmark::State& state) {
    decodeRaw(state, pngFile(), rawPng<false>);
}
void BM_Png_rawLibpngBgra(benchmark::State& state) {
    decodeRaw(state, pngFile(), rawPng<true>);
}
void BM_Png_rawDecodeAndUpload(benchmark::State& state) {
    decodeAndUpload(state, pngFile(), rawPng<true>);
}
void BM_Jpeg_decodeImage(benchmark::State& state) {
    decodeWithEngine(state, jpegFile());
}
void BM_Jpeg_rawLibjpeg(benchmark::State& state) {
    decodeRaw(state, jpegFile(), rawJpeg<false>);
}
void BM_Jpeg_rawLibjpegBgra(benchmark::State& state) {
    decodeRaw(state, jpegFile(), rawJpeg<true>);
}
void BM_Jpeg_rawDecodeAndUpload(benchmark::State& state) {
    decodeAndUpload(state, jpegFile(), rawJpeg<true>);
}

// The machine may be shared: repetitions in random order, compared by their medians, keep a busy
// moment from landing on one side only.
void timing(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->UseRealTime();
}
BENCHMARK(BM_Png_aImageLoad)->Apply(timing);
BENCHMARK(BM_Png_decodeImage)->Apply(timing);
BENCHMARK(BM_Png_rawLibpng)->Apply(timing);
BENCHMARK(BM_Png_rawLibpngBgra)->Apply(timing);
BENCHMARK(BM_Png_rawDecodeAndUpload)->Apply(timing);
BENCHMARK(BM_Jpeg_aImageLoad)->Apply(timing);
BENCHMARK(BM_Jpeg_decodeImage)->Apply(timing);
BENCHMARK(BM_Jpeg_rawLibjpeg)->Apply(timing);
BENCHMARK(BM_Jpeg_rawLibjpegBgra)->Apply(timing);
BENCHMARK(BM_Jpeg_rawDecodeAndUpload)->Apply(timing);

} // namespace

int main(int argc, char** argv) {
    auto figures = bench::run(argc, argv);
    for (const auto& [kind, bare] :
         {std::pair{"Png", "rawLibpngBgra"}, std::pair{"Jpeg", "rawLibjpegBgra"}}) {
        auto get = [&](const char* name) { return figures[std::string("BM_") + kind + "_" + name]; };
        const auto load = get("aImageLoad"), decode = get("decodeImage"), raw = get(bare),
                   floor = get("rawDecodeAndUpload");
        if (load.cpu > 0 && decode.cpu > 0 && raw.cpu > 0 && floor.cpu > 0)
            std::printf(
                "%s, wall (CPU) ms: aImage load %.2f (%.2f), decodeImage %.2f (%.2f), bare decode %.2f "
                "(%.2f), bare decode + upload %.2f (%.2f); load / (decode + upload) %.2f (%.2f), goal <= "
                "1.1; decodeImage / bare decode %.2f (%.2f)\n",
                kind, load.wall, load.cpu, decode.wall, decode.cpu, raw.wall, raw.cpu, floor.wall, floor.cpu,
                load.wall / floor.wall, load.cpu / floor.cpu, decode.wall / raw.wall, decode.cpu / raw.cpu);
    }
    return 0;
}
