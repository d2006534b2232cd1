#include "tk2v/platform/GlRenderer.h"

#include <epoxy/gl.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {
namespace {

// Quads a flush sends at most; each goes as two triangles of its own six vertices, since on a
// software rasteriser a plain draw of a vertex range costs less per call than an indexed one.
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
// pixel, and the common modulate is only a product.
constexpr int kColourOps = COLOUR_DIFFUSE + 1;

// Indexed by colour operation: T x D, T + D, T - D, D - T, D.
const char* const kColourExpressions[kColourOps] = {"t.rgb * diffuse.rgb", "min(t.rgb + diffuse.rgb, 1.0)",
                                                    "max(t.rgb - diffuse.rgb, 0.0)",
                                                    "max(diffuse.rgb - t.rgb, 0.0)", "diffuse.rgb"};

std::string fragmentShader(const char* colour) {
    return std::string(R"(#version 330 core
in vec2 uv;
in vec4 diffuse;
uniform sampler2D picture;
out vec4 fragment;
void main() {
    vec4 t = texture(picture, uv);
    fragment = vec4()") +
           colour + R"(, t.a * diffuse.a);
}
)";
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
    glDeleteVertexArrays(1, &m_vertexArray);
    glDeleteBuffers(1, &m_vertexBuffer);
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
    for (int op = 0; op < kColourOps; ++op) {
        GLuint vertex = compile(GL_VERTEX_SHADER, kVertexShader);
        GLuint fragment = compile(GL_FRAGMENT_SHADER, fragmentShader(kColourExpressions[op]).c_str());
        m_programs[op] = vertex && fragment ? link(vertex, fragment) : 0;
        if (!m_programs[op])
            return false;
        glUseProgram(m_programs[op]);
        glUniform1i(glGetUniformLocation(m_programs[op], "picture"), 0);
        m_scaleUniforms[op] = glGetUniformLocation(m_programs[op], "scale");
    }
    setupVertexArray();
    m_white = makeWhiteTexture();
    m_samplers[0] = makeSampler(GL_NEAREST);
    m_samplers[1] = makeSampler(GL_LINEAR);
    m_quads.reserve(kMaxQuads * kQuadVertices);
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
    flush();
    m_targetWidth = targetWidth;
    m_targetHeight = targetHeight;
    for (int op = 0; op < kColourOps; ++op) {
        glUseProgram(m_programs[op]);
        glUniform2f(m_scaleUniforms[op], 2.0f / f32(targetWidth), -2.0f / f32(targetHeight));
    }
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
    if (force || s.colourOp != m_applied.colourOp)
        glUseProgram(m_programs[s.colourOp]);
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

void GlRenderer::drawQuad(u32 texture, const QuadVertex (&corners)[4], bool texelExact) {
    if (m_quads.size() >= kMaxQuads * kQuadVertices)
        flush();
    u32 quad = u32(m_quads.size() / kQuadVertices);
    State state = m_state;
    state.linear = state.linear && !texelExact;
    if (m_runs.empty() || m_runs.back().texture != texture || !(m_runs.back().state == state))
        m_runs.push_back({state, texture, quad, 0});
    ++m_runs.back().quads;
    for (int corner : {0, 1, 2, 0, 2, 3})
        m_quads.push_back(corners[corner]);
}

void GlRenderer::flush() {
    if (m_runs.empty())
        return;
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(m_quads.size() * sizeof(QuadVertex)), m_quads.data(),
                 GL_STREAM_DRAW);
    for (const Run& run : m_runs) {
        apply(run.state);
        glBindTexture(GL_TEXTURE_2D, run.texture);
        glDrawArrays(GL_TRIANGLES, GLint(run.firstQuad * kQuadVertices), GLsizei(run.quads * kQuadVertices));
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
