#include "tk2v/gfx/aImage.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/JngDecode.h"
#include "tk2v/gfx/StackBlur.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/ImageDecode.h"
#include "tk2v/platform/SpriteBatch.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

using platform::Format;
using platform::Result;

struct aImage::Slot {
    std::unique_ptr<platform::Texture> texture;
    u16 width = 0, height = 0;               // of the picture
    u16 textureWidth = 0, textureHeight = 0; // of level 0, which may be larger

    void set(std::unique_ptr<platform::Texture> t, u32 pictureWidth, u32 pictureHeight) {
        textureWidth = u16(t->width());
        textureHeight = u16(t->height());
        texture = std::move(t);
        width = u16(pictureWidth);
        height = u16(pictureHeight);
    }
    // A texture made from a picture knows the picture's size.
    void set(std::unique_ptr<platform::Texture> t) {
        const u32 pictureWidth = t->imageWidth(), pictureHeight = t->imageHeight();
        set(std::move(t), pictureWidth, pictureHeight);
    }
    void reset() { *this = Slot{}; }
};

struct aImage::Record {
    // Effects whose parameters exist, in the order they were first chosen; replayed after a reload.
    std::vector<i32> appliedEffects;
    Slot normal, blurred, grayscale;
    std::unique_ptr<BloomParam> bloom;
    std::unique_ptr<GrayScaleParam> grayScale;
    u32 format16 = platform::FMT_UNKNOWN, format32 = platform::FMT_UNKNOWN;
    // Wider than the handful of copies an image usually has, so that no number of copies can wrap
    // it round and free a record still in use.
    u32 refCount = 1;
    std::string fileName;
    u32 createdWidth = 0, createdHeight = 0;
    bool created = false;
};

namespace {

bool convertible(Format f) {
    return f == platform::FMT_A8R8G8B8 || f == platform::FMT_R5G6B5 || f == platform::FMT_A1R5G5B5 ||
           f == platform::FMT_A4R4G4B4;
}

// The texels of a locked rectangle, read and written as ARGB through the format's conversions. A
// format without conversions reads 0 and is never written.
struct PixelCursor {
    platform::Texture* texture = nullptr;
    u8* bits = nullptr;
    i32 pitch = 0;
    Format format = platform::FMT_UNKNOWN;

    bool lock(platform::Texture* t, const platform::Rect& area, bool readOnly) {
        platform::LockedRect locked;
        if (!t || platform::failed(t->lock(&area, readOnly, locked)))
            return false;
        texture = t;
        bits = static_cast<u8*>(locked.bits);
        pitch = locked.pitch;
        format = t->format();
        return true;
    }
    void unlock() {
        if (texture)
            texture->unlock();
        texture = nullptr;
    }
    u32 get(u32 x, u32 y) const {
        u32 pixel = 0;
        std::memcpy(&pixel, bits + size_t(y) * pitch + size_t(x) * platform::bytesPerPixel(format),
                    platform::bytesPerPixel(format));
        return platform::argbFromPixel(format, pixel);
    }
    void set(u32 x, u32 y, u32 argb) const {
        if (!convertible(format))
            return;
        u32 pixel = platform::pixelFromArgb(format, argb);
        u32 bpp = platform::bytesPerPixel(format);
        u8* at = bits + size_t(y) * pitch + size_t(x) * bpp;
        if (bpp == 4)
            std::memcpy(at, &pixel, 4);
        else {
            u16 p16 = u16(pixel);
            std::memcpy(at, &p16, 2);
        }
    }
};

platform::Rect pictureArea(u32 width, u32 height) {
    return {0, 0, i32(width), i32(height)};
}

bool fitsTexture(u64 width, u64 height) {
    return width <= platform::kMaxImageSide && height <= platform::kMaxImageSide &&
           width * height * 4 <= platform::kMaxImageBytes;
}

// The blur's margin is transparent grey, written in the texture's own bits.
u32 blurBlank(Format f) {
    return platform::bytesPerPixel(f) == 2 ? platform::argbFromPixel(f, 0x0888) : 0x00808080;
}

u32 channel(u32 argb, int shift) {
    return (argb >> shift) & 0xFF;
}

// Each channel times the graph server's global colour (alpha, red, green, blue) / 255.
u32 modulate(u32 argb, const i32* global) {
    u32 out = 0;
    const int shifts[4] = {24, 16, 8, 0};
    for (int i = 0; i < 4; ++i) {
        i64 value = i64(channel(argb, shifts[i])) * std::clamp(global[i], 0, 255) / 255;
        out |= u32(value) << shifts[i];
    }
    return out;
}

u32 glowColour(u32 argb, f32 intensity) {
    i64 alpha = std::lround(double(std::clamp(intensity, 0.0f, 1.0f)) * channel(argb, 24));
    return (argb & 0x00FFFFFF) | u32(alpha) << 24;
}

void drawSprite(aGraphServer& server, const platform::Texture* texture, const platform::SpriteDraw& sprite) {
    if (texture)
        server.getSprite()->draw(*texture, sprite);
}

} // namespace

