#include "tk2v/platform/GlRenderer.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace platform {
namespace {

// Quads queued at most before they are recorded; each goes as two triangles of its own six vertices,
// since on a software rasteriser a plain draw of a vertex range costs less per call than an indexed one.
constexpr u32 kMaxQuads = 16384;
constexpr u32 kQuadVertices = 6;
// A generous bound on one immediate draw; the engine sends at most 400 vertices.
constexpr u64 kMaxPrimitiveVertices = 65536;

const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec2 position;
layout(location = 1) in vec2 texCoord;
layout(location = 2) in vec4 colour;
uniform vec2 scale;
out vec2 uv;
out vec4 diffuse;
void main() {
    gl_Position = vec4(position * scale + vec2(-1.0, 1.0), 0.0, 1.0);
    uv = texCoord;
    diffuse = colour;
}
)";

// One program a colour operation: a software rasteriser pays for every term of a shader on every
// pixel, and the common modulate is only a product, or nothing at all for a white diffuse.
constexpr int kPrograms = COLOUR_DIFFUSE + 2;

// Indexed by colour operation: T x D, T + D, T - D, D - T, D; then T alone.
const char* const kFragmentResults[kPrograms] = {"vec4(t.rgb * diffuse.rgb, t.a * diffuse.a)",
                                                 "vec4(min(t.rgb + diffuse.rgb, 1.0), t.a * diffuse.a)",
                                                 "vec4(max(t.rgb - diffuse.rgb, 0.0), t.a * diffuse.a)",
                                                 "vec4(max(diffuse.rgb - t.rgb, 0.0), t.a * diffuse.a)",
                                                 "vec4(diffuse.rgb, t.a * diffuse.a)",
                                                 "t"};

// A whole picture over the viewport, its corners made from the vertex number: a software rasteriser
// draws this copy far more cheaply than it blits between framebuffers.
const char* const kPictureVertexShader = R"(#version 330 core
out vec2 uv;
void main() {
    uv = vec2(gl_VertexID & 1, gl_VertexID >> 1);
    gl_Position = vec4(uv * 2.0 - 1.0, 0.0, 1.0);
}
)";

const char* const kPictureFragmentShader = R"(#version 330 core
in vec2 uv;
uniform sampler2D picture;
out vec4 fragment;
void main() {
    fragment = texture(picture, uv);
}
)";

// Queued quads that a new quad is tested against, at most, when it looks for an earlier run to join;
// the search stops sooner at the first overlap.
constexpr u32 kMaxOverlapTests = 64;
constexpr size_t kMaxRunsPassed = 16;
// Queued quads that an opaque quad is tested against, at most, for pixels it overwrites.
constexpr u32 kMaxCoverTests = 256;
// Separate areas a frame is drawn again in, at most; past that they are drawn as the one rectangle
// around them all.
constexpr size_t kMaxChangedAreas = 4;
// A frame's record is drawn as it goes once it holds this much.
constexpr size_t kMaxFrameSteps = 4096;
constexpr size_t kMaxFrameVertices = size_t(kMaxQuads) * kQuadVertices * 4;

