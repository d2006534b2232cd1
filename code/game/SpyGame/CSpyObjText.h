#pragma once
#include "game/SpyGame/CSpyObjImage.h"

#include <memory>

namespace GUI {
class StaticText;
}

// A text block: a label widget over an optional background image (or a box in the object's colour),
// with inner borders. Scaling sizes the box and the font together.
class CSpyObjText : public CSpyObjImage {
public:
    static const char* GetClassStaticName() { return "text"; }
    // Font size and line spacing are scaled by (scale x + scale y) times this, the single-precision
    // value nearest 5/9: at scale 1 a text is drawn at 10/9 of its size.
    static constexpr f32 FontScale = 0.555555522441864f;

    CSpyObjText();
    ~CSpyObjText() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    // Also the text fields and a widget of its own laid out like the other's.
    void CopyFrom(const CSpyObject& other) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void LoadRes(const std::string& group, aOptionsFile& ini, const std::string& name) override;
    void Render() override;
    void RenderText() override;
    void FrameMove(f32 dt) override;
    bool HitTest(i32 x, i32 y) override;
    void Reset() override;
    void SetPos(f32 x, f32 y) override;
    using CSpyObject::SetPos;
    void SetScale(SpyPoint scale, bool keepCentre) override;
    u32 GetWidth() const override;
    u32 GetHeight() const override;
    void SetText(const std::wstring& text) override;
    std::wstring GetText() const override;
    void SetTextColor(u32 argb) override;
    aFont* GetFont() const override;

    GUI::StaticText& GetWidget() const { return *m_widget; }
    u32 GetTextColor() const { return m_textColor; }
    SpyPoint GetSize() const { return {m_width, m_height}; }

private:
    void MakeWidget(const std::string& name);

    std::string m_fontName;
    f32 m_fontSize = 1.0f;
    f32 m_lineSpacing = 0.0f;
    u32 m_horzFormat;
    u32 m_vertFormat;
    std::string m_stringId;
    u32 m_origTextColor = 0xFFFFFFFF;
    u32 m_horzBorder = 0, m_vertBorder = 0;
    std::shared_ptr<GUI::StaticText> m_widget;
    f32 m_width = 0, m_height = 0;
    u32 m_textColor = 0;
};
