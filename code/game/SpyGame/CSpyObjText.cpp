#include "game/SpyGame/CSpyObjText.h"

#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/WideTextField.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/StaticText.h"

#include <algorithm>

namespace {

struct FormatWord {
    const char* word;
    u32 code;
};
constexpr FormatWord HorzFormats[] = {
    {"left", GUI::TF_LEFT}, {"center", GUI::TF_CENTER}, {"right", GUI::TF_RIGHT}, {"width", GUI::TF_WIDTH}};
constexpr FormatWord VertFormats[] = {
    {"top", GUI::TF_TOP}, {"center", GUI::TF_CENTER}, {"bottom", GUI::TF_BOTTOM}};

// An unknown word keeps the default format.
template <size_t N> u32 formatOf(const aOptionsFile& ini, const char* key, const FormatWord (&words)[N]) {
    if (!ini.hasKey(key))
        return words[0].code;
    const std::string value = ini.getString(key);
    for (const FormatWord& w : words)
        if (value == w.word)
            return w.code;
    return words[0].code;
}

// The widget's size from a box edge less its borders; the widget takes whole, non-negative pixels.
u16 innerSize(f32 size) {
    return size > 0 ? u16(std::min(size, 65535.0f)) : 0;
}

} // namespace

CSpyObjText::CSpyObjText() : m_horzFormat(GUI::TF_LEFT), m_vertFormat(GUI::TF_TOP) {
    MakeWidget("");
}

CSpyObjText::~CSpyObjText() = default;

void CSpyObjText::MakeWidget(const std::string& name) {
    m_widget = std::make_shared<GUI::StaticText>(name);
    m_widget->Initialize();
}

const u8* CSpyObjText::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    std::wstring text;
    pos = LoadWideText(sys, CSpyObject::LoadSelf(sys, pos), text);
    u32 color = 0;
    pos = sys.readU32(sys.readF32(sys.readF32(pos, m_width), m_height), color);
    SetScale(GetScale(), false);
    SetPos(GetPos());
    SetText(text);
    SetTextColor(color);
    return pos;
}

u8* CSpyObjText::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = SaveWideText(sys, CSpyObject::SaveSelf(sys, pos), m_widget->GetText());
    return sys.writeU32(sys.writeF32(sys.writeF32(pos, m_width), m_height), m_textColor);
}

void CSpyObjText::CopyFrom(const CSpyObject& other) {
    CSpyObjImage::CopyFrom(other);
    if (other.GetClassName() != GetClassName())
        return;
    const auto& text = static_cast<const CSpyObjText&>(other);
    m_fontName = text.m_fontName;
    m_fontSize = text.m_fontSize;
    m_lineSpacing = text.m_lineSpacing;
    m_horzFormat = text.m_horzFormat;
    m_vertFormat = text.m_vertFormat;
    m_stringId = text.m_stringId;
    m_origTextColor = text.m_origTextColor;
    m_horzBorder = text.m_horzBorder;
    m_vertBorder = text.m_vertBorder;
    m_width = text.m_width;
    m_height = text.m_height;
    m_textColor = text.m_textColor;
    MakeWidget(other.GetName());
    const GUI::StaticText& source = *text.m_widget;
    m_widget->SetFont(source.GetFont(true));
    m_widget->SetHorzFormatting(source.GetHorzFormatting());
    m_widget->SetVertFormatting(source.GetVertFormatting());
    m_widget->SetWordWrap(source.GetWordWrap());
    SetScale(GetScale(), false);
    SetPos(GetPos());
    SetText(source.GetText());
}

void CSpyObjText::LoadRes(const std::string& group, aOptionsFile& ini, const std::string& name) {
    CSpyObject::LoadRes(group, ini, name);
    if (ini.hasKey("Image"))
        BindImages(ini.getString("Image"), false);
    MakeWidget(name);
    const aImage* image = GetImage();
    SetBaseSize(u32(ReadInt(ini, "Width", image ? image->getWidth() : 0)),
                u32(ReadInt(ini, "Height", image ? image->getHeight() : 0)));
    m_horzBorder = u32(ReadInt(ini, "HorzBorders", 0));
    m_vertBorder = u32(ReadInt(ini, "VertBorders", 0));
    m_fontName = ini.hasKey("Font") ? ini.getString("Font") : std::string();
    m_fontSize = ReadFloat(ini, "FontSize", 1.0f);
    m_lineSpacing = ReadFloat(ini, "LineSpacing", 0.0f);
    m_horzFormat = formatOf(ini, "HorzFormat", HorzFormats);
    m_vertFormat = formatOf(ini, "VertFormat", VertFormats);
    m_stringId = ini.hasKey("StringID") ? ini.getString("StringID") : std::string();
    m_origTextColor = ReadHex(ini, "TextColor", 0xFFFFFFFF);
}