// Mesa's software rasteriser draws simple shaders on a faster path of its own when the target and
// the textures are B, G, R, A. That path mixes up the diffuse colour (Mesa 22), which only the
// texture-only program leaves alone; the others carry a discard, which keeps them off it. The discard
// drops fragments whose alpha is under half a step of the 8-bit back buffer: both blendings weight the
// source by that alpha, which rounds to no change of any pixel, so the rasteriser skips their blending
// and writing. Fading particles and the soft edges of glows cost less for the same picture.
std::string fragmentShader(const char* result, bool usesDiffuse) {
    return std::string(R"(#version 330 core
in vec2 uv;
in vec4 diffuse;
uniform sampler2D picture;
out vec4 fragment;
void main() {
    vec4 t = texture(picture, uv);
)") + (usesDiffuse ? "    if (t.a * diffuse.a < 0.5 / 255.0)\n        discard;\n" : "") +
           "    fragment = " + result + ";\n}\n";
}

GLuint compile(GLenum kind, const char* source) {
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

GLuint link(GLuint vertex, GLuint fragment) {
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

GLenum glMode(PrimitiveType type) {
    switch (type) {
    case PrimitiveType::PointList:
        return GL_POINTS;
    case PrimitiveType::LineList:
        return GL_LINES;
    case PrimitiveType::LineStrip:
        return GL_LINE_STRIP;
    case PrimitiveType::TriangleList:
        return GL_TRIANGLES;
    case PrimitiveType::TriangleStrip:
        return GL_TRIANGLE_STRIP;
    default:
        return GL_TRIANGLE_FAN;
    }
}

u64 vertexCount(PrimitiveType type, u64 primitives) {
    switch (type) {
    case PrimitiveType::PointList:
        return primitives;
    case PrimitiveType::LineList:
        return primitives * 2;
    case PrimitiveType::LineStrip:
        return primitives + 1;
    case PrimitiveType::TriangleList:
        return primitives * 3;
    default:
        return primitives + 2;
    }
}

// Pixel centres sit on whole numbers for pre-transformed vertices and on halves in GL. The shift is a
// hair short of half a pixel so that an edge through a pixel centre falls on the side that Direct3D's
// top-left rule gives it, whatever the GL rasteriser does with exact ties.
constexpr f32 kPixelCentreShift = 0.5f - 1.0f / 256.0f;

GLuint makeSampler(GLint filter) {
    GLuint sampler = 0;
    glGenSamplers(1, &sampler);
    glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, filter);
    glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, filter);
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return sampler;
}

GLuint makeWhiteTexture() {
    GLuint texture = 0;
    const u32 white = 0xFFFFFFFF;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, &white);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    return texture;
}

Rect unite(const Rect& a, const Rect& b) {
    const i32 left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    return {left, top, std::max(a.x + a.w, b.x + b.w) - left, std::max(a.y + a.h, b.y + b.h) - top};
}

// Adds the area to the list, joined with every area it overlaps.
void addArea(std::vector<Rect>& areas, Rect area) {
    if (area.empty())
        return;
    for (size_t i = 0; i < areas.size();) {
        if (areas[i].intersect(area).empty()) {
            ++i;
            continue;
        }
        area = unite(areas[i], area);
        areas.erase(areas.begin() + std::ptrdiff_t(i));
        i = 0;
    }
    areas.push_back(area);
}

bool allCorners(const QuadVertex (&c)[4], u32 mask, u32 value) {
    for (const QuadVertex& v : c)
        if ((v.argb & mask) != value)
            return false;
    return true;
}

} // namespace

GlRenderer* GlRenderer::s_current = nullptr;

std::unique_ptr<GlRenderer> GlRenderer::create(u32 targetWidth, u32 targetHeight) {
    std::unique_ptr<GlRenderer> renderer(new GlRenderer);
    if (!renderer->build())
        return nullptr;
    renderer->resetState(targetWidth, targetHeight);
    renderer->makeCurrent();
    return renderer;
}

GlRenderer::~GlRenderer() {
    if (s_current == this)
        s_current = nullptr;
    for (u32 program : m_programs)
        glDeleteProgram(program);
    glDeleteProgram(m_pictureProgram);
    glDeleteVertexArrays(1, &m_pictureArray);
    glDeleteVertexArrays(1, &m_vertexArray);
    glDeleteBuffers(1, &m_vertexBuffer);
    glDeleteTextures(1, &m_white);
    glDeleteSamplers(2, m_samplers);
}

void GlRenderer::beforeTextureChange(u32 texture) {
    GlRenderer* renderer = s_current;
    if (!renderer)
        return;
    if (renderer->usesTexture(texture))
        renderer->drawNow();
    const std::vector<u32>& last = renderer->m_lastTextures;
    if (std::binary_search(last.begin(), last.end(), texture))
        renderer->m_lastHeld = false;
}

