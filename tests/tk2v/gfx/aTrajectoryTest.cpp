#include "tk2v/gfx/aTrajectory.h"
#include "SceneCapture.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using platform::PointF;

namespace {

struct FilePoint {
    i32 x, y;
    u32 type;
};

void putU32(std::string& out, u32 value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(char(value >> (8 * i)));
}

// A trajectory file; the size words can be overridden to disagree with the blocks written.
struct TrajectoryFile {
    // A constructor rather than an aggregate: GCC 12 warns falsely about the vector of aggregates
    // built inside the case table's initializer list.
    TrajectoryFile(u32 mode = 0, bool closed = false, std::vector<FilePoint> points = {}, u32 blockCount = 3,
                   u32 headerSize = 8, i64 pointBytes = -1, i64 typeBytes = -1)
        : mode(mode), closed(closed), points(std::move(points)), blockCount(blockCount),
          headerSize(headerSize), pointBytes(pointBytes), typeBytes(typeBytes) {}

    u32 mode;
    bool closed;
    std::vector<FilePoint> points;
    u32 blockCount;
    u32 headerSize;
    i64 pointBytes, typeBytes;

    std::string bytes() const {
        std::string out;
        putU32(out, blockCount);
        putU32(out, headerSize);
        putU32(out, u32(pointBytes >= 0 ? pointBytes : i64(points.size() * 8)));
        putU32(out, u32(typeBytes >= 0 ? typeBytes : i64(points.size() * 8)));
        for (u32 i = 3; i < blockCount; ++i)
            putU32(out, 0);
        putU32(out, mode);
        out.push_back(char(closed));
        out.append(headerSize - 5, '\0');
        for (const FilePoint& p : points) {
            putU32(out, u32(p.x));
            putU32(out, u32(p.y));
        }
        for (const FilePoint& p : points) {
            putU32(out, p.type);
            putU32(out, 0);
        }
        return out;
    }
};

// Bezier segments whose controls sit on their ends are straight: the polyline (0,0) (100,0) (100,50).
const std::vector<FilePoint> kCorner{{0, 0, 0},   {0, 0, 3},    {100, 0, 3}, {100, 0, 0},
                                     {100, 0, 3}, {100, 50, 3}, {100, 50, 0}};

aTrajectory corner() {
    aTrajectory t;
    for (const FilePoint& p : kCorner)
        t.addPoint(p.x, p.y);
    t.setMode(aTrajectory::Beziers);
    return t;
}

struct Pose {
    f32 x, y;
    double heading;
};

Pose pose(const aTrajectory& t) {
    Pose p{};
    t.getPosition(p.x, p.y, &p.heading);
    return p;
}

void expectPose(const aTrajectory& t, f32 x, f32 y, double heading) {
    const Pose p = pose(t);
    EXPECT_NEAR(p.x, x, 1e-3);
    EXPECT_NEAR(p.y, y, 1e-3);
    EXPECT_NEAR(p.heading, heading, 1e-6);
}

constexpr double kDown = std::numbers::pi / 2;

} // namespace

TEST(aTrajectoryTest, ReadsPointsAndModeFromAFile) {
    TempDir dir;
    TrajectoryFile file{1, false, kCorner};
    dir.write("corner.traj", file.bytes());
    aTrajectory t;
    ASSERT_TRUE(t.load(dir.file("corner.traj")));
    ASSERT_EQ(t.getPointCount(), 7u);
    i32 x = 0, y = 0;
    EXPECT_TRUE(t.getPoint(5, x, y));
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 50);
    EXPECT_FALSE(t.getPoint(7, x, y));
    EXPECT_EQ(t.getFlattenedPoints(), (std::vector<PointF>{{0, 0}, {100, 0}, {100, 50}}));
    EXPECT_DOUBLE_EQ(t.getLength(), 150);
    expectPose(t, 0, 0, 0);
}

TEST(aTrajectoryTest, ReaderLogsOddSizesAndRejectsFilesShorterThanTheirBlocks) {
    TempDir dir;
    struct Case {
        const char* name;
        TrajectoryFile file;
        std::optional<std::string> bytes; // written instead of the file's
        bool loads;
        std::vector<std::string> messages;
        u32 points;
    };
    const std::string possibly = "aTrajectory. Possibly incorrect file, try converting...";
    const std::string structure = "aTrajectory. Incorrect structure size, try converting...";
    const std::string incorrect = "aTrajectory. Incorrect file: ";
    std::string hugeBlockCount = TrajectoryFile{0, false, kCorner}.bytes();
    hugeBlockCount[3] = 0x40;
    const std::vector<Case> cases{
        {"blocks", {1, false, kCorner, 4}, {}, true, {possibly}, 7},
        {"header", {1, false, kCorner, 3, 12}, {}, true, {structure}, 7},
        {"shortHeader", {0, false, {}, 3, 5}, {}, true, {structure}, 0},
        {"noPoints", {}, {}, true, {}, 0},
        {"points", {0, false, kCorner, 3, 8, 8000}, {}, false, {incorrect}, 0},
        {"hugeTypes", {0, false, kCorner, 3, 8, -1, 0xFFFFFFF8}, {}, false, {incorrect}, 0},
        {"hugeBlocks", {}, hugeBlockCount, false, {possibly, incorrect}, 0},
        {"stub", {}, std::string("\3\0\0\0\x08\0\0", 7), false, {incorrect}, 0},
        {"zeroBytes", {}, std::string(), false, {}, 0},
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.name) + ".traj";
        dir.write(name, c.bytes ? *c.bytes : c.file.bytes());
        aTrajectory t;
        t.addPoint(-1, -1);
        LogCapture log;
        EXPECT_EQ(t.load(dir.file(name)), c.loads) << c.name;
        std::vector<std::string> expected = c.messages;
        if (!expected.empty() && expected.back() == incorrect)
            expected.back() += dir.file(name);
        EXPECT_EQ(log.messages(), expected) << c.name;
        // A rejected file leaves the trajectory as it was.
        EXPECT_EQ(t.getPointCount(), c.loads ? c.points : 1u) << c.name;
        if (c.points == kCorner.size()) {
            EXPECT_EQ(t.getFlattenedPoints(), (std::vector<PointF>{{0, 0}, {100, 0}, {100, 50}})) << c.name;
        }
    }
}