aImage::aImage() : m_record(new Record), m_slot(&m_record->normal) {}

aImage::aImage(const std::string& file, u32 format16, u32 format32) : aImage() {
    m_record->fileName = file;
    m_record->format16 = format16;
    m_record->format32 = format32;
    reload();
}

aImage::aImage(const aImage& other) : m_record(other.m_record), m_slot(&m_record->normal) {
    ++m_record->refCount;
}

aImage& aImage::operator=(const aImage& other) {
    if (this == &other)
        return *this;
    ++other.m_record->refCount;
    release();
    m_record = other.m_record;
    m_slot = &m_record->normal;
    m_effect = EFFECT_NORMAL;
    return *this;
}

aImage::~aImage() {
    release();
}

void aImage::release() {
    if (--m_record->refCount == 0)
        delete m_record;
    m_record = nullptr;
    m_slot = nullptr;
}

void aImage::clear() {
    if (!m_record->normal.texture)
        return;
    release();
    m_record = new Record;
    m_slot = &m_record->normal;
}

void aImage::load(const std::string& file, u32 format16, u32 format32) {
    // The old picture is freed only once the new one is made: its memory, freed first, could go back
    // to the system and be taken again and faulted in page by page for the new picture.
    const aImage previous(*this);
    clear();
    m_record->fileName = file;
    m_record->format16 = format16;
    m_record->format32 = format32;
    reload();
    if (m_record->normal.texture)
        m_slot = &m_record->normal;
}

void aImage::create(u32 width, u32 height) {
    clear();
    m_record->fileName.clear();
    m_record->format16 = m_record->format32 = platform::FMT_A8R8G8B8;
    m_record->createdWidth = width;
    m_record->createdHeight = height;
    m_record->created = false;
    reload();
}

u32 aImage::currentFormat() const {
    aGraphServer* server = aApplication::graphServer();
    return server && server->isHiColor() ? m_record->format32 : m_record->format16;
}

void aImage::reload() {
    if (!aApplication::getInstance())
        return log("aImage. Error, aApplication object not created!");
    if (!aApplication::graphServer())
        return log("aImage. Error, aGraphServer object not created!");
    Record& r = *m_record;
    const Format format = currentFormat();
    Result result = platform::S_OK;
    if (!r.fileName.empty()) {
        u32 size = 0;
        u8* data = static_cast<u8*>(file_readFullAndMalloc(r.fileName, &size));
        result = isJng(data, size) ? (createFromMNG(data, size, format) ? platform::S_OK : platform::E_FAIL)
                                   : createFromPicture(data, size, format);
        std::free(data);
    } else if (!r.created) {
        result = createEmpty();
    }
    if (platform::failed(result)) {
        r.normal.reset();
        log("Texture \"%s\" load failed (%s)", r.fileName.c_str(), platform::resultName(result));
    }
    replayEffects();
}

Result aImage::createFromPicture(const u8* data, u32 size, u32 format) {
    platform::DecodedImage image;
    Result result = platform::decodeImage(data, size, image);
    return platform::failed(result) ? result : takePicture(std::move(image), format);
}

Result aImage::takePicture(platform::DecodedImage&& image, u32 format) {
    Result result = platform::S_OK;
    auto texture = platform::Texture::create(std::move(image), format, s_powerOfTwoTextures, &result);
    if (texture)
        m_record->normal.set(std::move(texture));
    return result;
}

Result aImage::createEmpty() {
    Record& r = *m_record;
    if (!fitsTexture(r.createdWidth, r.createdHeight))
        return platform::D3DERR_INVALIDCALL;
    Result result = platform::S_OK;
    auto texture =
        platform::Texture::create(r.createdWidth, r.createdHeight, platform::FMT_A8R8G8B8, &result);
    if (texture) {
        r.normal.set(std::move(texture), r.createdWidth, r.createdHeight);
        r.created = true;
    }
    return result;
}

bool aImage::createFromMNG(const u8* data, size_t size, u32 format) {
    platform::DecodedImage image;
    if (!decodeJng(data, size, image)) {
        log("aImage::createFromMNG - mnglib init/read error!");
        return false;
    }
    const Result result = takePicture(std::move(image), format);
    if (platform::failed(result))
        log("aImage::createFromMNG - D3DXCreateTexture error (%s)", platform::resultName(result));
    return !platform::failed(result);
}