bool GlRenderer::usesTexture(u32 texture) const {
    for (const Run& run : m_runs)
        if (run.texture == texture)
            return true;
    for (const Step& step : m_frame.steps)
        if (!step.clears && step.texture == texture)
            return true;
    return false;
}

bool GlRenderer::build() {
    for (int op = 0; op < kPrograms; ++op) {
        GLuint vertex = compile(GL_VERTEX_SHADER, kVertexShader);
        GLuint fragment = compile(GL_FRAGMENT_SHADER,
                                  fragmentShader(kFragmentResults[op], u32(op) != kTextureOnly).c_str());
        m_programs[op] = vertex && fragment ? link(vertex, fragment) : 0;
        if (!m_programs[op])
            return false;
        glUseProgram(m_programs[op]);
        glUniform1i(glGetUniformLocation(m_programs[op], "picture"), 0);
        m_scaleUniforms[op] = glGetUniformLocation(m_programs[op], "scale");
    }
    GLuint vertex = compile(GL_VERTEX_SHADER, kPictureVertexShader);
    GLuint fragment = compile(GL_FRAGMENT_SHADER, kPictureFragmentShader);
    m_pictureProgram = vertex && fragment ? link(vertex, fragment) : 0;
    if (!m_pictureProgram)
        return false;
    glUseProgram(m_pictureProgram);
    glUniform1i(glGetUniformLocation(m_pictureProgram, "picture"), 0);
    // The picture's draw reads no vertex data, but a core context draws only with an array bound.
    glGenVertexArrays(1, &m_pictureArray);
    setupVertexArray();
    m_white = makeWhiteTexture();
    m_samplers[0] = makeSampler(GL_NEAREST);
    m_samplers[1] = makeSampler(GL_LINEAR);
    m_queued.reserve(kMaxQuads);
    m_frame.vertices.reserve(kMaxQuads * kQuadVertices);
    glEnable(GL_BLEND);
    glEnable(GL_SCISSOR_TEST);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glActiveTexture(GL_TEXTURE0);
    return glGetError() == GL_NO_ERROR;
}

void GlRenderer::setupVertexArray() {
    glGenVertexArrays(1, &m_vertexArray);
    glBindVertexArray(m_vertexArray);
    glGenBuffers(1, &m_vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, m_vertexBuffer);
    const GLsizei stride = sizeof(QuadVertex);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(QuadVertex, x)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(QuadVertex, u)));
    // 0xAARRGGBB words lie in memory as B, G, R, A.
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          reinterpret_cast<void*>(offsetof(QuadVertex, argb)));
}

void GlRenderer::resetState(u32 targetWidth, u32 targetHeight) {
    drawNow();
    m_lastHeld = false;
    m_targetWidth = targetWidth;
    m_targetHeight = targetHeight;
    for (int op = 0; op < kPrograms; ++op) {
        glUseProgram(m_programs[op]);
        glUniform2f(m_scaleUniforms[op], 2.0f / f32(targetWidth), -2.0f / f32(targetHeight));
    }
    m_state = State{{0, 0, i32(targetWidth), i32(targetHeight)}};
    m_clip = m_state.viewport;
    apply(m_state, true);
}

Result GlRenderer::setColourOp(u32 op) {
    if (op > COLOUR_DIFFUSE)
        return D3DERR_INVALIDCALL;
    m_state.colourOp = op;
    return S_OK;
}

Result GlRenderer::setBlendMode(u32 mode) {
    if (mode > BLEND_ADDITIVE)
        return D3DERR_INVALIDCALL;
    m_state.blendMode = mode;
    return S_OK;
}

