#pragma once
#include "game/SaveLoadEntity.h"
#include "tk2v/gui/MemberSubscriptions.h"
#include "tk2v/util/aSingleton.h"
#include "tk2v/util/types.h"

#include <map>
#include <string>

class aSound;
namespace GUI {
class Style;
class Widget;
} // namespace GUI

// Tutorial tips: a balloon pointing at a place on the screen, with a text, a close button and a
// toggle that turns tips off. The tips, where they point and how often they may appear (per level and
// in how many levels) come from an ini file; the counters are saved with the game.
class CTipManager : public aSingleton<CTipManager>, public SaveLoadEntity {
public:
    static constexpr i32 AUTO_QUARTER = -1;
    // Placement bits: the balloon lies left of the point, above the point.
    static constexpr i32 QUARTER_LEFT = 1;
    static constexpr i32 QUARTER_ABOVE = 2;

    struct Tip {
        u8 enabled = 1;
        i32 quarter = AUTO_QUARTER;
        i32 x = 0;
        i32 y = 0;
        u32 levelsCount = 0xFFFFFFFF;
        u32 levelsLeft = 0;
        u32 timesPerLevel = 0xFFFFFFFF;
        u32 timesLeft = 0;
    };

    CTipManager();

    void Load(const std::string& iniFile);
    // Point -1 takes the tip's own coordinate, an empty text the tip's own text. A tip that may still
    // appear spends one showing even when it is disabled or tips are off.
    bool ShowTip(const std::string& id, i32 x = -1, i32 y = -1, const std::wstring& text = {});
    void SetTipEnabled(const std::string& id, bool enabled);
    bool IsTipShown() const { return m_current != nullptr; }
    void HideTip();
    // Every tip may appear its times per level again; `all` also renews its levels and enables it.
    void ResetCounters(bool all);
    // Hides the tip; a tip shown in this level has one level less left.
    void EndLevel();
    void Update(f32 dt);

    const Tip* FindTip(const std::string& id) const;
    f32 GetTime() const { return m_time; }
    f32 GetFadeTime() const { return m_fadeTime; }

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;

private:
    Tip* Find(const std::string& id);
    void FindWidgets();
    void ReadTips(const std::string& iniFile);
    void Place(const std::string& id, i32 x, i32 y, const std::wstring& text);
    bool OnClick(const GUI::EventArgs& args);
    bool OnToggle(const GUI::EventArgs& args);

    aSound* m_showSound = nullptr;
    GUI::Style* m_styles[4] = {};
    GUI::Widget* m_window = nullptr;
    GUI::Widget* m_balloon = nullptr;
    GUI::Widget* m_text = nullptr;
    GUI::Widget* m_close = nullptr;
    GUI::Widget* m_dontShow = nullptr;
    i32 m_balloonTop = 0;
    u32 m_balloonMinHeight = 0;
    i32 m_tailOffset = 0;
    i32 m_textMargin = 0;
    i32 m_toggleGap = 0;
    f32 m_fadeTime = 0;
    f32 m_closeAnywhereTime = 0;
    std::map<std::string, Tip> m_tips;
    Tip* m_current = nullptr;
    // Since the balloon was shown; negative while it fades out.
    f32 m_time = 0;
    GUI::MemberSubscriptions m_subscriptions;
};
