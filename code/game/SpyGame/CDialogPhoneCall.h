#pragma once
#include "game/SpyGame/CInGameDialog.h"
#include "game/SpyGame/CWidgetWatch.h"
#include "tk2v/gfx/aRect.h"

// A phone conversation: the two speakers left and right, their line in a box whose bottom stays put
// as the text grows, over a screen that darkens while the dialog fades in.
class CDialogPhoneCall : public CInGameDialog {
public:
    static constexpr f32 FADE_SPEED = 2.0f;

    CDialogPhoneCall() : CInGameDialog("PhoneCall", {{"Continue", CMD_YES}}) {}
    // Puts the box, its frame and its text back as the script had them, where they still live.
    ~CDialogPhoneCall();

    // Starts the darkening from nothing.
    void Show() override;
    void Update(f32 dt);

    void SetText(const std::string& key, const std::string& section);
    void SetLeftImage(const aImage* image) { SetImageOf("LeftPers", image); }
    void SetRightImage(const aImage* image) { SetImageOf("RightPers", image); }

    f32 GetFade() const { return m_fade; }

protected:
    void FindWidgets() override;

private:
    bool OnBeginRender(const GUI::EventArgs& args);

    CWidgetWatch m_box, m_frame, m_text;
    f32 m_fade = 0;
};
