#include "tk2v/gfx/aTrajectory.h"

#include "tk2v/file/aFileBuffer.h"
#include "tk2v/gfx/aGDI.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {
// The path is flattened to a quarter pixel.
constexpr f32 kFlatness = 0.25f;
// The file's header block as the engine knows it; other sizes are read only as far as this.
constexpr u32 kHeaderSize = 8;
constexpr u32 kRecordSize = 8;
constexpr u32 kBlockCount = 3;

u32 readU32(const u8* p) {
    return u32(p[0]) | u32(p[1]) << 8 | u32(p[2]) << 16 | u32(p[3]) << 24;
}

i32 toI32(i64 value) {
    return i32(std::clamp<i64>(value, std::numeric_limits<i32>::min(), std::numeric_limits<i32>::max()));
}

aTrajectory::ControlPoint midpoint(const aTrajectory::ControlPoint& a, const aTrajectory::ControlPoint& b) {
    return {i32((i64(a.x) + b.x) / 2), i32((i64(a.y) + b.y) / 2)};
}
} // namespace

aTrajectory::aTrajectory(const aTrajectory& other) {
    *this = other;
}

aTrajectory& aTrajectory::operator=(const aTrajectory& other) {
    if (this == &other)
        return *this;
    m_header = other.m_header;
    m_points = other.m_points;
    m_types = other.m_types;
    m_drawMode = other.m_drawMode;
    m_showPoints = other.m_showPoints;
    m_x = other.m_x;
    m_y = other.m_y;
    m_heading = other.m_heading;
    m_segment = other.m_segment;
    m_distance = other.m_distance;
    m_segmentLength = other.m_segmentLength;
    m_moving = other.m_moving;
    m_stopSegment = other.m_stopSegment;
    m_stopDistance = other.m_stopDistance;
    m_length = other.m_length;
    m_flattened = other.m_flattened;
    return *this;
}

aTrajectory::aTrajectory() = default;
aTrajectory::~aTrajectory() = default;

bool aTrajectory::load(const std::string& fileName) {
    aFileBuffer file(fileName);
    if (!file.isLoaded() || !read(file.getData(), file.getSize(), fileName))
        return false;
    rebuildPath();
    return true;
}

// The blocks follow the size words directly; their sizes come from the first three words whatever
// the block count says, and all of them must lie inside the file.
bool aTrajectory::read(const u8* data, u32 size, const std::string& fileName) {
    if (size < 4 + kBlockCount * 4) {
        log("aTrajectory. Incorrect file: " + fileName);
        return false;
    }
    const u32 blocks = readU32(data);
    if (blocks != kBlockCount)
        log("aTrajectory. Possibly incorrect file, try converting...");
    const u32 headerSize = readU32(data + 4);
    if (headerSize != kHeaderSize)
        log("aTrajectory. Incorrect structure size, try converting...");
    const u32 pointBytes = readU32(data + 8), typeBytes = readU32(data + 12);
    const u64 headerAt = 4 + 4 * u64(blocks), pointsAt = headerAt + headerSize;
    const u64 typesAt = pointsAt + pointBytes;
    if (typesAt + typeBytes > size) {
        log("aTrajectory. Incorrect file: " + fileName);
        return false;
    }
    u8 header[kHeaderSize] = {};
    std::memcpy(header, data + headerAt, std::min(headerSize, kHeaderSize));
    m_header = {readU32(header), header[4]};
    m_points.resize(pointBytes / kRecordSize);
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        const u8* record = data + pointsAt + i * kRecordSize;
        m_points[i] = {i32(readU32(record)), i32(readU32(record + 4))};
    }
    m_types.resize(typeBytes / kRecordSize);
    for (std::size_t i = 0; i < m_types.size(); ++i) {
        const u8* record = data + typesAt + i * kRecordSize;
        m_types[i] = {readU32(record), readU32(record + 4)};
    }
    return true;
}

void aTrajectory::addPoint(i32 x, i32 y) {
    if (m_header.mode == Beziers && !m_points.empty()) {
        m_points.insert(m_points.end(), 3, {x, y});
        m_types.insert(m_types.end(), {{BezierControl, 0}, {BezierControl, 0}, {OnPath, 0}});
        smoothControls();
    } else {
        m_points.push_back({x, y});
        m_types.push_back({OnPath, 0});
    }
    rebuildPath();
}

// Lays the controls around the newest point so that the path goes on smoothly through the point
// before it. Points added before a switch to Bezier mode can leave the newest point fewer than two
// segments in; its controls then stay on the point, as reaching back would leave the vector.
void aTrajectory::smoothControls() {
    const std::size_t i = m_points.size() - 1;
    if (i == 3) {
        m_points[1] = m_points[2] = midpoint(m_points[0], m_points[3]);
        return;
    }
    if (i < 6)
        return;
    const ControlPoint &a = m_points[i - 6], &b = m_points[i - 3], &c = m_points[i];
    const double dx = double(c.x) - a.x, dy = double(c.y) - a.y;
    const double length = std::hypot(dx, dy) / 6.0, direction = std::atan2(dy, dx);
    const i64 ox = i64(std::cos(direction) * length), oy = i64(std::sin(direction) * length);
    m_points[i - 2] = {toI32(b.x + ox), toI32(b.y + oy)};
    m_points[i - 4] = {toI32(b.x - ox), toI32(b.y - oy)};
    m_points[i - 1] = midpoint(m_points[i - 2], c);
}

