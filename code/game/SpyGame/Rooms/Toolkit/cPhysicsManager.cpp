#include "game/SpyGame/Rooms/Toolkit/cPhysicsManager.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/RandomFloat.h"
#include "game/SpyGame/SaveCounts.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace PHYSICS {

namespace {

// Below this relative speed the drag is taken at this speed, so that its direction r / s stays defined.
constexpr f32 MinDragSpeed = 0.3f;
// A body of mass 0 would divide by zero; it moves as a body of the default mass.
constexpr f32 DefaultMass = 5.0f;

constexpr const char* LawNames[] = {"LINE", "SQR", "TRIPLE", "QWAD", "EXP"};

u32 ParseLaw(const std::string& word, const std::string& body) {
    for (u32 law = 0; law < std::size(LawNames); ++law)
        if (word == LawNames[law])
            return law;
    log("cPhysicsManager::LoadObject. Unknown friction \"%s\" of body %s: LINE taken", word.c_str(),
        body.c_str());
    return LINE;
}

// Explicit, the acceleration constant within the step: the drag against the wind, then gravity.
inline void Step(PHOBJ& body, f32 dt, SpyPoint wind, f32 g) {
    const SpyPoint r{body.speed.x - wind.x, body.speed.y - wind.y};
    f32 s = std::sqrt(r.x * r.x + r.y * r.y);
    if (!(s >= MinDragSpeed))
        s = MinDragSpeed;
    const f32 force = cPhysicsManager::FrictionForce(body.friction, body.frict_kf, s);
    const f32 mass = body.mass == 0 ? DefaultMass : body.mass;
    const SpyPoint a{-(r.x * force / s) / mass, g - (r.y * force / s) / mass};
    body.coord.x += (a.x * dt / 2 + body.speed.x) * dt;
    body.coord.y += (a.y * dt / 2 + body.speed.y) * dt;
    body.speed.x += a.x * dt;
    body.speed.y += a.y * dt;
}

} // namespace

void cPhysicsManager::LoadObject(const std::string& name, aOptionsFile& ini) {
    const bool section = ini.selectSection(name);
    auto value = [&](const char* key, f32 fallback) {
        return section && ini.hasKey(key) ? f32(std::atof(ini.getString(key).c_str())) : fallback;
    };
    // Each random default is drawn whether its key is there or not, in this order, so that a seeded
    // generator gives the same bodies whatever the data sets.
    Body body;
    PHOBJ& o = body.initial;
    o.mass = value("mass", DefaultMass);
    o.frict_kf = value("frict_kf", RandomFloat(0, 1));
    o.angle.x = value("angle.x", RandomFloat(-10, 0));
    o.angle.y = value("angle.y", RandomFloat(0, 10));
    o.speed.x = value("speed.x", RandomFloat(-10, 0));
    o.speed.y = value("speed.y", RandomFloat(0, 10));
    o.coord.x = value("coord.x", 0);
    o.coord.y = value("coord.y", 0);
    if (section && ini.hasKey("friction"))
        o.friction = ParseLaw(ini.getString("friction"), name);
    *EmplaceNamed(m_Bodies, name).first = body;
}

f32 cPhysicsManager::FrictionForce(u32 law, f32 k, f32 s) {
    switch (law) {
    case SQR:
        return k * s * s;
    case TRIPLE:
        return k * s * s * s;
    case QWAD:
        return k * s * s * s * s;
    case EXP:
        return (std::exp(s) - 1.0f) * k;
    default:
        return k * s;
    }
}

void cPhysicsManager::Update(f32 dt) {
    for (auto& [name, body] : m_Bodies)
        if (!body.fixed)
            Step(body.current, dt, {windX, windY}, g);
}

void cPhysicsManager::ResetAll() {
    for (auto& [name, body] : m_Bodies) {
        body.current = body.initial;
        body.fixed = false;
    }
}

SpyPoint cPhysicsManager::GetCoord(const std::string& name) const {
    const Body* body = FindNamed(m_Bodies, name);
    return body ? body->current.coord : SpyPoint{};
}

void cPhysicsManager::SetCoord(const std::string& name, SpyPoint coord) {
    if (Body* body = FindNamed(m_Bodies, name))
        body->current.coord = coord;
}

void cPhysicsManager::SetFixed(const std::string& name, bool fixed) {
    if (Body* body = FindNamed(m_Bodies, name))
        body->fixed = fixed;
}

SpyPoint cPhysicsManager::GetMinCoord() const {
    if (m_Bodies.empty())
        return {};
    SpyPoint least = m_Bodies.begin()->second.current.coord;
    for (const auto& [name, body] : m_Bodies) {
        least.x = std::min(least.x, body.current.coord.x);
        least.y = std::min(least.y, body.current.coord.y);
    }
    return least;
}

u8* cPhysicsManager::SaveSelf(SaveLoadSystem& sys, u8* pos) const {
    pos = sys.writeU32(pos, u32(m_Bodies.size()));
    for (const auto& [name, body] : m_Bodies) {
        pos = sys.writeString(pos, name);
        pos = body.initial.SaveSelf(sys, pos);
        pos = body.current.SaveSelf(sys, pos);
        pos = sys.writeBool(pos, body.fixed);
    }
    return pos;
}

const u8* cPhysicsManager::LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) {
    m_Bodies.clear();
    u32 count = 0;
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, MinBodyRecordSize, "cPhysicsManager::LoadSelf()"))
        return pos + sys.bytesLeftInRecord(pos);
    for (u32 i = 0; i < count; ++i) {
        std::string name;
        pos = sys.readString(pos, name);
        Body& body = *EmplaceNamed(m_Bodies, name).first;
        pos = body.initial.LoadSelf(rooms, sys, pos);
        pos = body.current.LoadSelf(rooms, sys, pos);
        pos = sys.readBool(pos, body.fixed);
    }
    return pos;
}

} // namespace PHYSICS
