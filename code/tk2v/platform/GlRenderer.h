#pragma once
#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/Rect.h"
#include "tk2v/platform/Result.h"

#include <memory>
#include <vector>

namespace platform {

// The GL side of the device's drawing: a small program for each colour operation, the render state and
// a queue of textured quads. Queued quads are kept as runs that share texture and render state. A quad
// joins an earlier run of its texture and state when it touches no pixel of the quads queued after
// that run, so each pixel still sees its quads in the order they came.
//
// A frame's runs, clears and primitives are recorded and drawn together, in one vertex upload, when the
// frame is presented, or sooner when something cannot wait (a read-back, a texture changing). A frame
// that overwrites the whole target gives the same pixels as the frame before it wherever the two draw
// the same, with none of the last frame's textures changed since: only the areas where their drawings
// differ are drawn again, and a frame that differs nowhere is kept as it stands. An idle screen then
// draws only what moves, and nothing between the steps of its particle systems. Needs the context
// current.
class GlRenderer {
public:
    static std::unique_ptr<GlRenderer> create(u32 targetWidth, u32 targetHeight);
    ~GlRenderer();
    GlRenderer(const GlRenderer&) = delete;
    GlRenderer& operator=(const GlRenderer&) = delete;

    // Called before a texture's pixels change or it goes away, so queued quads still show the old ones
    // and a frame that shows it is drawn again.
    static void beforeTextureChange(u32 texture);
    // Textures belong to the current context; its renderer is the one whose queue may hold them.
    void makeCurrent() { s_current = this; }

    // The size of the render target that positions are given in; restores the default state. What was
    // recorded is drawn first.
    void resetState(u32 targetWidth, u32 targetHeight);
    void setViewport(const Rect& viewport) { m_state.viewport = viewport; }
    Rect viewport() const { return m_state.viewport; }
    Result setColourOp(u32 op);
    u32 colourOp() const { return m_state.colourOp; }
    Result setBlendMode(u32 mode);
    u32 blendMode() const { return m_state.blendMode; }
    void setLinearFilter(bool linear) { m_state.linear = linear; }
    bool linearFilter() const { return m_state.linear; }

    // What the device knows of a quad's texture and placement; each lets the quad be drawn more cheaply
    // to the same picture.
    struct QuadHints {
        // Texels one to a pixel on whole pixels: sampled without filtering whatever the filter setting.
        bool texelExact = false;
        // Every texel's alpha is the largest: with an opaque diffuse, normal blending gives the source.
        bool opaqueTexture = false;
    };
    void drawQuad(u32 texture, const QuadVertex (&corners)[4], QuadHints hints);
    Result drawPrimitives(PrimitiveType type, u32 primitiveCount, const TLVertex* vertices);
    // Fills the viewport.
    void clear(u32 argb);
    // Records the queued quads in the frame (and draws a frame that has grown very long).
    void flush();
    // Draws what the frame has recorded so far into the bound framebuffer.
    void drawNow();
    // Ends the frame: draws what it recorded where the back buffer does not hold that already.
    void endFrame();
    // Frames the back buffer kept whole rather than drawing them again, and those drawn again only
    // where they changed.
    u64 framesKept() const { return m_framesKept; }
    u64 framesDrawnInPart() const { return m_framesDrawnInPart; }
    // Draws a whole picture into a rectangle of the bound framebuffer (rows from the top, in a
    // framebuffer this many rows high), overwriting what is there; filtered only where it is scaled.
    // Comes after the frame's end: nothing recorded waits for the framebuffer it replaces.
    void drawPicture(u32 texture, u32 width, u32 height, const Rect& target, i32 framebufferHeight);

private:
    // Past the colour operations: the texture alone, which modulating by white gives.
    static constexpr u32 kTextureOnly = COLOUR_DIFFUSE + 1;

