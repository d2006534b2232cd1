#pragma once
#include "tk2v/gfx/aRect.h"
#include "tk2v/util/types.h"

#include <deque>
#include <memory>
#include <string>

class aImage;
class aImageManager;
namespace platform {
struct TLVertex;
}

// A 2D particle emitter: parameters read from a ".psys" file, a pool of particle records and a
// simulation that advances in fixed steps of its own rate, so that it runs alike at any frame rate.
// The particle manager keeps one template per file; users draw their own copies of a template.
// All systems draw through one process-wide vertex and index store of 1000 quads.
class aParticleSystem {
public:
    struct Range {
        f32 min = 0, max = 0;
        bool operator==(const Range&) const = default;
    };

    // What a file sets; owners may change these (a scaled scene object, say) between frames.
    struct Params {
        u32 maxParticles = 100; // never more than 1000 live, whatever this says
        u32 emissionRate = 30;  // per second, or the burst size when emitterLife is 0
        u32 simulationRate = 0; // steps per second; 0 freezes the system
        i32 blendMode = 0;      // the render-mode word drawing uses
        i32 emitterType = 0;    // 0 ring, 1 rectangle, 2 line
        // Ring: the radius range; rectangle: the half width and half height; line: the reach backwards
        // and forwards along the emitter angle.
        f32 emitterSize[2] = {0, 0};
        f32 emitterAngle = 0;
        f32 emitterLife = -1; // negative: until stopped; 0: one burst at start; else seconds
        bool spinByDirection = false;
        bool spreadRelative = false;
        f32 startColour[4] = {1, 1, 1, 1}; // R, G, B, A in 0..1
        f32 endColour[4] = {1, 1, 1, 0};
        f32 colourVariation = 0, alphaVariation = 0;
        f32 spin[3] = {0, 0, 0}; // start, end, variation
        f32 size[3] = {1, 0, 0}; // start, end, variation
        Range particleLife{2, 3};
        Range gravity, wind, radialAcc, tangentialAcc;
        Range velocity{30, 50};
        Range spread{0, 6.2831855f};
        bool operator==(const Params&) const = default;
    };

    // A missing file leaves the defaults. With an image manager the texture is looked up by the
    // file's texture name in the group.
    aParticleSystem(const std::string& fileName, aImageManager* images, const std::string& group);
    aParticleSystem(const aParticleSystem& other);
    // Takes the parameters, the bounds tracking flag and the texture; the live particles of this
    // system are dropped. Clock, position and emitting state stay this system's own.
    aParticleSystem& operator=(const aParticleSystem& other);
    ~aParticleSystem();

    // Null image: no texture. Null source: the whole image.
    void setTexture(const aImage* image, const aRect* source = nullptr);
    void reset();
    void start();
    // Puts the emitter at the point without moving live particles, then starts.
    void startAt(f32 x, f32 y);
    // Moves the emitter and drags the live particles along.
    void setPosition(f32 x, f32 y);
    void stopEmitter();
    void update(f32 dt);
    void render();
    // Multiplies the emitter's pixel-sized parameters (extents, speeds, accelerations, sizes) and the
    // size and speed of every live particle, for an owner that rescales the system.
    void scale(f32 factor);

    // Owners that fit the emitter to an object write its half extents (emitterSize) and its particle
    // count (maxParticles) here.
    Params& params() { return m_params; }
    const Params& params() const { return m_params; }
    u32 getLiveCount() const { return m_liveCount; }
    bool isEmitting() const { return m_emitting; }
    bool isFinished() const { return !m_emitting && m_liveCount == 0; }
    f32 getX() const { return m_x; }
    f32 getY() const { return m_y; }
    f32 getClock() const { return m_clock; }
    // Kept only while tracking is on; all zero otherwise and while no particle lives.
    const aRect& getBounds() const { return m_bounds; }
    bool isBoundsTracking() const { return m_boundsTracking; }
    void setBoundsTracking(bool on) { m_boundsTracking = on; }
    const std::string& getTextureName() const { return m_textureName; }
    const aImage* getTexture() const { return m_texture.get(); }
    const aRect& getSourceRect() const { return m_source; }

private:
    struct Particle {
        Particle* next;
        f32 birth, life;
        f32 originX, originY;
        f32 dirX, dirY;
        f32 wind, gravity, tangential, radial;
        bool spinByDirection;
        f32 colourDelta[4];
        f32 angleDelta, sizeDelta;
        f32 velX, velY;
        f32 x, y;
        f32 colour[4];
        f32 angle, size;
    };

    void readFile(const std::string& fileName);
    void readLine(const std::string& line);
    static void acquireBuffers();
    static void releaseBuffers();
    void emit(u32 count);
    Particle& takeRecord();
    void spawn(Particle& p, f32 relativeAngle, f32 c, f32 s);
    void place(Particle& p, f32 c, f32 s) const;
    void step(f32 h);
    static void advance(Particle& p, f32 h);
    void emitForStep();
    void moveParticles(f32 dx, f32 dy);
    void killAll();
    void fillQuad(const Particle& p, platform::TLVertex* corners) const;

    Params m_params;
    std::string m_textureName;
    std::unique_ptr<aImage> m_texture;
    aRect m_source;
    f32 m_texCoords[4][2] = {}; // top-left, top-right, bottom-left, bottom-right

    std::deque<Particle> m_pool; // grows to the cap, never shrinks; addresses stay put
    Particle* m_live = nullptr;
    Particle* m_free = nullptr;
    u32 m_liveCount = 0;

    f32 m_clock = 0, m_accumulator = 0;
    bool m_emitting = false;
    f32 m_lastEmission = 0, m_emissionStart = 0;
    f32 m_x = 0, m_y = 0, m_prevX = 0, m_prevY = 0;
    bool m_boundsTracking = false;
    aRect m_bounds;
};
