#pragma once
#include "tk2v/gfx/aRect.h"
#include "tk2v/platform/Texture.h"
#include "tk2v/util/types.h"

#include <memory>
#include <string>
#include <vector>

class aGraphServer;
namespace platform {
struct SpriteDraw;
}

// A texture image: a small handle sharing a reference-counted texture record with its copies. The
// record may carry a blurred copy (blur and bloom glow) and a grayscale copy of the picture.
class aImage {
public:
    enum Effect : u32 { EFFECT_NORMAL = 0, EFFECT_BLUR = 1, EFFECT_BLOOM = 2, EFFECT_GRAYSCALE = 3 };

    struct EffectParamInterface {
        virtual ~EffectParamInterface() = default;
    };
    struct BloomParam : EffectParamInterface {
        i32 radius = 0;
        f32 intensity = 1.0f; // 0..1 scales the glow's alpha
    };
    struct GrayScaleParam : EffectParamInterface {
        bool inPlace = false; // convert the normal texture itself
    };

    aImage();
    aImage(const std::string& file, u32 format16, u32 format32);
    aImage(const aImage& other);
    aImage& operator=(const aImage& other);
    ~aImage();

    void clear();
    void load(const std::string& file, u32 format16, u32 format32);
    void create(u32 width, u32 height);

    // Only A8R8G8B8 images lock; `pitch` is in pixels. A null rectangle locks the whole image.
    bool lock(u32** bits, i32* pitch, const aRect* rect, bool readOnly);
    void unlock();
    // ARGB of a texel of the normal texture; 0 without a texture or outside it.
    u32 getPixel(i32 x, i32 y) const;

    // Null scale means (1, 1); null centre means the centre of the drawn rectangle (scaled).
    void draw(f32 x, f32 y, i16 srcX, i16 srcY, u16 srcW, u16 srcH, u32 color, const f32* scale = nullptr,
              f32 angle = 0, const f32* centre = nullptr, bool glowClip = false);
    // The whole image at an integer or float position, glow clip off.
    void drawAt(i16 x, i16 y, u32 color = 0xFFFFFFFF, const f32* scale = nullptr, f32 angle = 0,
                const f32* centre = nullptr);
    void drawAtF(f32 x, f32 y, u32 color = 0xFFFFFFFF, const f32* scale = nullptr, f32 angle = 0,
                 const f32* centre = nullptr);
    // A source rectangle at an integer position, glow clip on.
    void drawXY(i16 x, i16 y, const aRect& src, u32 color = 0xFFFFFFFF, const f32* scale = nullptr,
                f32 angle = 0, const f32* centre = nullptr);

    bool setEffect(u32 effect, const EffectParamInterface* params = nullptr);
    u32 getEffect() const { return m_effect; }

    // Of the picture (not the texture), from the normal slot; 0 without one.
    u16 getWidth() const;
    u16 getHeight() const;
    u16 getTextureWidth() const;
    u16 getTextureHeight() const;
    bool hasTexture() const;
    const std::string& getFileName() const;
    // The normal texture, or null.
    platform::Texture* getTexture() const;

    // Decoded pictures go into textures grown to the next powers of two, as on cards without
    // non-power-of-two textures; the picture keeps its own size. Off by default; tests turn it on.
    static void setPowerOfTwoTextures(bool on) { s_powerOfTwoTextures = on; }

private:
    struct Slot;
    struct Record;

    void release();
    void reload();
    platform::Result createFromPicture(const u8* data, u32 size, u32 format);
    // Makes the normal texture from a decoded picture, which it takes over.
    platform::Result takePicture(platform::DecodedImage&& image, u32 format);
    platform::Result createEmpty();
    bool createFromMNG(const u8* data, size_t size, u32 format);
    void replayEffects();
    void makeBlur(i32 radius);
    void makeGrayScale(bool inPlace);
    u32 currentFormat() const;
    void drawBloom(aGraphServer& server, const platform::SpriteDraw& sharp, const f32* centre, bool glowClip);

    Record* m_record;
    Slot* m_slot;
    u32 m_effect = EFFECT_NORMAL;

    static inline bool s_powerOfTwoTextures = false;
};
