#include "tk2v/gfx/aParticleSystem.h"

#include "tk2v/file/aStringList.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/Random.h"
#include "tk2v/platform/Result.h"
#include "tk2v/platform/SpriteBatch.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

constexpr u32 kMaxLive = 1000;
constexpr u32 kVerticesPerQuad = 4, kIndicesPerQuad = 6;
// A rate beyond this is no animation any more, and a step shorter than a float's resolution of the
// accumulator would never use it up.
constexpr u32 kMaxSimulationRate = 1000;
// However long a frame took, one update simulates at most this much, so no call runs for long.
constexpr f32 kMaxCatchUpSeconds = 10;
// Pre-transformed positions have their pixel centres on whole numbers, the device's quads on halves.
// Shifting a little less than half keeps edges off the pixel centres, so that the left and top edges
// cover their pixels and the right and bottom ones do not, whichever way the device flips y.
constexpr f32 kPixelCentre = 0.5f - 1.0f / 256;
constexpr f32 kPi = 3.14159274f;

// The vertex and index store that every system fills and draws from. Never destroyed, so systems
// held by other static objects may still release it during exit.
struct SharedBuffers {
    std::mutex lock;
    u32 users = 0;
    std::vector<platform::TLVertex> vertices;
    std::vector<u16> indices;
};

SharedBuffers& shared() {
    static SharedBuffers* buffers = new SharedBuffers;
    return *buffers;
}

// Room for the quads, or null when they do not fit.
platform::TLVertex* lockVertices(u32 quads) {
    std::vector<platform::TLVertex>& vertices = shared().vertices;
    return size_t(quads) * kVerticesPerQuad <= vertices.size() ? vertices.data() : nullptr;
}

// Each quad is the two triangles (top-left, top-right, bottom-left) and (top-right, bottom-left,
// bottom-right) of the index store; the device takes the corners walked around the quad.
void drawQuads(platform::GraphicsDevice& device, const platform::Texture& texture, u32 quads) {
    const SharedBuffers& store = shared();
    for (u32 q = 0; q < quads; ++q) {
        const u16* triangles = &store.indices[size_t(q) * kIndicesPerQuad];
        const u16 around[4] = {triangles[0], triangles[1], triangles[5], triangles[2]};
        platform::QuadVertex corners[4];
        for (int i = 0; i < 4; ++i) {
            const platform::TLVertex& v = store.vertices[around[i]];
            corners[i] = {v.x + kPixelCentre, v.y + kPixelCentre, v.u, v.v, v.diffuse};
        }
        device.drawQuad(texture, corners);
    }
}

f32 randomIn(f32 min, f32 max) {
    return f32(double(min) + double(platform::rand()) * (double(max) - double(min)) / 32767.0);
}

f32 randomIn(const aParticleSystem::Range& range) {
    return randomIn(range.min, range.max);
}

f32 fraction(f32 variation) {
    return f32(double(platform::rand()) * double(variation) / 32767.0);
}

u32 channelByte(f32 value) {
    if (value >= 1)
        return 255;
    if (!(value > 0)) // NaN too
        return 0;
    return u32(value * 255 + 0.5f);
}

u32 packArgb(const f32 (&colour)[4]) {
    return channelByte(colour[3]) << 24 | channelByte(colour[0]) << 16 | channelByte(colour[1]) << 8 |
           channelByte(colour[2]);
}

// Out of range and NaN give INT32_MIN, as x86 conversions do; its low 16 bits are 0.
i32 truncateToInt(f32 value) {
    return value > -2147483648.0f && value < 2147483648.0f ? i32(value) : INT32_MIN;
}

// The box around the particle positions of one step.
struct Extent {
    f32 minX = FLT_MAX, minY = FLT_MAX, maxX = -FLT_MAX, maxY = -FLT_MAX;

    void add(f32 x, f32 y) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    }
    aRect rect() const {
        return {i16(truncateToInt(minX)), i16(truncateToInt(minY)), u16(truncateToInt(maxX - minX)),
                u16(truncateToInt(maxY - minY))};
    }
};

void splitColour(u32 argb, f32 (&colour)[4]) {
    constexpr f32 kByte = 0.003921569f;
    colour[0] = f32((argb >> 16) & 0xFF) * kByte;
    colour[1] = f32((argb >> 8) & 0xFF) * kByte;
    colour[2] = f32(argb & 0xFF) * kByte;
    colour[3] = f32(argb >> 24) * kByte;
}

