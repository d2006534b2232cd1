#include "tk2v/gui/StaticImage.h"

#include "tk2v/gfx/aImage.h"
#include "tk2v/gui/DrawHelpers.h"
#include "tk2v/gui/Server.h"

namespace GUI {

namespace {
constexpr f32 DegreesToRadians = 3.1415927f / 180.0f;

// An image property with the rectangle beside it; the rectangle counts only beside its image.
void ApplyImage(const Property& image, const Property& rect, std::unique_ptr<aImage>& ref, aRect& rectOut) {
    if (!image.changed)
        return;
    const aImage* found = Server::exists() ? Server::getSingleton()->GetImage(image.value) : nullptr;
    const aRect parsed = ParseRect(rect.value);
    SetImageRef(found, rect.changed ? &parsed : nullptr, ref, rectOut);
}
} // namespace

StaticImage::StaticImage(const std::string& name) : Widget(name) {
    AddProperty("NormalImage", &m_ownProps.normalImage);
    AddProperty("NormalRect", &m_ownProps.normalRect);
    AddProperty("DisabledImage", &m_ownProps.disabledImage);
    AddProperty("DisabledRect", &m_ownProps.disabledRect);
    AddProperty("Color", &m_ownProps.color);
    AddProperty("RotAngle", &m_ownProps.rotAngle);
    AddProperty("RotCenter", &m_ownProps.rotCenter);
}

StaticImage::~StaticImage() = default;

void StaticImage::MakeFromScript() {
    Widget::MakeFromScript();
    Properties& p = m_ownProps;
    if (p.color.changed)
        SetColor(ParseColor(p.color.value));
    if (p.rotAngle.changed)
        m_rotAngle = ParseFloat(p.rotAngle.value);
    if (p.rotCenter.changed) {
        ParsePoint(p.rotCenter.value, m_rotCenter[0], m_rotCenter[1]);
        m_hasRotCenter = true;
    }
    ApplyImage(p.normalImage, p.normalRect, m_normalImage, m_normalRect);
    ApplyImage(p.disabledImage, p.disabledRect, m_disabledImage, m_disabledRect);
    // Only a size of 0 given by the script takes the image's; the default 1 x 1 stays.
    if (m_area.w == 0)
        m_area.w = m_normalRect.w;
    if (m_area.h == 0)
        m_area.h = m_normalRect.h;
}

void StaticImage::SetImage(const aImage* image, const aRect* rect) {
    SetImageRef(image, rect, m_normalImage, m_normalRect);
}

void StaticImage::DrawSelf() {
    const aRect screen{i16(GetScreenX()), i16(GetScreenY()), m_area.w, m_area.h};
    const f32 alpha = GetAlpha(false);
    const f32 angle = m_rotAngle * DegreesToRadians;
    const f32* centre = m_hasRotCenter ? m_rotCenter : nullptr;
    if (!IsEnabled(false) && m_disabledImage)
        DrawImageScaled(m_disabledImage.get(), m_disabledRect, screen, PackColor(1, 1, 1, alpha), angle,
                        centre);
    else
        DrawImageScaled(m_normalImage.get(), m_normalRect, screen,
                        PackColor(m_color.r, m_color.g, m_color.b, alpha), angle, centre);
}

} // namespace GUI
