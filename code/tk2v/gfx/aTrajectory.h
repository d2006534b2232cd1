#pragma once
#include "tk2v/platform/CurvePath.h"
#include "tk2v/util/types.h"

#include <memory>
#include <string>
#include <vector>

class aGDI;

// A path through a few control points, smoothed into a curve, flattened into a polyline and
// followed by a mover at whatever distance per step the owner gives.
class aTrajectory {
public:
    enum Mode : u32 { Curve = 0, Beziers = 1 };
    // Results of `advance`.
    enum State : u32 { Moving = 0, Finished = 1, Idle = 2, StopReached = 3 };
    // Point types, one per control point.
    enum PointKind : u32 { OnPath = 0, BezierControl = 3 };

    using ControlPoint = platform::Point;
    struct PointType {
        u32 type = OnPath;
        u32 reserved = 0;
    };

    aTrajectory();
    // A copy draws on a canvas of its own.
    aTrajectory(const aTrajectory& other);
    aTrajectory& operator=(const aTrajectory& other);
    ~aTrajectory();

    // False when the file cannot be read (the file layer logs why) or is shorter than its block sizes
    // say (logged as an incorrect file); the trajectory is then left as it was.
    bool load(const std::string& fileName);

    void addPoint(i32 x, i32 y);
    // The control points as they stand, controls of a Bezier path included, without the smoothing that
    // addPoint does; the path is rebuilt once. A path read back from a record takes its points so.
    void setPoints(const std::vector<ControlPoint>& points);
    // False for a bad index; in Bezier mode true without moving anything.
    bool setPoint(u32 index, i32 x, i32 y);
    void clear();
    void setMode(u32 mode);
    bool getPoint(u32 index, i32& x, i32& y) const;
    u32 getPointCount() const { return u32(m_points.size()); }

    void startMove();
    State advance(double distance);
    void getPosition(f32& x, f32& y, double* heading = nullptr) const;
    // Result 3 of `advance` once the mover has passed `distance` along flattened segment `segment`.
    void setStopPoint(i32 segment, double distance);
    double getLength();
    const std::vector<platform::PointF>& getFlattenedPoints() const { return m_flattened; }

    // Draw mode 1 draws each line from where the canvas's pen stands.
    void setDrawMode(u32 mode) { m_drawMode = mode; }
    void setShowPoints(bool show) { m_showPoints = show; }
    // The polyline in white lines, then the control points when shown; between begin and end of scene.
    void draw();
    void drawPoints();

private:
    struct Header {
        u32 mode = Curve;
        u8 closed = 0;
    };

    bool read(const u8* data, u32 size, const std::string& fileName);
    void smoothControls();
    void rebuildPath();
    void placeAtStart();
    void enterSegment();
    State finishMove();
    bool passedStopPoint() const;
    aGDI& canvas();

    Header m_header;
    std::vector<ControlPoint> m_points;
    std::vector<PointType> m_types;
    std::vector<platform::PointF> m_flattened;
    double m_length = 0;

    f32 m_x = 0, m_y = 0;
    double m_heading = 0;
    i32 m_segment = -1;
    double m_distance = 0, m_segmentLength = 0;
    bool m_moving = false;
    i32 m_stopSegment = -1;
    double m_stopDistance = 0;

    u32 m_drawMode = 0;
    bool m_showPoints = true;
    // Made at the first draw: most trajectories are only followed, many are copies.
    std::unique_ptr<aGDI> m_canvas;
};