// A negative count means nothing sensible; it counts as none.
void readCount(const char* line, u32& out) {
    int value;
    if (std::sscanf(line, "%*s %d", &value) == 1)
        out = value < 0 ? 0 : u32(value);
}

void readFlag(const char* line, bool& out) {
    int value;
    if (std::sscanf(line, "%*s %d", &value) == 1)
        out = value != 0;
}

void readRange(const char* line, aParticleSystem::Range& out) {
    std::sscanf(line, "%*s %f %f", &out.min, &out.max);
}

void readTriple(const char* line, f32 (&out)[3]) {
    std::sscanf(line, "%*s %f %f %f", &out[0], &out[1], &out[2]);
}

void readColours(const char* line, aParticleSystem::Params& p) {
    unsigned start, end;
    f32 colourVariation, alphaVariation;
    const int read = std::sscanf(line, "%*s %x %x %f %f", &start, &end, &colourVariation, &alphaVariation);
    if (read >= 1)
        splitColour(start, p.startColour);
    if (read >= 2)
        splitColour(end, p.endColour);
    if (read >= 3)
        p.colourVariation = colourVariation;
    if (read >= 4)
        p.alphaVariation = alphaVariation;
}

using Params = aParticleSystem::Params;

struct KeyReader {
    const char* key;
    void (*read)(const char* line, Params& p);
};

const KeyReader kKeys[] = {
    {"max_particles", [](const char* l, Params& p) { readCount(l, p.maxParticles); }},
    {"fps", [](const char* l, Params& p) { readCount(l, p.simulationRate); }},
    {"emitter_type", [](const char* l, Params& p) { std::sscanf(l, "%*s %d", &p.emitterType); }},
    {"emitter_life", [](const char* l, Params& p) { std::sscanf(l, "%*s %f", &p.emitterLife); }},
    {"emitter_size",
     [](const char* l, Params& p) { std::sscanf(l, "%*s %f %f", &p.emitterSize[0], &p.emitterSize[1]); }},
    {"emitter_angle", [](const char* l, Params& p) { std::sscanf(l, "%*s %f", &p.emitterAngle); }},
    {"emit_per_sec", [](const char* l, Params& p) { readCount(l, p.emissionRate); }},
    {"blend_mode", [](const char* l, Params& p) { std::sscanf(l, "%*s %d", &p.blendMode); }},
    {"spread", [](const char* l, Params& p) { readRange(l, p.spread); }},
    {"spread_relative", [](const char* l, Params& p) { readFlag(l, p.spreadRelative); }},
    {"spin_by_dir", [](const char* l, Params& p) { readFlag(l, p.spinByDirection); }},
    {"particle_life", [](const char* l, Params& p) { readRange(l, p.particleLife); }},
    {"gravity", [](const char* l, Params& p) { readRange(l, p.gravity); }},
    {"wind", [](const char* l, Params& p) { readRange(l, p.wind); }},
    {"radial_acc", [](const char* l, Params& p) { readRange(l, p.radialAcc); }},
    {"tangential_acc", [](const char* l, Params& p) { readRange(l, p.tangentialAcc); }},
    {"velocity", [](const char* l, Params& p) { readRange(l, p.velocity); }},
    {"spin", [](const char* l, Params& p) { readTriple(l, p.spin); }},
    {"size", [](const char* l, Params& p) { readTriple(l, p.size); }},
    {"color", [](const char* l, Params& p) { readColours(l, p); }},
};

} // namespace

aParticleSystem::aParticleSystem(const std::string& fileName, aImageManager* images,
                                 const std::string& group) {
    acquireBuffers();
    readFile(fileName);
    if (!images)
        return;
    if (const aImage* image = images->getImage(m_textureName, group))
        setTexture(image);
}

aParticleSystem::aParticleSystem(const aParticleSystem& other) {
    acquireBuffers();
    *this = other;
}

aParticleSystem& aParticleSystem::operator=(const aParticleSystem& other) {
    if (this == &other)
        return *this;
    m_params = other.m_params;
    m_boundsTracking = other.m_boundsTracking;
    setTexture(other.m_texture.get(), &other.m_source);
    killAll();
    return *this;
}

aParticleSystem::~aParticleSystem() {
    releaseBuffers();
}