TEST(aTrajectoryTest, MissingFileFailsWithTheReadError) {
    TempDir dir;
    LogCapture log;
    aTrajectory t;
    EXPECT_FALSE(t.load(dir.file("none.traj")));
    EXPECT_EQ(log.messages(), (std::vector<std::string>{"file_readFullAndMalloc. Error open file: " +
                                                        dir.file("none.traj")}));
}

TEST(aTrajectoryTest, MoverFollowsThePolylineByDistance) {
    struct Step {
        double distance;
        aTrajectory::State state;
        f32 x, y;
        double heading;
    };
    const std::vector<Step> steps{
        {0, aTrajectory::Moving, 0, 0, 0},
        {30, aTrajectory::Moving, 30, 0, 0},
        {90, aTrajectory::Moving, 100, 20, kDown},
        {-10, aTrajectory::Moving, 100, 10, kDown},
        {1000, aTrajectory::Finished, 100, 50, kDown},
        {5, aTrajectory::Idle, 100, 50, kDown},
    };
    aTrajectory t = corner();
    EXPECT_EQ(t.advance(1), aTrajectory::Idle);
    t.startMove();
    for (const Step& s : steps) {
        EXPECT_EQ(t.advance(s.distance), s.state) << s.distance;
        expectPose(t, s.x, s.y, s.heading);
    }
}

TEST(aTrajectoryTest, StopPointIsReportedOnceWhenPassed) {
    aTrajectory t = corner();
    t.startMove();
    t.setStopPoint(1, 20);
    EXPECT_EQ(t.advance(110), aTrajectory::Moving);
    EXPECT_EQ(t.advance(10), aTrajectory::StopReached);
    EXPECT_EQ(t.advance(10), aTrajectory::Moving);
    t.setStopPoint(0, 10);
    EXPECT_EQ(t.advance(0), aTrajectory::StopReached);
    // A new movement forgets the stop point.
    t.setStopPoint(0, 10);
    t.startMove();
    EXPECT_EQ(t.advance(20), aTrajectory::Moving);
}

TEST(aTrajectoryTest, ClosedCurveEndsAtItsStartAndOpenOneAtItsLastPoint) {
    for (bool closed : {false, true}) {
        TempDir dir;
        dir.write("c.traj", TrajectoryFile{0, closed, {{100, 100, 0}, {300, 100, 0}, {300, 300, 0}}}.bytes());
        aTrajectory t;
        ASSERT_TRUE(t.load(dir.file("c.traj")));
        const double length = t.getLength();
        EXPECT_GT(length, closed ? 200 + 200 + 282 : 400) << closed;
        t.startMove();
        EXPECT_EQ(t.advance(length - 1), aTrajectory::Moving) << closed;
        EXPECT_EQ(t.advance(2), aTrajectory::Finished) << closed;
        const Pose end = pose(t);
        EXPECT_EQ(end.x, closed ? 100 : 300) << closed;
        EXPECT_EQ(end.y, closed ? 100 : 300) << closed;
    }
}

TEST(aTrajectoryTest, TooFewPointsGiveNoPathAndAMoverThatEndsAtOnce) {
    aTrajectory t;
    t.startMove();
    EXPECT_EQ(t.advance(0), aTrajectory::Finished);
    t.addPoint(40, 50);
    EXPECT_TRUE(t.getFlattenedPoints().empty());
    EXPECT_EQ(t.getLength(), 0);
    t.startMove();
    EXPECT_EQ(t.advance(-3), aTrajectory::Moving);
    EXPECT_EQ(t.advance(10), aTrajectory::Finished);
    // Bezier mode with a count that makes no segments.
    t.addPoint(60, 50);
    t.setMode(aTrajectory::Beziers);
    EXPECT_TRUE(t.getFlattenedPoints().empty());
}

