#include "game/SpyGame/CSpyObject.h"

#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "tk2v/file/aOptionsFile.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

const u8* CSpyObject::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = sys.readF32(sys.readF32(pos, m_pos.x), m_pos.y);
    pos = sys.readF32(sys.readF32(pos, m_scale.x), m_scale.y);
    pos = sys.readF32(sys.readU32(pos, m_color), m_rotation);
    return sys.readBool(sys.readBool(pos, m_inInventory), m_paused);
}

u8* CSpyObject::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeF32(sys.writeF32(pos, m_pos.x), m_pos.y);
    pos = sys.writeF32(sys.writeF32(pos, m_scale.x), m_scale.y);
    pos = sys.writeF32(sys.writeU32(pos, m_color), m_rotation);
    return sys.writeBool(sys.writeBool(pos, m_inInventory), m_paused);
}

void CSpyObject::CopyFrom(const CSpyObject& other) {
    m_objName = other.m_objName;
    m_group = other.m_group;
    m_origPos = other.m_origPos;
    m_baseWidth = other.m_baseWidth;
    m_baseHeight = other.m_baseHeight;
    m_origScale = other.m_origScale;
    m_origColor = other.m_origColor;
    m_alphaClick = other.m_alphaClick;
    m_pos = other.m_pos;
    m_scale = other.m_scale;
    m_color = other.m_color;
    m_rotation = other.m_rotation;
    m_inInventory = other.m_inInventory;
    m_paused = other.m_paused;
}

CResManager* CSpyObject::Resources() {
    return CResManager::exists() ? CResManager::getSingleton() : nullptr;
}

i32 CSpyObject::ReadInt(const aOptionsFile& ini, const char* key, i32 fallback) {
    return ini.hasKey(key) ? ini.getInt(key) : fallback;
}

f32 CSpyObject::ReadFloat(const aOptionsFile& ini, const char* key, f32 fallback) {
    return ini.hasKey(key) ? f32(std::atof(ini.getString(key).c_str())) : fallback;
}

u32 CSpyObject::ReadHex(const aOptionsFile& ini, const char* key, u32 fallback) {
    unsigned value = 0;
    if (!ini.hasKey(key) || std::sscanf(ini.getString(key).c_str(), "%x", &value) != 1)
        return fallback;
    return value;
}

void CSpyObject::LoadRes(const std::string& group, aOptionsFile& ini, const std::string& name) {
    m_objName = name;
    m_group = group;
    m_origPos = {f32(ReadInt(ini, "X", 0)), f32(ReadInt(ini, "Y", 0))};
    m_baseWidth = m_baseHeight = 0;
    m_alphaClick = u32(ReadInt(ini, "AlphaClick", 1));
    m_origScale = {ReadFloat(ini, "ZoomX", 1.0f), ReadFloat(ini, "ZoomY", 1.0f)};
    m_origColor = ReadHex(ini, "Color", 0xFFFFFFFF);
}

void CSpyObject::FrameMove(f32) {}

bool CSpyObject::HitTest(i32 x, i32 y) {
    const i64 left = TruncToInt(m_pos.x), top = TruncToInt(m_pos.y);
    return x >= left && x < left + i64(GetWidth()) && y >= top && y < top + i64(GetHeight());
}

void CSpyObject::Reset() {
    SetPos(m_origPos);
    SetColor(m_origColor);
    SetScale(m_origScale, false);
    SetInInventory(false);
    SetRotation(0);
    StartAnim(-1);
    SetAnimPaused(false);
}

void CSpyObject::SetPos(f32 x, f32 y) {
    m_pos = {x, y};
}

void CSpyObject::ApplyScale(SpyPoint scale, bool keepCentre) {
    const SpyPoint old = m_scale;
    // Also a NaN from a bad data file becomes 0.
    m_scale = {scale.x > 0 ? scale.x : 0, scale.y > 0 ? scale.y : 0};
    if (!keepCentre)
        return;
    // The unscaled size is the rounded width over the new scale; a new scale of 0 has no size to
    // keep a centre of.
    SpyPoint pos = m_pos;
    if (m_scale.x != 0)
        pos.x -= f32(GetWidth()) / m_scale.x * 0.5f * (m_scale.x - old.x);
    if (m_scale.y != 0)
        pos.y -= f32(GetHeight()) / m_scale.y * 0.5f * (m_scale.y - old.y);
    SetPos(pos);
}

void CSpyObject::SetScale(SpyPoint scale, bool keepCentre) {
    ApplyScale(scale, keepCentre);
}

u32 CSpyObject::Rounded(f32 size) {
    // Also NaN gives 0; sizes beyond any screen saturate.
    if (!(size > 0))
        return 0;
    return size >= 1e9f ? 1000000000u : u32(size + 0.5f);
}

u32 CSpyObject::GetWidth() const {
    return Rounded(f32(m_baseWidth) * m_scale.x);
}

u32 CSpyObject::GetHeight() const {
    return Rounded(f32(m_baseHeight) * m_scale.y);
}

void CSpyObject::StartAnim(i32) {}

void CSpyObject::SetFrame(u32) {}

void CSpyObject::SetTextColor(u32) {}

void CSpyObject::SetBaseSize(u32 width, u32 height) {
    m_baseWidth = width;
    m_baseHeight = height;
}