void aParticleSystem::acquireBuffers() {
    SharedBuffers& store = shared();
    std::lock_guard<std::mutex> guard(store.lock);
    if (store.users++ > 0)
        return;
    store.vertices.assign(size_t(kMaxLive) * kVerticesPerQuad, platform::TLVertex{}); // z 0, rhw 1
    store.indices.resize(size_t(kMaxLive) * kIndicesPerQuad);
    const u16 pattern[kIndicesPerQuad] = {0, 1, 2, 1, 2, 3};
    for (u32 i = 0; i < store.indices.size(); ++i)
        store.indices[i] = u16(i / kIndicesPerQuad * kVerticesPerQuad + pattern[i % kIndicesPerQuad]);
}

void aParticleSystem::releaseBuffers() {
    SharedBuffers& store = shared();
    std::lock_guard<std::mutex> guard(store.lock);
    if (--store.users > 0)
        return;
    std::vector<platform::TLVertex>().swap(store.vertices);
    std::vector<u16>().swap(store.indices);
}

void aParticleSystem::readFile(const std::string& fileName) {
    const aStringList lines(fileName);
    for (const std::string& line : lines.lines())
        readLine(line);
}

void aParticleSystem::readLine(const std::string& line) {
    // Every key is shorter than the word buffer, so a cut-off long word can never match one.
    char word[32];
    const char* text = line.c_str();
    if (std::sscanf(text, "%31s", word) != 1)
        return;
    if (std::strcmp(word, "texture") == 0) {
        char name[101];
        if (std::sscanf(text, "%*s %100s", name) == 1)
            m_textureName = name;
        return;
    }
    for (const KeyReader& key : kKeys)
        if (std::strcmp(word, key.key) == 0)
            return key.read(text, m_params);
}

void aParticleSystem::setTexture(const aImage* image, const aRect* source) {
    m_texture.reset();
    m_source = {};
    std::memset(m_texCoords, 0, sizeof m_texCoords);
    if (!image)
        return;
    m_texture = std::make_unique<aImage>(*image);
    m_source = source ? *source : aRect{0, 0, image->getWidth(), image->getHeight()};
    const f32 width = m_texture->getTextureWidth(), height = m_texture->getTextureHeight();
    if (width == 0 || height == 0)
        return;
    const f32 left = f32(m_source.x) / width, right = f32(m_source.x + m_source.w) / width;
    const f32 top = f32(m_source.y) / height, bottom = f32(m_source.y + m_source.h) / height;
    const f32 coords[4][2] = {{left, top}, {right, top}, {left, bottom}, {right, bottom}};
    std::memcpy(m_texCoords, coords, sizeof m_texCoords);
}

void aParticleSystem::reset() {
    killAll();
    m_clock = m_accumulator = 0;
    m_emitting = false;
    m_bounds = {};
}

void aParticleSystem::start() {
    if (m_params.emitterLife == 0) {
        emit(m_params.emissionRate);
        return;
    }
    if (m_emitting)
        return;
    m_emitting = true;
    m_lastEmission = m_emissionStart = m_clock;
}

void aParticleSystem::startAt(f32 x, f32 y) {
    m_x = m_prevX = x;
    m_y = m_prevY = y;
    start();
}

void aParticleSystem::setPosition(f32 x, f32 y) {
    moveParticles(x - m_x, y - m_y);
    m_prevX = m_x;
    m_prevY = m_y;
    m_x = x;
    m_y = y;
}

void aParticleSystem::stopEmitter() {
    m_emitting = false;
}

void aParticleSystem::update(f32 dt) {
    const u32 rate = std::min(m_params.simulationRate, kMaxSimulationRate);
    if (rate == 0) {
        m_accumulator = 0;
        return;
    }
    if (!(dt > 0)) // time never runs backwards, and NaN is no time
        return;
    const f32 h = 1.0f / f32(rate);
    m_accumulator = std::min(m_accumulator + dt, kMaxCatchUpSeconds);
    while (m_accumulator >= h) {
        m_clock += h;
        step(h);
        m_accumulator -= h;
    }
}