TEST(aTrajectoryTest, BezierModeLaysControlsAroundEachNewPoint) {
    aTrajectory t;
    t.setMode(aTrajectory::Beziers);
    t.addPoint(0, 0);
    t.addPoint(100, 0);
    // The first segment is straight: both controls on its midpoint.
    EXPECT_EQ(t.getFlattenedPoints(), (std::vector<PointF>{{0, 0}, {100, 0}}));
    t.addPoint(200, 100);
    const std::vector<std::pair<i32, i32>> expected{{0, 0},    {50, 0},   {67, -16}, {100, 0},
                                                    {133, 16}, {166, 58}, {200, 100}};
    ASSERT_EQ(t.getPointCount(), expected.size());
    for (u32 i = 0; i < expected.size(); ++i) {
        i32 x = 0, y = 0;
        t.getPoint(i, x, y);
        EXPECT_EQ(std::make_pair(x, y), expected[i]) << i;
    }
    EXPECT_TRUE(t.setPoint(3, 500, 500));
    i32 x = 0, y = 0;
    t.getPoint(3, x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(100, 0));
    EXPECT_FALSE(t.setPoint(7, 0, 0));
}

TEST(aTrajectoryTest, PointsSetAsTheyStandGiveTheSamePathAsTheyWereBuilt) {
    aTrajectory built;
    built.setMode(aTrajectory::Beziers);
    for (auto [x, y] : {std::pair{10, 10}, {200, 40}, {10, 10}})
        built.addPoint(x, y);
    std::vector<aTrajectory::ControlPoint> points(built.getPointCount());
    for (u32 i = 0; i < points.size(); ++i)
        built.getPoint(i, points[i].x, points[i].y);

    aTrajectory set;
    set.setMode(aTrajectory::Beziers);
    set.setPoints(points);
    ASSERT_EQ(set.getPointCount(), points.size()) << "no controls laid around them";
    for (u32 i = 0; i < points.size(); ++i) {
        i32 x = 0, y = 0;
        set.getPoint(i, x, y);
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(points[i].x, points[i].y)) << i;
    }
    EXPECT_EQ(set.getFlattenedPoints(), built.getFlattenedPoints());
    // A count that makes no Bezier segments gives no path.
    points.pop_back();
    set.setPoints(points);
    EXPECT_TRUE(set.getFlattenedPoints().empty());
}

TEST(aTrajectoryTest, PointsFromCurveModeDoNotMisleadBezierSmoothing) {
    aTrajectory t;
    for (i32 x : {0, 10, 20})
        t.addPoint(x, 0);
    t.setMode(aTrajectory::Beziers);
    t.addPoint(50, 50); // index 5: too few points behind it to reach back two segments
    ASSERT_EQ(t.getPointCount(), 6u);
    i32 x = 0, y = 0;
    EXPECT_TRUE(t.getPoint(4, x, y));
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(50, 50));
    t.clear();
    EXPECT_EQ(t.getPointCount(), 0u);
}

TEST(aTrajectoryTest, CurveModeMovesPointsAndCopiesAreIndependent) {
    aTrajectory t;
    t.addPoint(0, 0);
    t.addPoint(100, 0);
    EXPECT_TRUE(t.setPoint(1, 0, 80));
    EXPECT_DOUBLE_EQ(t.getLength(), 80);
    t.startMove();
    t.advance(20);
    aTrajectory copy(t);
    EXPECT_EQ(copy.getFlattenedPoints(), t.getFlattenedPoints());
    expectPose(copy, 0, 20, kDown);
    EXPECT_EQ(copy.advance(10), aTrajectory::Moving);
    expectPose(copy, 0, 30, kDown);
    expectPose(t, 0, 20, kDown);
    t.clear();
    copy = t;
    EXPECT_EQ(copy.getPointCount(), 0u);
    // Rebuilt shorter under the mover: the movement ends instead of reading past the polyline.
    EXPECT_EQ(copy.advance(1), aTrajectory::Finished);
}

TEST(aTrajectoryTest, DrawsThePolylineInWhiteAndSquaresAtTheControlPoints) {
    const platform::Rect area{0, 0, 64, 48};
    constexpr u32 kWhite = 0xFFFFFFFF;
    for (u32 mode : {0u, 1u}) {
        aTrajectory t = corner();
        t.setDrawMode(mode);
        const RgbaImage image = drawScene(area, [&] { t.draw(); });
        // Lines (0,0)-(100,0)-(100,50) leave the area on the right; the squares sit at 0,0 only.
        for (i32 x = 0; x < 64; ++x)
            EXPECT_EQ(image.pixel(x, 0), kWhite) << mode << " " << x;
        for (i32 i = 0; i <= 2; ++i) {
            EXPECT_EQ(image.pixel(2, i), kWhite) << mode; // the square's right edge
            EXPECT_EQ(image.pixel(i, 2), kWhite) << mode; // its bottom edge
        }
        EXPECT_EQ(image.pixel(1, 1), 0x000000FFu) << mode;
        EXPECT_EQ(countLit(image), 64 + 4) << mode;
        t.setShowPoints(false);
        EXPECT_EQ(countLit(drawScene(area, [&] { t.draw(); })), 64) << mode;
    }
}
