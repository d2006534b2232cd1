#include "game/CResManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/input/aInputServer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

// The drawing of a room: background, items, pick effects and the hint's ring of stars, clipped to the
// active rectangle.

namespace {

constexpr f32 Pi = std::numbers::pi_v<f32>;
constexpr f32 MinRingRadius = 60.0f;
constexpr f32 RingFade = 0.4f;
constexpr f32 RingFadeOut = 3.6f;
constexpr f32 RingEnd = 4.0f;

// How much a picked item is scaled at its effect's timer: it swells, shrinks, then grows as it fades.
f32 PickScale(f32 timer) {
    if (timer <= 1.25f)
        return timer;
    if (timer <= 1.75f)
        return 2.5f - timer;
    return timer - 1.0f;
}

u32 RingAlpha(f32 time) {
    f32 alpha = 255.0f;
    if (time < RingFade)
        alpha = time / RingFade * 255.0f;
    else if (time >= RingFadeOut)
        alpha = (RingEnd - time) / RingFade * 255.0f;
    return u32(std::clamp(std::floor(alpha + 0.5f), 0.0f, 255.0f));
}

} // namespace

void CRoomBase::Render() {
    if (!IsActive() && m_State != Idle)
        return;
    ChooseMouseMode();
    aGraphServer* gfx = aApplication::graphServer();
    if (!gfx)
        return;
    const aRect kept = gfx->getViewport();
    aRect clip;
    gfx->setViewport(kept.intersect(clip, m_ActiveRect));
    if (m_pBackground) {
        const f32 scale[2] = {m_Scale.x, m_Scale.y};
        m_pBackground->draw(m_Origin.x, m_Origin.y, 0, 0, m_pBackground->getWidth(),
                            m_pBackground->getHeight(), 0xFFFFFFFF, scale, 0);
    }
    RenderItems();
    RenderPickEffects();
    RenderHintRing();
    gfx->setViewport(kept);
}

void CRoomBase::ChooseMouseMode() {
    aApplication* app = aApplication::getInstance();
    aInputServer* input = app ? app->getInputServer() : nullptr;
    const aGraphServer* gfx = app ? app->getGraphServer() : nullptr;
    if (!input || !gfx)
        return;
    i32 x = 0, y = 0;
    input->getMousePos(x, y);
    bool offScreen = x < 0 || y < 0 || x >= gfx->getWidth() || y >= gfx->getHeight();
    bool wanted = offScreen || (m_ActiveRect.contains(x, y) ? m_bSharedMouseInside : m_bSharedMouseOutside);
    if (input->nonExclusive == wanted)
        return;
    input->initMouse(wanted, false);
    input->setMousePos(x, y);
}

void CRoomBase::RenderPickEffects() {
    for (const auto& [item, timer] : m_PickEffects) {
        const f32 f = PickScale(timer);
        const SpyPoint scale = item->GetScale();
        const SpyPoint pos = item->GetPos();
        item->SetVisible(true);
        item->SetScale({scale.x * f, scale.y * f}, true);
        item->Render();
        item->SetScale(scale, true);
        item->SetPos(pos.x, pos.y);
        item->SetVisible(false);
    }
}

void CRoomBase::RenderHintRing() {
    if (!m_pHintItem || !m_pResManager)
        return;
    aImageManager* images = m_pResManager->getImageManager();
    aImage* star = images->hasImage("star") ? images->getImage("star") : nullptr;
    if (!star)
        return;
    const f32 T = m_HintTime;
    const f32 hx = f32(m_pHintItem->GetWidth() / 2), hy = f32(m_pHintItem->GetHeight() / 2);
    const f32 r = std::max(MinRingRadius, std::sqrt(hx * hx + hy * hy));
    const SpyPoint pos = m_pHintItem->GetPos();
    const f32 cx = pos.x + hx, cy = pos.y + hy;
    const u32 color = RingAlpha(T) << 24 | 0xFFFFFF;
    // Counted, not stepped by a float angle: the step rounds, and a float loop draws one star too many.
    const i32 n = TruncToInt((r - T) * 0.1f + 9.0f);
    const f32 halfW = f32(star->getWidth()) / 2, halfH = f32(star->getHeight()) / 2;
    for (i32 i = 0; i < n; ++i) {
        const f32 phi = T + f32(i) * (2 * Pi / f32(n));
        star->drawAtF(cx + r * std::cos(phi) - halfW, cy + r * std::sin(phi) - halfH, color, nullptr,
                      Pi - phi);
    }
}
