#include "tk2v/platform/GlRenderer.h"

#include <epoxy/gl.h>

#include <cstddef>
#include <cstdint>

namespace platform {
namespace {

// 16-bit indices reach 65536 vertices.
constexpr u32 kMaxQuads = 16384;
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

// c = clamp(w.x T D + w.y T + w.z D): one expression for every colour operation, since a software
// rasteriser pays for every branch of a shader on every pixel.
const char* const kFragmentShader = R"(#version 330 core
in vec2 uv;
in vec4 diffuse;
uniform sampler2D picture;
uniform vec3 weights;
out vec4 fragment;
void main() {
    vec4 t = texture(picture, uv);
    vec3 c = clamp(weights.x * t.rgb * diffuse.rgb + weights.y * t.rgb + weights.z * diffuse.rgb, 0.0, 1.0);
    fragment = vec4(c, t.a * diffuse.a);
}
)";

struct Weights {
    f32 product, texture, diffuse;
};

// Indexed by colour operation: T x D, T + D, T - D, D - T, D.
constexpr Weights kWeights[] = {{1, 0, 0}, {0, 1, 1}, {0, 1, -1}, {0, -1, 1}, {0, 0, 1}};

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
    glDeleteProgram(m_program);
    glDeleteVertexArrays(1, &m_vertexArray);
    glDeleteBuffers(1, &m_vertexBuffer);
    glDeleteBuffers(1, &m_indexBuffer);
    glDeleteTextures(1, &m_white);
    glDeleteSamplers(2, m_samplers);
}

void GlRenderer::beforeTextureChange(u32 texture) {
    if (!s_current)
        return;
    for (const Run& run : s_current->m_runs)
        if (run.texture == texture)
            return s_current->flush();
}

bool GlRenderer::build() {
    GLuint vertex = compile(GL_VERTEX_SHADER, kVertexShader);
    GLuint fragment = compile(GL_FRAGMENT_SHADER, kFragmentShader);
    m_program = vertex && fragment ? link(vertex, fragment) : 0;
    if (!m_program)
        return false;
    glUseProgram(m_program);
    glUniform1i(glGetUniformLocation(m_program, "picture"), 0);
    m_scaleUniform = glGetUniformLocation(m_program, "scale");
    m_weightsUniform = glGetUniformLocation(m_program, "weights");
    setupVertexArray();
    m_white = makeWhiteTexture();
    m_samplers[0] = makeSampler(GL_NEAREST);
    m_samplers[1] = makeSampler(GL_LINEAR);
    m_quads.reserve(kMaxQuads * 4);
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
    std::vector<u16> indices;
    indices.reserve(kMaxQuads * 6);
    for (u32 q = 0; q < kMaxQuads; ++q)
        for (u32 corner : {0u, 1u, 2u, 0u, 2u, 3u})
            indices.push_back(u16(q * 4 + corner));
    glGenBuffers(1, &m_indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(u16)), indices.data(),
                 GL_STATIC_DRAW);
}

void GlRenderer::resetState(u32 targetWidth, u32 targetHeight) {
    flush();
    m_targetWidth = targetWidth;
    m_targetHeight = targetHeight;
    glUniform2f(m_scaleUniform, 2.0f / f32(targetWidth), -2.0f / f32(targetHeight));
    m_state = State{{0, 0, i32(targetWidth), i32(targetHeight)}};
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
    if (force || s.colourOp != m_applied.colourOp) {
        const Weights& w = kWeights[s.colourOp];
        glUniform3f(m_weightsUniform, w.product, w.texture, w.diffuse);
    }
    if (force || s.blendMode != m_applied.blendMode)
        glBlendFunc(GL_SRC_ALPHA, s.blendMode == BLEND_ADDITIVE ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    if (force || s.linear != m_applied.linear)
        glBindSampler(0, m_samplers[s.linear ? 1 : 0]);
    m_applied = s;
}

void GlRenderer::applyScissor(const Rect& viewport) const {
    Rect clip = viewport.intersect({0, 0, i32(m_targetWidth), i32(m_targetHeight)});
    if (clip.empty())
        glScissor(0, 0, 0, 0);
    else
        glScissor(clip.x, i32(m_targetHeight) - clip.y - clip.h, clip.w, clip.h);
}

void GlRenderer::drawQuad(u32 texture, const QuadVertex (&corners)[4]) {
    if (m_quads.size() >= kMaxQuads * 4)
        flush();
    u32 quad = u32(m_quads.size() / 4);
    if (m_runs.empty() || m_runs.back().texture != texture || !(m_runs.back().state == m_state))
        m_runs.push_back({m_state, texture, quad, 0});
    ++m_runs.back().quads;
    m_quads.insert(m_quads.end(), corners, corners + 4);
}

void GlRenderer::flush() {
    if (m_runs.empty())
        return;
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(m_quads.size() * sizeof(QuadVertex)), m_quads.data(),
                 GL_STREAM_DRAW);
    for (const Run& run : m_runs) {
        apply(run.state);
        glBindTexture(GL_TEXTURE_2D, run.texture);
        glDrawElements(GL_TRIANGLES, GLsizei(run.quads * 6), GL_UNSIGNED_SHORT,
                       reinterpret_cast<void*>(uintptr_t(run.firstQuad) * 6 * sizeof(u16)));
    }
    m_quads.clear();
    m_runs.clear();
}

void GlRenderer::clear(u32 argb) {
    flush();
    apply(m_state);
    auto unit = [argb](int shift) { return f32((argb >> shift) & 0xFF) / 255.0f; };
    glClearColor(unit(16), unit(8), unit(0), unit(24));
    glClear(GL_COLOR_BUFFER_BIT);
}

Result GlRenderer::drawPrimitives(PrimitiveType type, u32 primitiveCount, const TLVertex* vertices) {
    u64 count = vertexCount(type, primitiveCount);
    if (!vertices || count > kMaxPrimitiveVertices)
        return D3DERR_INVALIDCALL;
    if (primitiveCount == 0)
        return S_OK;
    flush();
    apply(m_state);
    m_primitive.clear();
    for (u64 i = 0; i < count; ++i)
        m_primitive.push_back({vertices[i].x + kPixelCentreShift, vertices[i].y + kPixelCentreShift, 0.5f,
                               0.5f, vertices[i].diffuse});
    glBindTexture(GL_TEXTURE_2D, m_white);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(count * sizeof(QuadVertex)), m_primitive.data(), GL_STREAM_DRAW);
    glDrawArrays(glMode(type), 0, GLsizei(count));
    return S_OK;
}

} // namespace platform