void GlRenderer::apply(const State& s, bool force) {
    if (force || s.viewport != m_applied.viewport)
        applyScissor(s.viewport);
    if (force || s.colourOp != m_applied.colourOp)
        glUseProgram(m_programs[s.colourOp]);
    if (force || s.blendMode != m_applied.blendMode)
        glBlendFunc(GL_SRC_ALPHA, s.blendMode == BLEND_ADDITIVE ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    if (force || s.blending != m_applied.blending)
        s.blending ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
    if (force || s.linear != m_applied.linear)
        glBindSampler(0, m_samplers[s.linear ? 1 : 0]);
    m_applied = s;
}

void GlRenderer::applyScissor(const Rect& viewport) const {
    Rect clip = viewport.intersect(m_clip);
    if (clip.empty())
        glScissor(0, 0, 0, 0);
    else
        glScissor(clip.x, i32(m_targetHeight) - clip.y - clip.h, clip.w, clip.h);
}

// Coverage is decided at pixel centres; the margin allows for the rasteriser's rounding of positions.
// A corner that is not a number may touch anything.
GlRenderer::PixelBox GlRenderer::pixelBox(const QuadVertex (&c)[4]) {
    static constexpr f32 kMargin = 1.0f / 64, kFar = 1e9f;
    f32 left = kFar, right = -kFar, top = kFar, bottom = -kFar;
    for (const QuadVertex& v : c) {
        if (!std::isfinite(v.x) || !std::isfinite(v.y))
            return {-i32(kFar), -i32(kFar), i32(kFar), i32(kFar)};
        left = std::min(left, v.x);
        right = std::max(right, v.x);
        top = std::min(top, v.y);
        bottom = std::max(bottom, v.y);
    }
    auto first = [](f32 edge) { return i32(std::ceil(std::clamp(edge - 0.5f - kMargin, -kFar, kFar))); };
    auto last = [](f32 edge) { return i32(std::floor(std::clamp(edge - 0.5f + kMargin, -kFar, kFar))); };
    return {first(left), first(top), last(right), last(bottom)};
}

GlRenderer::State GlRenderer::quadState(const QuadVertex (&corners)[4], QuadHints hints) const {
    State state = m_state;
    state.linear = state.linear && !hints.texelExact;
    if (state.colourOp == COLOUR_MODULATE && allCorners(corners, 0xFFFFFFFF, 0xFFFFFFFF))
        state.colourOp = kTextureOnly;
    // The source's alpha is 1 at every pixel, so blending would only hand back the source.
    state.blending = !(state.blendMode == BLEND_ALPHA && hints.opaqueTexture &&
                       allCorners(corners, 0xFF000000, 0xFF000000));
    return state;
}

void GlRenderer::drawQuad(u32 texture, const QuadVertex (&corners)[4], QuadHints hints) {
    // No alpha at any corner is no alpha anywhere: both blendings leave every pixel as it was.
    if (allCorners(corners, 0xFF000000, 0))
        return;
    if (m_queued.size() >= kMaxQuads)
        flush();
    const State state = quadState(corners, hints);
    const PixelBox box = pixelBox(corners);
    // Without blending, a quad laid texel to pixel writes every pixel of its box inside the viewport:
    // what is queued beneath need not be drawn there.
    if (!state.blending && hints.texelExact) {
        const Rect clip = state.viewport.intersect(targetArea());
        if (!clip.empty()) {
            const PixelBox cover{std::max(box.left, clip.x), std::max(box.top, clip.y),
                                 std::min(box.right, clip.x + clip.w - 1),
                                 std::min(box.bottom, clip.y + clip.h - 1)};
            hideUnder(cover);
            m_frameCovers = m_frameCovers || coversTarget(cover);
        }
    }
    const u32 quad = u32(m_queued.size());
    const bool exact = hints.texelExact && allCorners(corners, 0xFFFFFFFF, corners[0].argb);
    m_queued.push_back({{corners[0], corners[1], corners[2], corners[3]}, box, kNoQuad, exact, false});
    if (Run* run = runToJoin(texture, state, m_queued.back().box)) {
        m_queued[run->lastQuad].next = quad;
        run->lastQuad = quad;
        ++run->quads;
    } else {
        m_runs.push_back({state, texture, quad, quad, 1});
    }
}

GlRenderer::Run* GlRenderer::runToJoin(u32 texture, const State& state, const PixelBox& box) {
    u32 budget = kMaxOverlapTests;
    for (size_t i = m_runs.size(); i-- > 0 && m_runs.size() - i <= kMaxRunsPassed;) {
        Run& run = m_runs[i];
        if (run.texture == texture && run.state == state)
            return &run;
        if (!runAvoids(run, box, budget))
            return nullptr;
    }
    return nullptr;
}

bool GlRenderer::coversTarget(const PixelBox& box) const {
    return box.left <= 0 && box.top <= 0 && box.right >= i32(m_targetWidth) - 1 &&
           box.bottom >= i32(m_targetHeight) - 1;
}

bool GlRenderer::runAvoids(const Run& run, const PixelBox& box, u32& budget) const {
    for (u32 q = run.firstQuad; q != kNoQuad; q = m_queued[q].next) {
        if (budget == 0 || m_queued[q].box.overlaps(box))
            return false;
        --budget;
    }
    return true;
}

void GlRenderer::hideUnder(const PixelBox& cover) {
    if (cover.left > cover.right || cover.top > cover.bottom)
        return;
    u32 budget = kMaxCoverTests;
    for (size_t r = m_runs.size(); r-- > 0 && budget > 0;)
        for (u32 q = m_runs[r].firstQuad; q != kNoQuad && budget > 0; q = m_queued[q].next, --budget)
            if (!m_queued[q].hidden && m_queued[q].box.overlaps(cover))
                trimQuad(m_runs[r], q, cover);
}

// A quad wholly under the cover is hidden; an exact one partly under it keeps the bands around the
// cover, as up to four quads of the same texels.
void GlRenderer::trimQuad(Run& run, u32 quad, const PixelBox& cover) {
    const QueuedQuad whole = m_queued[quad];
    const PixelBox& b = whole.box;
    const bool inside =
        cover.left <= b.left && b.right <= cover.right && cover.top <= b.top && b.bottom <= cover.bottom;
    if (!inside && !whole.exact)
        return;
    m_queued[quad].hidden = true;
    --run.quads;
    if (inside)
        return;
    const i32 top = std::max(b.top, cover.top), bottom = std::min(b.bottom, cover.bottom);
    const PixelBox pieces[] = {{b.left, b.top, b.right, cover.top - 1},
                               {b.left, cover.bottom + 1, b.right, b.bottom},
                               {b.left, top, cover.left - 1, bottom},
                               {cover.right + 1, top, b.right, bottom}};
    for (const PixelBox& piece : pieces)
        if (piece.left <= piece.right && piece.top <= piece.bottom)
            insertPiece(run, quad, whole, piece);
}

void GlRenderer::insertPiece(Run& run, u32 after, const QueuedQuad& whole, const PixelBox& piece) {
    const QuadVertex& first = whole.corners[0];
    const QuadVertex& last = whole.corners[2];
    auto u = [&](i32 x) { return first.u + (f32(x) - first.x) * (last.u - first.u) / (last.x - first.x); };
    auto v = [&](i32 y) { return first.v + (f32(y) - first.y) * (last.v - first.v) / (last.y - first.y); };
    const i32 l = piece.left, t = piece.top, r = piece.right + 1, b = piece.bottom + 1;
    const u32 argb = first.argb;
    const u32 index = u32(m_queued.size());
    m_queued.push_back({{{f32(l), f32(t), u(l), v(t), argb},
                         {f32(r), f32(t), u(r), v(t), argb},
                         {f32(r), f32(b), u(r), v(b), argb},
                         {f32(l), f32(b), u(l), v(b), argb}},
                        piece,
                        m_queued[after].next,
                        true,
                        false});
    m_queued[after].next = index;
    if (run.lastQuad == after)
        run.lastQuad = index;
    ++run.quads;
}

void GlRenderer::flush() {
    recordRuns();
    // Scenes drawn without a present would otherwise pile up in the record.
    if (m_frame.steps.size() >= kMaxFrameSteps || m_frame.vertices.size() >= kMaxFrameVertices)
        drawNow();
}

void GlRenderer::recordRuns() {
    for (const Run& run : m_runs) {
        if (run.quads == 0)
            continue;
        Step step{run.state, run.texture, GL_TRIANGLES, u32(m_frame.vertices.size())};
        for (u32 q = run.firstQuad; q != kNoQuad; q = m_queued[q].next)
            if (!m_queued[q].hidden)
                for (int corner : {0, 1, 2, 0, 2, 3})
                    m_frame.vertices.push_back(m_queued[q].corners[corner]);
        step.vertices = u32(m_frame.vertices.size()) - step.firstVertex;
        m_frame.steps.push_back(step);
    }
    m_queued.clear();
    m_runs.clear();
}

void GlRenderer::clear(u32 argb) {
    flush();
    Step step{m_state};
    step.clearArgb = argb;
    step.clears = true;
    m_frame.steps.push_back(step);
    m_frameCovers = m_frameCovers || m_state.viewport.intersect(targetArea()) == targetArea();
}

void GlRenderer::drawNow() {
    recordRuns();
    if (m_frame.steps.empty())
        return;
    drawRecord(m_frame, {});
    m_frame.clear();
    m_frameSplit = true;
}

void GlRenderer::endFrame() {
    recordRuns();
    // Drawn over whatever the back buffer held, a frame that overwrites all of it gives the same
    // pixels as the last one wherever the two draw the same: nothing of the older frames shows through.
    const bool whole = m_frameCovers && !m_frameSplit;
    if (whole && m_lastHeld && changedAreas(m_changed)) {
        if (m_changed.empty()) {
            ++m_framesKept;
        } else {
            drawRecord(m_frame, m_changed);
            ++m_framesDrawnInPart;
        }
    } else if (!m_frame.steps.empty()) {
        drawRecord(m_frame, {});
    }
    if (whole)
        keepAsLast();
    else
        m_lastHeld = false;
    m_frame.clear();
    m_frameCovers = m_frameSplit = false;
}

void GlRenderer::keepAsLast() {
    std::swap(m_last, m_frame);
    m_lastTextures.clear();
    for (const Step& step : m_last.steps)
        if (!step.clears)
            m_lastTextures.push_back(step.texture);
    std::sort(m_lastTextures.begin(), m_lastTextures.end());
    m_lastTextures.erase(std::unique(m_lastTextures.begin(), m_lastTextures.end()), m_lastTextures.end());
    m_lastHeld = true;
}

// Each step that draws otherwise than the last frame's step in its place adds the pixels it touches in
// either frame. False when the frames differ in more than their vertices and clear colours, or where
// drawing the areas again would cost about as much as drawing the whole frame.
bool GlRenderer::changedAreas(std::vector<Rect>& areas) const {
    areas.clear();
    if (m_frame.steps.size() != m_last.steps.size())
        return false;
    for (size_t i = 0; i < m_frame.steps.size(); ++i) {
        const Step &now = m_frame.steps[i], &before = m_last.steps[i];
        if (!now.drawsLike(before))
            return false;
        const bool sameVertices = now.vertices == before.vertices &&
                                  (now.vertices == 0 || std::memcmp(&m_frame.vertices[now.firstVertex],
                                                                    &m_last.vertices[before.firstVertex],
                                                                    now.vertices * sizeof(QuadVertex)) == 0);
        if (sameVertices && now.clearArgb == before.clearArgb)
            continue;
        addArea(areas, stepArea(m_frame, now));
        addArea(areas, stepArea(m_last, before));
    }
    if (areas.size() > kMaxChangedAreas) {
        Rect all = areas.front();
        for (const Rect& area : areas)
            all = unite(all, area);
        areas.assign(1, all);
    }
    i64 changed = 0;
    for (const Rect& area : areas)
        changed += i64(area.w) * area.h;
    return changed * 4 <= i64(m_targetWidth) * m_targetHeight * 3;
}

// A pixel is drawn where its centre lies inside a triangle; the margin of a pixel also holds the
// pixels of points and lines. A vertex that is not a number may touch anything.
Rect GlRenderer::stepArea(const Record& record, const Step& step) const {
    const Rect clip = step.state.viewport.intersect(targetArea());
    if (step.clears || step.vertices == 0)
        return step.clears ? clip : Rect{};
    f32 left = record.vertices[step.firstVertex].x, right = left;
    f32 top = record.vertices[step.firstVertex].y, bottom = top;
    for (u32 i = step.firstVertex; i < step.firstVertex + step.vertices; ++i) {
        const QuadVertex& v = record.vertices[i];
        if (!std::isfinite(v.x) || !std::isfinite(v.y))
            return clip;
        left = std::min(left, v.x);
        right = std::max(right, v.x);
        top = std::min(top, v.y);
        bottom = std::max(bottom, v.y);
    }
    auto pixel = [](f32 edge, u32 limit) { return i32(std::clamp(edge, -2.0f, f32(limit) + 2)); };
    const i32 x0 = pixel(std::floor(left) - 1, m_targetWidth),
              y0 = pixel(std::floor(top) - 1, m_targetHeight);
    const i32 x1 = pixel(std::ceil(right) + 1, m_targetWidth),
              y1 = pixel(std::ceil(bottom) + 1, m_targetHeight);
    return Rect{x0, y0, x1 - x0, y1 - y0}.intersect(clip);
}

// The whole record, or each of the areas in turn with everything outside it left alone.
void GlRenderer::drawRecord(const Record& record, const std::vector<Rect>& areas) {
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(record.vertices.size() * sizeof(QuadVertex)),
                 record.vertices.data(), GL_STREAM_DRAW);
    if (areas.empty())
        return drawSteps(record);
    const Rect target = m_clip;
    for (const Rect& area : areas) {
        m_clip = area;
        applyScissor(m_applied.viewport);
        drawSteps(record);
    }
    m_clip = target;
    applyScissor(m_applied.viewport);
}

