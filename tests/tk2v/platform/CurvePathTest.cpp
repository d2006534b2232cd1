#include "tk2v/platform/CurvePath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

using platform::CurvePath;
using platform::Point;
using platform::PointF;

namespace {
struct Vec {
    double x, y;
};

Vec at(const std::vector<Point>& points, std::ptrdiff_t i, bool closed) {
    const std::ptrdiff_t n = std::ptrdiff_t(points.size());
    const Point& p = closed ? points[(i % n + n) % n] : points[std::clamp<std::ptrdiff_t>(i, 0, n - 1)];
    return {double(p.x), double(p.y)};
}

// The Bezier control polygon of a cardinal spline of tension 0.5: the controls around point i lie at
// P(i) -/+ (0.5 / 3)(P(i + 1) - P(i - 1)), an open end counting as its own neighbour.
std::vector<Vec> splineControls(const std::vector<Point>& points, bool closed) {
    const double k = 0.5 / 3;
    std::vector<Vec> out{at(points, 0, closed)};
    const std::ptrdiff_t segments = std::ptrdiff_t(points.size()) - (closed ? 0 : 1);
    for (std::ptrdiff_t i = 0; i < segments; ++i) {
        Vec before = at(points, i - 1, closed), from = at(points, i, closed);
        Vec to = at(points, i + 1, closed), after = at(points, i + 2, closed);
        out.push_back({from.x + k * (to.x - before.x), from.y + k * (to.y - before.y)});
        out.push_back({to.x - k * (after.x - from.x), to.y - k * (after.y - from.y)});
        out.push_back(to);
    }
    return out;
}

std::vector<Vec> asVec(const std::vector<Point>& points) {
    std::vector<Vec> out;
    for (const Point& p : points)
        out.push_back({double(p.x), double(p.y)});
    return out;
}

// The true curve of a 1 + 3n control polygon, sampled finely enough to stand for it.
std::vector<Vec> sampleBeziers(const std::vector<Vec>& c) {
    std::vector<Vec> out{c[0]};
    for (std::size_t s = 0; s + 3 < c.size(); s += 3)
        for (int k = 1; k <= 2000; ++k) {
            double t = k / 2000.0, u = 1 - t;
            double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
            out.push_back({w0 * c[s].x + w1 * c[s + 1].x + w2 * c[s + 2].x + w3 * c[s + 3].x,
                           w0 * c[s].y + w1 * c[s + 1].y + w2 * c[s + 2].y + w3 * c[s + 3].y});
        }
    return out;
}

double distanceToSegment(Vec q, Vec a, Vec b) {
    double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? std::clamp(((q.x - a.x) * dx + (q.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(q.x - a.x - t * dx, q.y - a.y - t * dy);
}

double distanceToPolyline(Vec q, const std::vector<Vec>& line) {
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 1; i < line.size(); ++i)
        best = std::min(best, distanceToSegment(q, line[i - 1], line[i]));
    return best;
}

std::vector<Vec> flattened(const CurvePath& path) {
    std::vector<Vec> out;
    for (const PointF& p : path.getPoints())
        out.push_back({p.x, p.y});
    return out;
}

// Both ways: no part of the curve is farther than the flatness from the polyline, and no point or
// chord middle of the polyline is farther than that from the curve.
void expectWithinFlatness(const std::vector<Vec>& curve, const std::vector<Vec>& line) {
    const double tolerance = 0.25 + 1e-3;
    double worst = 0;
    for (std::size_t i = 0; i < curve.size(); i += 7)
        worst = std::max(worst, distanceToPolyline(curve[i], line));
    for (std::size_t i = 1; i < line.size(); ++i) {
        worst = std::max(worst, distanceToPolyline(line[i], curve));
        Vec middle{(line[i - 1].x + line[i].x) / 2, (line[i - 1].y + line[i].y) / 2};
        worst = std::max(worst, distanceToPolyline(middle, curve));
    }
    EXPECT_LE(worst, tolerance);
}

bool contains(const std::vector<PointF>& points, const Point& p) {
    return std::find(points.begin(), points.end(), PointF{f32(p.x), f32(p.y)}) != points.end();
}
} // namespace

TEST(CurvePath, TwoPointCurveIsItsChord) {
    CurvePath path;
    path.addCurve(std::vector<Point>{{10, 20}, {110, 70}}.data(), 2);
    path.flatten(0.25f);
    EXPECT_EQ(path.getStatus(), CurvePath::Status::Ok);
    EXPECT_EQ(path.getPoints(), (std::vector<PointF>{{10, 20}, {110, 70}}));
}

struct SplineCase {
    const char* name;
    std::vector<Point> points;
    bool closed;
};

void PrintTo(const SplineCase& c, std::ostream* os) {
    *os << c.name;
}

class CardinalSpline : public testing::TestWithParam<SplineCase> {};

TEST_P(CardinalSpline, PassesThroughItsPointsWithinFlatness) {
    const SplineCase& c = GetParam();
    CurvePath path;
    if (c.closed)
        path.addClosedCurve(c.points.data(), c.points.size());
    else
        path.addCurve(c.points.data(), c.points.size());
    path.flatten(0.25f);
    const std::vector<PointF>& out = path.getPoints();
    ASSERT_GT(out.size(), c.points.size());
    EXPECT_EQ(out.front(), (PointF{f32(c.points[0].x), f32(c.points[0].y)}));
    const Point& last = c.closed ? c.points.front() : c.points.back();
    EXPECT_EQ(out.back(), (PointF{f32(last.x), f32(last.y)}));
    for (const Point& p : c.points)
        EXPECT_TRUE(contains(out, p)) << p.x << "," << p.y;
    expectWithinFlatness(sampleBeziers(splineControls(c.points, c.closed)), flattened(path));
}

INSTANTIATE_TEST_SUITE_P(
    Splines, CardinalSpline,
    testing::Values(SplineCase{"Open", {{0, 0}, {100, 50}, {200, 0}, {300, 100}}, false},
                    SplineCase{"Closed", {{100, 100}, {400, 120}, {380, 500}, {90, 420}}, true},
                    SplineCase{"Hairpin", {{0, 0}, {600, 10}, {0, 20}, {600, 30}}, false},
                    SplineCase{"ClosedPair", {{-50, -50}, {250, 150}}, true},
                    SplineCase{"Wide", {{-3000, 0}, {0, 2500}, {4000, -1200}, {5000, 3000}}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CurvePath, BeziersFollowTheirControlPolygon) {
    const std::vector<Point> points{{0, 0},      {0, 300},    {400, 300}, {400, 0},
                                    {400, -200}, {700, -100}, {800, 0}};
    CurvePath path;
    path.addBeziers(points.data(), points.size());
    path.flatten(0.25f);
    EXPECT_EQ(path.getStatus(), CurvePath::Status::Ok);
    const std::vector<PointF>& out = path.getPoints();
    EXPECT_EQ(out.front(), (PointF{0, 0}));
    EXPECT_TRUE(contains(out, {400, 0}));
    EXPECT_EQ(out.back(), (PointF{800, 0}));
    expectWithinFlatness(sampleBeziers(asVec(points)), flattened(path));
}

TEST(CurvePath, CountsThatMakeNoPathLeaveItEmpty) {
    const std::vector<Point> points(8, Point{5, 5});
    for (std::size_t count : {0u, 1u, 2u, 3u, 5u, 6u, 8u}) {
        CurvePath path;
        path.addBeziers(points.data(), count);
        path.flatten(0.25f);
        EXPECT_EQ(path.getStatus(), CurvePath::Status::InvalidParameter) << count;
        EXPECT_EQ(path.getPointCount(), 0u) << count;
    }
    for (std::size_t count : {0u, 1u}) {
        CurvePath path;
        path.addCurve(points.data(), count);
        path.addClosedCurve(points.data(), count);
        EXPECT_EQ(path.getStatus(), CurvePath::Status::InvalidParameter) << count;
        EXPECT_EQ(path.getPointCount(), 0u) << count;
    }
}

TEST(CurvePath, ResetEmptiesPathAndStatus) {
    const std::vector<Point> points{{0, 0}, {100, 100}};
    CurvePath path;
    path.addBeziers(points.data(), points.size());
    path.addCurve(points.data(), points.size());
    path.reset();
    EXPECT_EQ(path.getStatus(), CurvePath::Status::Ok);
    EXPECT_EQ(path.getPointCount(), 0u);
}

TEST(CurvePath, ExtremeCoordinatesStayBounded) {
    const i32 lo = std::numeric_limits<i32>::min(), hi = std::numeric_limits<i32>::max();
    const std::vector<Point> points{{lo, lo}, {hi, lo}, {lo, hi}, {hi, hi}, {0, 0}};
    CurvePath path;
    path.addClosedCurve(points.data(), points.size());
    path.flatten(0.25f);
    EXPECT_GT(path.getPointCount(), points.size());
    EXPECT_LE(path.getPointCount(), 1 + points.size() * 1024);
    for (const PointF& p : path.getPoints())
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
}
