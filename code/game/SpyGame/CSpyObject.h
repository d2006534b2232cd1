#pragma once
#include "game/SaveLoadEntity.h"
#include "game/SpyGame/SpyPoint.h"

#include <string>

class aFont;
class aOptionsFile;
class CResManager;

// One visible thing of a room. The base class is a bare rectangle of its base size; the subclasses
// draw an image, an animation, particles or text. Items move, scale, colour and hit-test the objects
// they are laid over; the room's object manager owns them and saves their state.
class CSpyObject : public SaveLoadEntity {
public:
    // Position, scale, colour, rotation and the two flags.
    static constexpr u32 RecordSize = 26;
    static const char* GetClassStaticName() { return "object"; }

    CSpyObject() = default;
    ~CSpyObject() override = default;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;

    // Names, groups, every original and current field and the flags.
    virtual void CopyFrom(const CSpyObject& other);
    virtual std::string GetClassName() const { return GetClassStaticName(); }
    // Reads the object's section of objects.ini, on which `ini` stands; sets original values only.
    virtual void LoadRes(const std::string& group, aOptionsFile& ini, const std::string& name);
    virtual void Render() {}
    virtual void RenderText() {}
    virtual void RenderIcon() {}
    virtual void FrameMove(f32 dt);
    virtual bool HitTest(i32 x, i32 y);
    // Back to the original position, colour and scale, unrotated, out of the inventory, restarted.
    virtual void Reset();

    SpyPoint GetPos() const { return m_pos; }
    SpyPoint GetOrigPos() const { return m_origPos; }
    virtual void SetPos(f32 x, f32 y);
    void SetPos(SpyPoint p) { SetPos(p.x, p.y); }
    f32 GetRotation() const { return m_rotation; }
    virtual void SetRotation(f32 radians) { m_rotation = radians; }
    SpyPoint GetScale() const { return m_scale; }
    SpyPoint GetOrigScale() const { return m_origScale; }
    // Negative components become 0. With keepCentre the object's centre stays where it was.
    virtual void SetScale(SpyPoint scale, bool keepCentre);
    u32 GetColor() const { return m_color; }
    u32 GetOrigColor() const { return m_origColor; }
    virtual void SetColor(u32 argb) { m_color = argb; }
    // The drawn size: base size times scale, rounded.
    virtual u32 GetWidth() const;
    virtual u32 GetHeight() const;
    virtual void SetInInventory(bool on) { m_inInventory = on; }
    bool IsInInventory() const { return m_inInventory; }
    virtual void SetText(const std::wstring&) {}
    virtual std::wstring GetText() const { return {}; }
    // -1 keeps the animation's mode.
    virtual void StartAnim(i32 mode);
    virtual void SetAnimPaused(bool paused) { m_paused = paused; }
    bool IsAnimPaused() const { return m_paused; }
    virtual u32 GetFramesCount() const { return 1; }
    virtual void SetFrame(u32 index);
    virtual bool IsAnimPlaying() const { return false; }
    virtual void SetTextColor(u32 argb);
    virtual aFont* GetFont() const { return nullptr; }

    const std::string& GetName() const { return m_objName; }
    void SetName(const std::string& name) { m_objName = name; }
    const std::string& GetGroup() const { return m_group; }
    void SetGroup(const std::string& group) { m_group = group; }
    void SetOrigPos(SpyPoint p) { m_origPos = p; }
    void SetOrigScale(SpyPoint s) { m_origScale = s; }
    void SetOrigColor(u32 argb) { m_origColor = argb; }
    u32 GetBaseWidth() const { return m_baseWidth; }
    u32 GetBaseHeight() const { return m_baseHeight; }
    void SetBaseSize(u32 width, u32 height);
    u32 GetAlphaClick() const { return m_alphaClick; }
    void SetAlphaClick(u32 threshold) { m_alphaClick = threshold; }

protected:
    // The resource owner; null (silently) before it exists.
    static CResManager* Resources();
    // Optional keys of the object's section: the default when the key is missing.
    static i32 ReadInt(const aOptionsFile& ini, const char* key, i32 fallback);
    static f32 ReadFloat(const aOptionsFile& ini, const char* key, f32 fallback);
    // Hexadecimal, as "%x" reads it.
    static u32 ReadHex(const aOptionsFile& ini, const char* key, u32 fallback);
    // Round to nearest for the non-negative sizes of the scene: add 0.5, then truncate.
    static u32 Rounded(f32 size);
    // The scale and the centre-keeping move that every class shares; `SetPos` only when keeping.
    void ApplyScale(SpyPoint scale, bool keepCentre);

private:
    std::string m_objName;
    std::string m_group;
    SpyPoint m_origPos;
    u32 m_baseWidth = 0, m_baseHeight = 0;
    SpyPoint m_origScale;
    u32 m_origColor = 0;
    u32 m_alphaClick = 0;
    SpyPoint m_pos;
    SpyPoint m_scale{1, 1};
    u32 m_color = 0;
    f32 m_rotation = 0;
    bool m_inInventory = false;
    bool m_paused = false;
};