void aParticleSystem::render() {
    if (!m_texture || !m_texture->getTexture() || m_liveCount == 0)
        return;
    aGraphServer* graph = aApplication::graphServer();
    platform::GraphicsDevice* device = graph ? graph->getDevice() : nullptr;
    if (!device) {
        log("aParticleSystem. Render error (%s)", platform::resultName(platform::D3DERR_INVALIDCALL));
        return;
    }
    platform::TLVertex* vertices = lockVertices(m_liveCount);
    if (!vertices) {
        log("aParticleSystem. Vertex buffer lock failed on render (%s)",
            platform::resultName(platform::D3DERR_INVALIDCALL));
        return;
    }
    for (const Particle* p = m_live; p; p = p->next, vertices += kVerticesPerQuad)
        fillQuad(*p, vertices);
    const u32 remembered = graph->getRenderMode();
    graph->setRenderMode(u32(m_params.blendMode));
    drawQuads(*device, *m_texture->getTexture(), m_liveCount);
    graph->setRenderMode(remembered);
    // Outside a scene's batch nothing else would send the quads on.
    if (!graph->getSprite() || !graph->getSprite()->isOpen())
        device->flush();
}

void aParticleSystem::scale(f32 factor) {
    Params& p = m_params;
    for (f32* value : {&p.emitterSize[0], &p.emitterSize[1], &p.size[0], &p.size[1]})
        *value *= factor;
    for (Range* range : {&p.velocity, &p.gravity, &p.wind, &p.radialAcc, &p.tangentialAcc}) {
        range->min *= factor;
        range->max *= factor;
    }
    for (Particle* q = m_live; q; q = q->next) {
        q->size *= factor;
        q->sizeDelta *= factor;
        q->velX *= factor;
        q->velY *= factor;
    }
}

void aParticleSystem::emit(u32 count) {
    const u32 cap = std::min(m_params.maxParticles, kMaxLive);
    // Spread relative aims away from where the emitter came from.
    const f32 relativeAngle = m_params.spreadRelative ? std::atan2(m_y - m_prevY, m_x - m_prevX) + kPi : 0;
    f32 c = 1, s = 0;
    if (m_params.emitterType != 0) {
        c = std::cos(m_params.emitterAngle);
        s = std::sin(m_params.emitterAngle);
    }
    for (u32 i = 0; i < count && m_liveCount < cap; ++i) {
        spawn(takeRecord(), relativeAngle, c, s);
        ++m_liveCount;
    }
}

aParticleSystem::Particle& aParticleSystem::takeRecord() {
    Particle* p = m_free;
    if (p)
        m_free = p->next;
    else
        p = &m_pool.emplace_back();
    p->next = m_live;
    m_live = p;
    return *p;
}

// The random draws keep their order, so a seeded run gives the same particles every time.
void aParticleSystem::spawn(Particle& p, f32 relativeAngle, f32 c, f32 s) {
    const Params& q = m_params;
    p.birth = m_clock;
    p.life = randomIn(q.particleLife);
    p.radial = randomIn(q.radialAcc);
    p.tangential = randomIn(q.tangentialAcc);
    p.wind = randomIn(q.wind);
    p.gravity = randomIn(q.gravity);
    const f32 sizeFraction = fraction(q.size[2]);
    const f32 colourFraction = fraction(q.colourVariation);
    const f32 alphaFraction = fraction(q.alphaVariation);
    const f32 angle = randomIn(q.spread) + relativeAngle;
    const f32 speed = randomIn(q.velocity);
    const f32 spinFraction = q.spinByDirection ? 0 : fraction(q.spin[2]);

    p.size = q.size[0] + (q.size[1] - q.size[0]) * sizeFraction;
    p.sizeDelta = (q.size[1] - p.size) / p.life;
    for (int i = 0; i < 4; ++i) {
        const f32 along = i < 3 ? colourFraction : alphaFraction;
        p.colour[i] = q.startColour[i] + (q.endColour[i] - q.startColour[i]) * along;
        p.colourDelta[i] = (q.endColour[i] - p.colour[i]) / p.life;
    }
    p.dirX = std::cos(angle);
    p.dirY = std::sin(angle);
    p.velX = speed * p.dirX;
    p.velY = speed * p.dirY;
    p.spinByDirection = q.spinByDirection;
    p.angle =
        q.spinByDirection ? std::atan2(p.dirY, p.dirX) : q.spin[0] + (q.spin[1] - q.spin[0]) * spinFraction;
    p.angleDelta = (q.spin[1] - p.angle) / p.life;
    place(p, c, s);
}