void GlRenderer::drawSteps(const Record& record) {
    for (const Step& step : record.steps) {
        apply(step.state);
        if (step.clears) {
            auto unit = [argb = step.clearArgb](int shift) { return f32((argb >> shift) & 0xFF) / 255.0f; };
            glClearColor(unit(16), unit(8), unit(0), unit(24));
            glClear(GL_COLOR_BUFFER_BIT);
            continue;
        }
        glBindTexture(GL_TEXTURE_2D, step.texture);
        glDrawArrays(step.mode, GLint(step.firstVertex), GLsizei(step.vertices));
    }
}

void GlRenderer::Record::clear() {
    steps.clear();
    vertices.clear();
}

void GlRenderer::drawPicture(u32 texture, u32 width, u32 height, const Rect& target, i32 framebufferHeight) {
    const bool scaled = target.w != i32(width) || target.h != i32(height);
    glViewport(target.x, framebufferHeight - target.y - target.h, target.w, target.h);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_BLEND);
    glUseProgram(m_pictureProgram);
    glBindSampler(0, m_samplers[scaled ? 1 : 0]);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBindVertexArray(m_pictureArray);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    // The picture is the back buffer's own texture: it stays bound to no unit while it is drawn into.
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindVertexArray(m_vertexArray);
    glViewport(0, 0, GLsizei(m_targetWidth), GLsizei(m_targetHeight));
    glEnable(GL_SCISSOR_TEST);
    apply(m_state, true);
}

Result GlRenderer::drawPrimitives(PrimitiveType type, u32 primitiveCount, const TLVertex* vertices) {
    u64 count = vertexCount(type, primitiveCount);
    if (!vertices || count > kMaxPrimitiveVertices)
        return D3DERR_INVALIDCALL;
    if (primitiveCount == 0)
        return S_OK;
    flush();
    Step step{m_state, m_white, glMode(type), u32(m_frame.vertices.size()), u32(count)};
    for (u64 i = 0; i < count; ++i)
        m_frame.vertices.push_back({vertices[i].x + kPixelCentreShift, vertices[i].y + kPixelCentreShift,
                                    0.5f, 0.5f, vertices[i].diffuse});
    m_frame.steps.push_back(step);
    return S_OK;
}

} // namespace platform
