#pragma once
#include "tk2v/platform/Rect.h"
#include "tk2v/util/types.h"

#include <cstddef>
#include <vector>

namespace platform {

struct PointF {
    f32 x = 0, y = 0;
    bool operator==(const PointF&) const = default;
};

// A path of figures built from curves, kept as cubic Bezier segments until it is flattened into
// lines. A bad argument leaves the path as it was and is only recorded in the status, so that a
// caller can go on building and read an empty or partial result.
class CurvePath {
public:
    enum class Status { Ok, InvalidParameter };

    // The tension of the cardinal splines; 0 would give straight lines through the points.
    static constexpr double kTension = 0.5;

    void reset();

    // A cardinal spline through the points as a new open figure; needs at least 2 points.
    void addCurve(const Point* points, std::size_t count);
    // The same spline closed back to its first point; needs at least 2 points.
    void addClosedCurve(const Point* points, std::size_t count);
    // Cubic Bezier segments as a new open figure: a start point, then two control points and an end
    // point per segment, so 1 + 3n points with n at least 1.
    void addBeziers(const Point* points, std::size_t count);

    // Replaces every curve by a polyline that stays within `flatness` of it; the points on the path
    // (spline points, segment ends) stay exact.
    void flatten(f32 flatness);

    std::size_t getPointCount() const { return m_points.size(); }
    const std::vector<PointF>& getPoints() const { return m_points; }
    Status getStatus() const { return m_status; }

private:
    // Kinds of points; a Bezier segment is three Bezier points after a point on the path.
    enum Kind : u8 { Start, Line, Bezier };

    void addSpline(const Point* points, std::size_t count, bool closed);
    void addSegment(const PointF& c1, const PointF& c2, const PointF& end);

    std::vector<PointF> m_points;
    std::vector<Kind> m_kinds;
    Status m_status = Status::Ok;
};

} // namespace platform