void aParticleSystem::place(Particle& p, f32 c, f32 s) const {
    const f32 sx = m_params.emitterSize[0], sy = m_params.emitterSize[1];
    switch (m_params.emitterType) {
    case 0: {
        const f32 r = randomIn(sx, sy);
        p.x = m_x + r * p.dirX;
        p.y = m_y + r * p.dirY;
        p.originX = m_x;
        p.originY = m_y;
        return;
    }
    case 1: {
        const f32 u = randomIn(-sx, sx);
        const f32 v = randomIn(-sy, sy);
        p.x = m_x - u * c + v * s;
        p.y = m_y - u * s - v * c;
        break;
    }
    case 2: {
        const f32 t = randomIn(-sx, sy);
        p.x = m_x + t * c;
        p.y = m_y + t * s;
        break;
    }
    default: // a shape this engine does not know emits from the emitter's point
        p.x = m_x;
        p.y = m_y;
    }
    p.originX = p.x;
    p.originY = p.y;
}

void aParticleSystem::step(f32 h) {
    Extent extent;
    Particle** link = &m_live;
    while (Particle* p = *link) {
        if (!(m_clock - p->birth < p->life)) {
            *link = p->next;
            p->next = m_free;
            m_free = p;
            --m_liveCount;
            continue;
        }
        advance(*p, h);
        if (m_boundsTracking)
            extent.add(p->x, p->y);
        link = &p->next;
    }
    m_bounds = m_boundsTracking && m_liveCount > 0 ? extent.rect() : aRect{};
    emitForStep();
    m_prevX = m_x;
    m_prevY = m_y;
}

void aParticleSystem::advance(Particle& p, f32 h) {
    p.velX += p.radial * h * p.dirX;
    p.velY += p.radial * h * p.dirY;
    p.velX += p.tangential * h * -p.dirY;
    p.velY += p.tangential * h * p.dirX;
    p.velX += p.wind * h;
    p.velY += p.gravity * h;
    for (int i = 0; i < 4; ++i)
        p.colour[i] += p.colourDelta[i] * h;
    p.size += p.sizeDelta * h;
    p.x += p.velX * h;
    p.y += p.velY * h;
    const f32 dx = p.x - p.originX, dy = p.y - p.originY;
    const f32 distance = std::sqrt(dx * dx + dy * dy);
    if (distance != 0) {
        p.dirX = dx / distance;
        p.dirY = dy / distance;
    }
    p.angle = p.spinByDirection ? std::atan2(p.velY, p.velX) : p.angle + p.angleDelta * h;
}

void aParticleSystem::emitForStep() {
    if (!m_emitting || m_params.emitterLife == 0)
        return;
    if (m_params.emissionRate == 0) {
        m_lastEmission = m_clock;
    } else {
        // The part of a particle not yet due carries over through the last emission time.
        const f32 rate = f32(m_params.emissionRate);
        const f32 due = rate * (m_clock - m_lastEmission);
        const f32 count = due >= 1 ? std::trunc(due) : 0;
        m_lastEmission += count / rate;
        emit(count < f32(kMaxLive) ? u32(count) : kMaxLive);
    }
    if (m_params.emitterLife > 0 && m_clock - m_emissionStart >= m_params.emitterLife)
        stopEmitter();
}

void aParticleSystem::moveParticles(f32 dx, f32 dy) {
    for (Particle* p = m_live; p; p = p->next) {
        p->x += dx;
        p->y += dy;
        p->originX += dx;
        p->originY += dy;
    }
}

void aParticleSystem::killAll() {
    while (Particle* p = m_live) {
        m_live = p->next;
        p->next = m_free;
        m_free = p;
    }
    m_liveCount = 0;
}

void aParticleSystem::fillQuad(const Particle& p, platform::TLVertex* corners) const {
    const f32 hw = f32(m_source.w) * 0.5f, hh = f32(m_source.h) * 0.5f;
    const f32 c = std::cos(p.angle) * p.size, s = std::sin(p.angle) * p.size;
    const f32 offsets[4][2] = {{-hw * c + hh * s, -hw * s - hh * c},
                               {hw * c + hh * s, hw * s - hh * c},
                               {-hw * c - hh * s, -hw * s + hh * c},
                               {hw * c - hh * s, hw * s + hh * c}};
    const u32 argb = packArgb(p.colour);
    for (int i = 0; i < 4; ++i) {
        corners[i].x = p.x + offsets[i][0];
        corners[i].y = p.y + offsets[i][1];
        corners[i].diffuse = argb;
        corners[i].u = m_texCoords[i][0];
        corners[i].v = m_texCoords[i][1];
    }
}