    struct State {
        Rect viewport;
        u32 colourOp = COLOUR_MODULATE, blendMode = BLEND_ALPHA;
        bool linear = true;
        bool blending = true;
        bool operator==(const State&) const = default;
    };
    // The pixels a quad may touch, rows and columns inclusive.
    struct PixelBox {
        i32 left, top, right, bottom;
        bool overlaps(const PixelBox& o) const {
            return left <= o.right && o.left <= right && top <= o.bottom && o.top <= bottom;
        }
    };
    static constexpr u32 kNoQuad = ~0u;
    struct QueuedQuad {
        QuadVertex corners[4];
        PixelBox box;
        u32 next; // the next quad of the same run
        // Upright, texels one to a pixel and one colour: any rectangle of its pixels is a quad of its own.
        bool exact;
        bool hidden; // overwritten entirely by a later opaque quad
    };
    // Quads of one texture and state, drawn together where the first of them came.
    struct Run {
        State state;
        u32 texture, firstQuad, lastQuad, quads;
    };
    // One drawing of a frame: a run of quads, immediate primitives or a clear, in the order they came.
    struct Step {
        State state;
        u32 texture = 0; // quads' texture, or the white one under primitives
        u32 mode = 0;    // the GL primitive mode
        u32 firstVertex = 0, vertices = 0;
        u32 clearArgb = 0;
        bool clears = false;
        // The same kind of drawing with the same state, whatever it draws.
        bool drawsLike(const Step& o) const {
            return state == o.state && texture == o.texture && mode == o.mode && clears == o.clears;
        }
    };
    // A frame's drawings and the vertices they draw from.
    struct Record {
        std::vector<Step> steps;
        std::vector<QuadVertex> vertices;
        void clear();
    };

    GlRenderer() = default;
    bool build();
    void setupVertexArray();
    void apply(const State& state, bool force = false);
    void applyScissor(const Rect& viewport) const;
    static PixelBox pixelBox(const QuadVertex (&corners)[4]);
    State quadState(const QuadVertex (&corners)[4], QuadHints hints) const;
    Run* runToJoin(u32 texture, const State& state, const PixelBox& box);
    bool runAvoids(const Run& run, const PixelBox& box, u32& budget) const;
    void hideUnder(const PixelBox& cover);
    void trimQuad(Run& run, u32 quad, const PixelBox& cover);
    void insertPiece(Run& run, u32 after, const QueuedQuad& whole, const PixelBox& piece);
    void recordRuns();
    Rect targetArea() const { return {0, 0, i32(m_targetWidth), i32(m_targetHeight)}; }
    bool coversTarget(const PixelBox& box) const;
    bool usesTexture(u32 texture) const;
    bool changedAreas(std::vector<Rect>& areas) const;
    Rect stepArea(const Record& record, const Step& step) const;
    void drawRecord(const Record& record, const std::vector<Rect>& areas);
    void drawSteps(const Record& record);
    void keepAsLast();

    // One program a colour operation, indexed by it, and the texture-only one.
    u32 m_programs[kTextureOnly + 1] = {};
    i32 m_scaleUniforms[kTextureOnly + 1] = {};
    u32 m_vertexArray = 0, m_vertexBuffer = 0, m_white = 0;
    u32 m_pictureProgram = 0, m_pictureArray = 0;
    u32 m_samplers[2] = {0, 0};
    u32 m_targetWidth = 0, m_targetHeight = 0;
    State m_state;                    // what the next drawing uses
    State m_applied;                  // what GL has now
    Rect m_clip;                      // drawing stays inside it as well as inside the viewport
    std::vector<QueuedQuad> m_queued; // in the order they came
    std::vector<Run> m_runs;
    Record m_frame; // what the frame recorded and has not drawn yet
    // Whether the frame overwrote the whole target, and whether part of it was drawn before its end.
    bool m_frameCovers = false, m_frameSplit = false;
    // The last frame, while the back buffer holds its drawing, and the textures it used.
    Record m_last;
    std::vector<u32> m_lastTextures;
    bool m_lastHeld = false;
    std::vector<Rect> m_changed; // where this frame differs from the last
    u64 m_framesKept = 0, m_framesDrawnInPart = 0;
    static GlRenderer* s_current;
};

} // namespace platform
