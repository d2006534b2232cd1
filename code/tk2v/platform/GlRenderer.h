#pragma once
#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/Rect.h"
#include "tk2v/platform/Result.h"

#include <memory>
#include <vector>

namespace platform {

// The GL side of the device's drawing: a small program for each colour operation, the render state and
// a queue of textured quads. Queued quads go up in one vertex upload and are drawn as runs that share
// texture and render state, in the order they came; the queue is drawn before anything that cannot
// wait for it (an immediate primitive, a clear, a read-back, a texture changing). Needs the context
// current.
class GlRenderer {
public:
    static std::unique_ptr<GlRenderer> create(u32 targetWidth, u32 targetHeight);
    ~GlRenderer();
    GlRenderer(const GlRenderer&) = delete;
    GlRenderer& operator=(const GlRenderer&) = delete;

    // Called before a texture's pixels change or it goes away, so queued quads still show the old ones.
    static void beforeTextureChange(u32 texture);
    // Textures belong to the current context; its renderer is the one whose queue may hold them.
    void makeCurrent() { s_current = this; }

    // The size of the render target that positions are given in; restores the default state.
    void resetState(u32 targetWidth, u32 targetHeight);
    void setViewport(const Rect& viewport) { m_state.viewport = viewport; }
    Rect viewport() const { return m_state.viewport; }
    Result setColourOp(u32 op);
    u32 colourOp() const { return m_state.colourOp; }
    Result setBlendMode(u32 mode);
    u32 blendMode() const { return m_state.blendMode; }
    void setLinearFilter(bool linear) { m_state.linear = linear; }
    bool linearFilter() const { return m_state.linear; }

    // `texelExact`: the quad lays texels one to a pixel on whole pixels, so it is sampled without
    // filtering whatever the filter setting; the picture is the same and far cheaper to make.
    void drawQuad(u32 texture, const QuadVertex (&corners)[4], bool texelExact = false);
    Result drawPrimitives(PrimitiveType type, u32 primitiveCount, const TLVertex* vertices);
    // Fills the viewport.
    void clear(u32 argb);
    void flush();

private:
    struct State {
        Rect viewport;
        u32 colourOp = COLOUR_MODULATE, blendMode = BLEND_ALPHA;
        bool linear = true;
        bool operator==(const State&) const = default;
    };
    struct Run {
        State state;
        u32 texture, firstQuad, quads;
    };

    GlRenderer() = default;
    bool build();
    void setupVertexArray();
    void apply(const State& state, bool force = false);
    void applyScissor(const Rect& viewport) const;

    // One program a colour operation, indexed by it.
    u32 m_programs[COLOUR_DIFFUSE + 1] = {};
    i32 m_scaleUniforms[COLOUR_DIFFUSE + 1] = {};
    u32 m_vertexArray = 0, m_vertexBuffer = 0, m_white = 0;
    u32 m_samplers[2] = {0, 0};
    u32 m_targetWidth = 0, m_targetHeight = 0;
    State m_state;   // what the next drawing uses
    State m_applied; // what GL has now
    std::vector<QuadVertex> m_quads;
    std::vector<Run> m_runs;
    std::vector<QuadVertex> m_primitive;
    static GlRenderer* s_current;
};

} // namespace platform