void aTrajectory::setPoints(const std::vector<ControlPoint>& points) {
    m_points = points;
    m_types.assign(points.size(), {OnPath, 0});
    // A Bezier path's points run start, then two controls and an end point per segment.
    if (m_header.mode == Beziers)
        for (std::size_t i = 1; i < m_types.size(); ++i)
            m_types[i].type = i % 3 == 0 ? OnPath : BezierControl;
    rebuildPath();
}

bool aTrajectory::setPoint(u32 index, i32 x, i32 y) {
    if (index >= m_points.size())
        return false;
    if (m_header.mode == Beziers)
        return true;
    m_points[index] = {x, y};
    rebuildPath();
    return true;
}

void aTrajectory::clear() {
    m_points.clear();
    m_types.clear();
    m_header.closed = 0;
    rebuildPath();
}

void aTrajectory::setMode(u32 mode) {
    m_header.mode = mode;
    rebuildPath();
}

bool aTrajectory::getPoint(u32 index, i32& x, i32& y) const {
    if (index >= m_points.size())
        return false;
    x = m_points[index].x;
    y = m_points[index].y;
    return true;
}

void aTrajectory::rebuildPath() {
    m_length = 0;
    m_flattened.clear();
    if (m_points.size() < 2)
        return;
    platform::CurvePath path;
    if (m_header.mode == Beziers)
        path.addBeziers(m_points.data(), m_points.size());
    else if (m_header.closed)
        path.addClosedCurve(m_points.data(), m_points.size());
    else
        path.addCurve(m_points.data(), m_points.size());
    path.flatten(kFlatness);
    m_flattened = path.getPoints();
    if (!m_moving)
        placeAtStart();
}

void aTrajectory::placeAtStart() {
    if (m_flattened.empty())
        return;
    m_x = m_flattened[0].x;
    m_y = m_flattened[0].y;
    if (m_flattened.size() >= 2)
        m_heading = std::atan2(double(m_flattened[1].y) - m_flattened[0].y,
                               double(m_flattened[1].x) - m_flattened[0].x);
}

void aTrajectory::startMove() {
    m_distance = 0;
    m_segmentLength = 0;
    m_segment = -1;
    m_stopSegment = -1;
    m_moving = true;
    placeAtStart();
}

aTrajectory::State aTrajectory::advance(double distance) {
    if (!m_moving)
        return Idle;
    // A NaN step would leave the mover stuck for good.
    if (!std::isnan(distance))
        m_distance += distance;
    while (m_distance >= m_segmentLength) {
        ++m_segment;
        m_distance -= m_segmentLength;
        if (std::size_t(m_segment) + 1 >= m_flattened.size())
            return finishMove();
        enterSegment();
    }
    // Before the first segment (a step back at the start) the mover waits on the first point.
    if (m_segment >= 0) {
        // The path may have been rebuilt shorter under the mover.
        if (std::size_t(m_segment) + 1 >= m_flattened.size())
            return finishMove();
        const platform::PointF& from = m_flattened[m_segment];
        m_x = f32(from.x + std::cos(m_heading) * m_distance);
        m_y = f32(from.y + std::sin(m_heading) * m_distance);
    }
    if (m_stopSegment >= 0 && passedStopPoint()) {
        m_stopSegment = -1;
        return StopReached;
    }
    return Moving;
}

void aTrajectory::enterSegment() {
    const platform::PointF &from = m_flattened[m_segment], &to = m_flattened[m_segment + 1];
    const double dx = double(to.x) - from.x, dy = double(to.y) - from.y;
    m_heading = std::atan2(dy, dx);
    m_segmentLength = std::hypot(dx, dy);
}

aTrajectory::State aTrajectory::finishMove() {
    if (!m_flattened.empty()) {
        m_x = m_flattened.back().x;
        m_y = m_flattened.back().y;
    }
    m_moving = false;
    return Finished;
}

bool aTrajectory::passedStopPoint() const {
    return m_segment > m_stopSegment || (m_segment == m_stopSegment && m_stopDistance <= m_distance);
}

void aTrajectory::setStopPoint(i32 segment, double distance) {
    m_stopSegment = segment;
    m_stopDistance = distance;
}

void aTrajectory::getPosition(f32& x, f32& y, double* heading) const {
    x = m_x;
    y = m_y;
    if (heading)
        *heading = m_heading;
}

double aTrajectory::getLength() {
    m_length = 0;
    for (std::size_t i = 1; i < m_flattened.size(); ++i)
        m_length += std::hypot(double(m_flattened[i].x) - m_flattened[i - 1].x,
                               double(m_flattened[i].y) - m_flattened[i - 1].y);
    return m_length;
}

void aTrajectory::draw() {
    if (m_flattened.empty())
        return;
    aGDI& gdi = canvas();
    gdi.color = 0xFFFFFFFF;
    for (std::size_t i = 1; i < m_flattened.size(); ++i) {
        // Draw mode 1 goes on from the canvas's pen, which the previous line left on point i - 1.
        const bool fromPen = m_drawMode == 1 && i > 1;
        const platform::PointF &from = m_flattened[i - 1], &to = m_flattened[i];
        gdi.drawLine(fromPen ? gdi.getPenX() : from.x, fromPen ? gdi.getPenY() : from.y, to.x, to.y);
    }
    if (m_showPoints)
        drawPoints();
}

void aTrajectory::drawPoints() {
    aGDI& gdi = canvas();
    for (std::size_t i = m_points.size(); i-- > 0;)
        gdi.drawRectS(aRect{i16(i64(m_points[i].x) - 3), i16(i64(m_points[i].y) - 3), 6, 6}, false);
}

aGDI& aTrajectory::canvas() {
    if (!m_canvas)
        m_canvas = std::make_unique<aGDI>();
    return *m_canvas;
}
