#pragma once
#include "game/SpyGame/CSpyObject.h"

class aImage;
struct PictureHit;

// A still image, with an optional icon (the image named like it plus "_icon") as its inventory form.
// Both images belong to the image manager.
class CSpyObjImage : public CSpyObject {
public:
    static const char* GetClassStaticName() { return "image"; }

    void CopyFrom(const CSpyObject& other) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void LoadRes(const std::string& group, aOptionsFile& ini, const std::string& name) override;
    void Render() override;
    void RenderIcon() override;
    // The probe point and its four neighbours, each against the pixel's alpha.
    bool HitTest(i32 x, i32 y) override;
    u32 GetWidth() const override;
    u32 GetHeight() const override;

    aImage* GetImage() const { return m_image; }
    aImage* GetIcon() const { return m_icon; }

protected:
    // The image named in the group and its icon, when loaded; a missing image is logged.
    void BindImages(const std::string& imageName, bool logMissing);
    bool ImageHitTest(i32 x, i32 y) const;

private:
    bool ShapeForHit(PictureHit& shape, const aImage*& picture) const;

    aImage* m_image = nullptr;
    aImage* m_icon = nullptr;
};