void aImage::replayEffects() {
    Record& r = *m_record;
    for (i32 effect : r.appliedEffects) {
        if ((effect == EFFECT_BLUR || effect == EFFECT_BLOOM) && r.bloom)
            makeBlur(r.bloom->radius);
        else if (effect == EFFECT_GRAYSCALE && r.grayScale)
            makeGrayScale(r.grayScale->inPlace);
    }
}

bool aImage::setEffect(u32 effect, const EffectParamInterface* params) {
    Record& r = *m_record;
    switch (effect) {
    case EFFECT_NORMAL:
        if (!r.normal.texture)
            return false;
        m_slot = &r.normal;
        break;
    case EFFECT_BLUR:
    case EFFECT_BLOOM: {
        if (!r.bloom) {
            r.bloom = std::make_unique<BloomParam>();
            r.appliedEffects.push_back(i32(effect));
        }
        if (const auto* bloom = dynamic_cast<const BloomParam*>(params)) {
            if (effect == EFFECT_BLOOM)
                r.bloom->intensity = bloom->intensity;
            makeBlur(bloom->radius);
        }
        m_slot = effect == EFFECT_BLUR ? &r.blurred : &r.normal;
        break;
    }
    case EFFECT_GRAYSCALE: {
        if (!r.grayScale) {
            r.grayScale = std::make_unique<GrayScaleParam>();
            r.appliedEffects.push_back(i32(effect));
        }
        const auto* gray = dynamic_cast<const GrayScaleParam*>(params);
        const bool inPlace = gray && gray->inPlace;
        makeGrayScale(inPlace);
        m_slot = inPlace ? &r.normal : &r.grayscale;
        break;
    }
    default:
        break;
    }
    m_effect = effect;
    return true;
}

void aImage::makeBlur(i32 radius) {
    Record& r = *m_record;
    // A negative radius would shrink the margin into the picture.
    radius = std::max(radius, 0);
    const i32 stored = r.blurred.texture ? r.bloom->radius : 0;
    if (radius == stored)
        return;
    r.bloom->radius = radius;
    r.blurred.reset();
    const u64 width = u64(r.normal.width) + 2 * u64(radius), height = u64(r.normal.height) + 2 * u64(radius);
    const Format format = currentFormat();
    std::unique_ptr<platform::Texture> texture;
    if (fitsTexture(width, height))
        texture = platform::Texture::create(u32(width), u32(height), format);
    if (!texture)
        return log("aImage: Failed create empty texture for blur");
    std::vector<u32> buffer(size_t(width * height), blurBlank(format));
    PixelCursor source;
    if (source.lock(r.normal.texture.get(), pictureArea(r.normal.width, r.normal.height), true)) {
        for (u32 y = 0; y < r.normal.height; ++y)
            for (u32 x = 0; x < r.normal.width; ++x)
                buffer[(y + u32(radius)) * width + x + u32(radius)] = source.get(x, y);
        source.unlock();
    }
    stackBlur(buffer.data(), u32(width), u32(height), u32(radius));
    PixelCursor target;
    if (target.lock(texture.get(), pictureArea(u32(width), u32(height)), false)) {
        for (u32 y = 0; y < height; ++y)
            for (u32 x = 0; x < width; ++x)
                target.set(x, y, buffer[y * width + x]);
        target.unlock();
    }
    r.blurred.set(std::move(texture), u32(width), u32(height));
}

void aImage::makeGrayScale(bool inPlace) {
    Record& r = *m_record;
    if (!inPlace && r.grayscale.texture)
        return;
    r.grayScale->inPlace = inPlace;
    const platform::Rect area = pictureArea(r.normal.width, r.normal.height);
    PixelCursor source, target;
    if (!source.lock(r.normal.texture.get(), area, !inPlace))
        return;
    if (inPlace) {
        target = source;
    } else {
        auto texture = platform::Texture::create(r.normal.width, r.normal.height, currentFormat());
        if (!texture) {
            source.unlock();
            return log("aImage: Failed create empty texture for grayscale");
        }
        r.grayscale.set(std::move(texture), r.normal.width, r.normal.height);
        if (!target.lock(r.grayscale.texture.get(), area, false))
            return source.unlock();
    }
    for (u32 x = 0; x < u32(area.w); ++x)
        for (u32 y = 0; y < u32(area.h); ++y) {
            u32 argb = source.get(x, y);
            u32 g = (channel(argb, 16) + channel(argb, 8) + channel(argb, 0)) / 3;
            target.set(x, y, (argb & 0xFF000000) | g << 16 | g << 8 | g);
        }
    if (!inPlace)
        target.unlock();
    source.unlock();
}