void CSpyObjText::Render() {
    if (GetColor() == 0)
        return;
    if (GetImage()) {
        CSpyObjImage::Render();
        return;
    }
    CResManager* res = Resources();
    if (!res)
        return;
    aGDI& gdi = res->getGDI();
    gdi.color = GetColor();
    gdi.drawRect(GetPos().x, GetPos().y, m_width, m_height, true);
}

void CSpyObjText::RenderText() {
    m_widget->SetTextColor(m_textColor);
    m_widget->Render();
}

void CSpyObjText::FrameMove(f32 dt) {
    m_widget->Update(dt);
}

bool CSpyObjText::HitTest(i32 x, i32 y) {
    if (GetImage())
        return ImageHitTest(x, y);
    const aRect& area = m_widget->GetArea();
    const i64 left = m_widget->GetScreenX(), top = m_widget->GetScreenY();
    return GetAlphaClick() < 255 && x >= left && x < left + area.w && y >= top && y < top + area.h;
}

void CSpyObjText::Reset() {
    m_width = f32(GetBaseWidth());
    m_height = f32(GetBaseHeight());
    m_textColor = m_origTextColor;
    if (!m_fontName.empty() && GUI::Server::exists())
        m_widget->SetFont(GUI::Server::getSingleton()->GetFont(m_fontName));
    m_widget->SetHorzFormatting(GUI::TextFormatting(m_horzFormat));
    m_widget->SetVertFormatting(GUI::TextFormatting(m_vertFormat));
    m_widget->SetWordWrap(false);
    CResManager* res = Resources();
    SetText(m_stringId.empty() || !res ? std::wstring() : res->GetString(m_stringId, GetGroup()));
    CSpyObjImage::Reset();
}

void CSpyObjText::SetPos(f32 x, f32 y) {
    CSpyObjImage::SetPos(x, y);
    const SpyPoint scale = GetScale();
    m_widget->SetPosition(i16(std::clamp(TruncToInt(x + f32(m_horzBorder) * scale.x), -32768, 32767)),
                          i16(std::clamp(TruncToInt(y + f32(m_vertBorder) * scale.y), -32768, 32767)));
}

void CSpyObjText::SetScale(SpyPoint scale, bool keepCentre) {
    ApplyScale(scale, false);
    const SpyPoint s = GetScale();
    const f32 dw = f32(GetBaseWidth()) * s.x - m_width;
    const f32 dh = f32(GetBaseHeight()) * s.y - m_height;
    m_width += dw;
    m_height += dh;
    const f32 factor = (s.x + s.y) * FontScale;
    m_widget->SetFontSize(m_fontSize * factor);
    m_widget->SetLineSpacing(m_lineSpacing * factor);
    m_widget->SetSize(innerSize(m_width - 2 * f32(m_horzBorder) * s.x + FontScale),
                      innerSize(m_height - 2 * f32(m_vertBorder) * s.y + FontScale));
    if (keepCentre)
        SetPos(GetPos().x - dw / 2, GetPos().y - dh / 2);
    else if (m_horzBorder || m_vertBorder)
        SetPos(GetPos());
}

u32 CSpyObjText::GetWidth() const {
    return Rounded(m_width);
}

u32 CSpyObjText::GetHeight() const {
    return Rounded(m_height);
}

void CSpyObjText::SetText(const std::wstring& text) {
    m_widget->SetText(text);
    m_widget->Update(0);
}

std::wstring CSpyObjText::GetText() const {
    return m_widget->GetText();
}

void CSpyObjText::SetTextColor(u32 argb) {
    m_textColor = argb;
}

aFont* CSpyObjText::GetFont() const {
    return m_widget->GetFont();
}
