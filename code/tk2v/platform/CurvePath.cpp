#include "tk2v/platform/CurvePath.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {
// Bounds the pieces of one segment so that a hostile path cannot fill memory; only a segment that
// bends over some hundred thousand pixels would need more.
constexpr double kMaxPieces = 1024;

PointF toPointF(double x, double y) {
    return {f32(x), f32(y)};
}

double secondDifference(const PointF& a, const PointF& b, const PointF& c) {
    return std::hypot(double(a.x) - 2.0 * b.x + c.x, double(a.y) - 2.0 * b.y + c.y);
}

double distanceToChord(const PointF& q, const PointF& a, const PointF& b) {
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y, qx = double(q.x) - a.x,
                 qy = double(q.y) - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    const double t = lengthSquared > 0 ? std::clamp((qx * dx + qy * dy) / lengthSquared, 0.0, 1.0) : 0.0;
    return std::hypot(qx - t * dx, qy - t * dy);
}

// A segment whose controls lie within `flatness` of its chord stays there as a whole (it stays in the
// hull of its points), so the chord alone will do. Otherwise Wang's bound: this many equal parameter
// steps keep every chord within `flatness` of its piece.
std::size_t pieceCount(const PointF* p, f32 flatness) {
    if (distanceToChord(p[1], p[0], p[3]) <= flatness && distanceToChord(p[2], p[0], p[3]) <= flatness)
        return 1;
    double bend = std::max(secondDifference(p[0], p[1], p[2]), secondDifference(p[1], p[2], p[3]));
    double pieces = std::ceil(std::sqrt(0.75 * bend / flatness));
    if (!(pieces >= 1))
        return 1;
    return std::size_t(std::min(pieces, kMaxPieces));
}

PointF pointAt(const PointF* p, double t) {
    double s = 1 - t;
    double w0 = s * s * s, w1 = 3 * s * s * t, w2 = 3 * s * t * t, w3 = t * t * t;
    return toPointF(w0 * p[0].x + w1 * p[1].x + w2 * p[2].x + w3 * p[3].x,
                    w0 * p[0].y + w1 * p[1].y + w2 * p[2].y + w3 * p[3].y);
}

// Appends the points after the segment's start, ending exactly on its end point.
void flattenSegment(const PointF* p, f32 flatness, std::vector<PointF>& out) {
    std::size_t pieces = pieceCount(p, flatness);
    for (std::size_t k = 1; k < pieces; ++k)
        out.push_back(pointAt(p, double(k) / double(pieces)));
    out.push_back(p[3]);
}
} // namespace

void CurvePath::reset() {
    m_points.clear();
    m_kinds.clear();
    m_status = Status::Ok;
}

void CurvePath::addCurve(const Point* points, std::size_t count) {
    addSpline(points, count, false);
}

void CurvePath::addClosedCurve(const Point* points, std::size_t count) {
    addSpline(points, count, true);
}

void CurvePath::addBeziers(const Point* points, std::size_t count) {
    if (count < 4 || (count - 1) % 3 != 0) {
        m_status = Status::InvalidParameter;
        return;
    }
    m_points.push_back(toPointF(points[0].x, points[0].y));
    m_kinds.push_back(Start);
    for (std::size_t i = 1; i < count; i += 3)
        addSegment(toPointF(points[i].x, points[i].y), toPointF(points[i + 1].x, points[i + 1].y),
                   toPointF(points[i + 2].x, points[i + 2].y));
}

void CurvePath::addSpline(const Point* points, std::size_t count, bool closed) {
    if (count < 2) {
        m_status = Status::InvalidParameter;
        return;
    }
    // An open spline's end tangents take the end point itself as the missing neighbour.
    auto at = [&](std::ptrdiff_t i) -> const Point& {
        std::ptrdiff_t n = std::ptrdiff_t(count);
        if (closed)
            return points[(i % n + n) % n];
        return points[std::clamp<std::ptrdiff_t>(i, 0, n - 1)];
    };
    const double k = kTension / 3;
    m_points.push_back(toPointF(points[0].x, points[0].y));
    m_kinds.push_back(Start);
    std::size_t segments = closed ? count : count - 1;
    for (std::size_t s = 0; s < segments; ++s) {
        std::ptrdiff_t i = std::ptrdiff_t(s);
        const Point &before = at(i - 1), &from = at(i), &to = at(i + 1), &after = at(i + 2);
        addSegment(toPointF(from.x + k * (double(to.x) - before.x), from.y + k * (double(to.y) - before.y)),
                   toPointF(to.x - k * (double(after.x) - from.x), to.y - k * (double(after.y) - from.y)),
                   toPointF(to.x, to.y));
    }
}

void CurvePath::addSegment(const PointF& c1, const PointF& c2, const PointF& end) {
    m_points.insert(m_points.end(), {c1, c2, end});
    m_kinds.insert(m_kinds.end(), 3, Bezier);
}

void CurvePath::flatten(f32 flatness) {
    std::vector<PointF> points;
    std::vector<Kind> kinds;
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        if (m_kinds[i] == Bezier) {
            std::size_t before = points.size();
            flattenSegment(&m_points[i - 1], flatness, points);
            kinds.insert(kinds.end(), points.size() - before, Line);
            i += 2;
        } else {
            points.push_back(m_points[i]);
            kinds.push_back(m_kinds[i]);
        }
    }
    m_points.swap(points);
    m_kinds.swap(kinds);
}

} // namespace platform