bool aImage::lock(u32** bits, i32* pitch, const aRect* rect, bool readOnly) {
    platform::Texture* texture = m_record->normal.texture.get();
    if (currentFormat() != platform::FMT_A8R8G8B8 ||
        (texture && texture->format() != platform::FMT_A8R8G8B8)) {
        log("Image format != A8R8G8B8, lock failed!");
        return false;
    }
    const platform::Rect area = rect ? platform::Rect{rect->x, rect->y, rect->w, rect->h}
                                     : pictureArea(m_record->normal.width, m_record->normal.height);
    platform::LockedRect locked;
    if (!bits || !texture || platform::failed(texture->lock(&area, readOnly, locked))) {
        log("Image lock failed!");
        return false;
    }
    *bits = static_cast<u32*>(locked.bits);
    if (pitch)
        *pitch = locked.pitch / 4;
    return true;
}

void aImage::unlock() {
    if (m_record->normal.texture)
        m_record->normal.texture->unlock();
}

u32 aImage::getPixel(i32 x, i32 y) const {
    if (currentFormat() == platform::FMT_UNKNOWN)
        return 0;
    PixelCursor texel;
    if (!texel.lock(m_record->normal.texture.get(), {x, y, 1, 1}, true))
        return 0;
    u32 argb = texel.get(0, 0);
    texel.unlock();
    return argb;
}

void aImage::draw(f32 x, f32 y, i16 srcX, i16 srcY, u16 srcW, u16 srcH, u32 color, const f32* scale,
                  f32 angle, const f32* centre, bool glowClip) {
    aGraphServer* server = aApplication::graphServer();
    if (!server || !server->getSprite() || !m_record->normal.texture || srcW == 0 || srcH == 0)
        return;
    platform::SpriteDraw sharp;
    sharp.source = {srcX, srcY, srcW, srcH};
    sharp.scaleX = scale ? scale[0] : 1;
    sharp.scaleY = scale ? scale[1] : 1;
    sharp.centreX = (centre ? centre[0] : srcW * 0.5f) * sharp.scaleX;
    sharp.centreY = (centre ? centre[1] : srcH * 0.5f) * sharp.scaleY;
    sharp.angle = angle;
    sharp.x = x;
    sharp.y = y;
    sharp.argb = modulate(color, server->getGlobalColor());
    if (m_effect == EFFECT_BLOOM && m_record->bloom && m_record->blurred.texture)
        drawBloom(*server, sharp, centre, glowClip);
    else
        drawSprite(*server, m_slot->texture.get(), sharp);
}

void aImage::drawBloom(aGraphServer& server, const platform::SpriteDraw& sharp, const f32* centre,
                       bool glowClip) {
    const Record& r = *m_record;
    const i32 radius = r.bloom->radius;
    platform::SpriteDraw glow = sharp;
    glow.argb = glowColour(sharp.argb, r.bloom->intensity);
    if (glowClip) {
        // The blurred picture sits `radius` pixels in from the blurred texture's corner.
        glow.source.x += radius;
        glow.source.y += radius;
    } else {
        glow.source = pictureArea(r.blurred.width, r.blurred.height);
        glow.x -= f32(radius) * sharp.scaleX;
        glow.y -= f32(radius) * sharp.scaleY;
        glow.centreX = (centre ? f32(radius) + centre[0] : r.blurred.width * 0.5f) * sharp.scaleX;
        glow.centreY = (centre ? f32(radius) + centre[1] : r.blurred.height * 0.5f) * sharp.scaleY;
    }
    const platform::Texture* glowTexture = r.blurred.texture.get();
    const u32 mode = server.getRenderMode();
    drawSprite(server, glowTexture, glow);
    drawSprite(server, r.normal.texture.get(), sharp);
    server.setRenderMode(1);
    drawSprite(server, glowTexture, glow);
    server.setRenderMode(mode);
}

void aImage::drawAt(i16 x, i16 y, u32 color, const f32* scale, f32 angle, const f32* centre) {
    drawAtF(f32(x), f32(y), color, scale, angle, centre);
}

void aImage::drawAtF(f32 x, f32 y, u32 color, const f32* scale, f32 angle, const f32* centre) {
    draw(x, y, 0, 0, getWidth(), getHeight(), color, scale, angle, centre, false);
}

void aImage::drawXY(i16 x, i16 y, const aRect& src, u32 color, const f32* scale, f32 angle,
                    const f32* centre) {
    draw(f32(x), f32(y), src.x, src.y, src.w, src.h, color, scale, angle, centre, true);
}

u16 aImage::getWidth() const {
    return m_record->normal.width;
}
u16 aImage::getHeight() const {
    return m_record->normal.height;
}
u16 aImage::getTextureWidth() const {
    return m_record->normal.textureWidth;
}
u16 aImage::getTextureHeight() const {
    return m_record->normal.textureHeight;
}
bool aImage::hasTexture() const {
    return m_record->normal.texture != nullptr;
}
const std::string& aImage::getFileName() const {
    return m_record->fileName;
}
platform::Texture* aImage::getTexture() const {
    return m_record->normal.texture.get();
}
