#include "game/SpyGame/CSpyObjImage.h"

#include "game/CResManager.h"
#include "game/SpyGame/PictureHit.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aImageManager.h"

void CSpyObjImage::CopyFrom(const CSpyObject& other) {
    CSpyObject::CopyFrom(other);
    if (other.GetClassName() != GetClassName())
        return;
    const auto& image = static_cast<const CSpyObjImage&>(other);
    m_image = image.m_image;
    m_icon = image.m_icon;
}

void CSpyObjImage::LoadRes(const std::string& group, aOptionsFile& ini, const std::string& name) {
    CSpyObject::LoadRes(group, ini, name);
    BindImages(ini.getString("Image"), true);
}

void CSpyObjImage::BindImages(const std::string& imageName, bool logMissing) {
    m_image = m_icon = nullptr;
    CResManager* res = Resources();
    aImageManager* images = res ? res->getImageManager() : nullptr;
    if (!images)
        return;
    if (logMissing || images->hasImage(imageName, GetGroup()))
        m_image = images->getImage(imageName, GetGroup());
    if (m_image && images->hasImage(imageName + "_icon", GetGroup()))
        m_icon = images->getImage(imageName + "_icon", GetGroup());
}

void CSpyObjImage::Render() {
    if (!m_image)
        return;
    const SpyPoint pos = GetPos(), scale = GetScale();
    const f32 scales[2] = {scale.x, scale.y};
    m_image->drawAtF(pos.x, pos.y, GetColor(), scales, GetRotation());
}

void CSpyObjImage::RenderIcon() {
    const SpyPoint pos = GetPos();
    if (m_icon)
        m_icon->drawAtF(pos.x, pos.y);
    else if (m_image)
        m_image->drawAtF(pos.x, pos.y, 0xFFFFFFFF, nullptr, GetRotation());
}

bool CSpyObjImage::ShapeForHit(PictureHit& shape, const aImage*& picture) const {
    const bool icon = IsInInventory() && m_icon;
    picture = icon ? m_icon : m_image;
    if (!picture)
        return false;
    const SpyPoint pos = GetPos();
    const SpyPoint scale = icon ? SpyPoint{1, 1} : GetScale();
    shape.x = TruncToInt(pos.x);
    shape.y = TruncToInt(pos.y);
    shape.w = Rounded(f32(picture->getWidth()) * scale.x);
    shape.h = Rounded(f32(picture->getHeight()) * scale.y);
    shape.scaleX = scale.x;
    shape.scaleY = scale.y;
    shape.sourceW = picture->getWidth();
    shape.sourceH = picture->getHeight();
    shape.SetRotation(GetRotation());
    shape.threshold = GetAlphaClick();
    shape.colorAlpha = icon ? 255 : GetColor() >> 24;
    return true;
}

bool CSpyObjImage::ImageHitTest(i32 x, i32 y) const {
    if (GetAlphaClick() >= 255)
        return false;
    PictureHit shape;
    const aImage* picture = nullptr;
    if (!ShapeForHit(shape, picture))
        return false;
    // Faded below the threshold, no pixel of the picture can reach it: nothing to read.
    if (shape.threshold > 0 && shape.colorAlpha < shape.threshold)
        return false;
    auto read = [picture](i32 u, i32 v) { return picture->getPixel(u, v); };
    // A point and its four neighbours: thin or speckled pictures stay clickable.
    static constexpr i32 Probes[5][2] = {{0, 0}, {0, -1}, {0, 1}, {-1, 0}, {1, 0}};
    for (const auto& d : Probes)
        if (shape.Probe(i64(x) + d[0], i64(y) + d[1], read))
            return true;
    return false;
}

bool CSpyObjImage::HitTest(i32 x, i32 y) {
    return ImageHitTest(x, y);
}

u32 CSpyObjImage::GetWidth() const {
    if (IsInInventory())
        return m_icon ? m_icon->getWidth() : m_image ? m_image->getWidth() : 0;
    return m_image ? Rounded(f32(m_image->getWidth()) * GetScale().x) : 0;
}

u32 CSpyObjImage::GetHeight() const {
    if (IsInInventory())
        return m_icon ? m_icon->getHeight() : m_image ? m_image->getHeight() : 0;
    return m_image ? Rounded(f32(m_image->getHeight()) * GetScale().y) : 0;
}
