#include "game/SpyGame/CompletionEffect.h"

#include "game/CResManager.h"
#include "game/GameConstants.h"
#include "tk2v/gfx/aGDI.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/sound/aMusicManager.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/sound/aSoundManager.h"

#include <algorithm>

namespace {

u32 AlphaColor(f32 alpha, u32 rgb) {
    return u32(std::clamp(alpha, 0.0f, 1.0f) * 255.0f) << 24 | rgb;
}

} // namespace

void CompletionEffect::Init() {
    m_res = CResManager::exists() ? CResManager::getSingleton() : nullptr;
    m_sound = m_res ? m_res->getSoundManager()->getSound("investigation_completed") : nullptr;
    const f32 length = m_sound ? m_sound->getLength() : 0;
    // A sound that reports no length would leave the phases nothing to divide.
    m_duration = length > 0 ? length : DEFAULT_DURATION;
    m_state = IDLE;
}

void CompletionEffect::Start(bool theEnd) {
    if (m_state == NOT_INITIALISED)
        return;
    if (m_res) {
        m_res->getSoundManager()->stopAll();
        m_res->getMusicManager()->stop(false);
        m_image = m_res->getImageManager()->getImage(theEnd ? "The_end" : "Investigation_complete");
    }
    if (m_sound)
        m_sound->play();
    m_state = GROWING;
    m_time = 0;
}

void CompletionEffect::Stop() {
    if (m_state != NOT_INITIALISED)
        m_state = IDLE;
}

void CompletionEffect::Update(f32 dt) {
    if (!IsPlaying())
        return;
    m_time += dt;
    if (m_state == GROWING && m_time > m_duration * 0.5f)
        m_state = SHOWN;
    if (m_state == SHOWN && m_time > m_duration)
        m_state = FADING;
    if (m_state == FADING && m_time > m_duration + FADE_TIME)
        m_state = IDLE;
}

void CompletionEffect::Render() {
    if (!IsPlaying() || !m_res)
        return;
    f32 background = 1.0f, scale = END_SCALE, imageAlpha = 1.0f;
    if (m_state == GROWING) {
        const f32 k = m_time / (m_duration * 0.5f);
        background = k;
        scale = k * (END_SCALE - START_SCALE) + START_SCALE;
        imageAlpha = 0.6f + 0.4f * k;
    } else if (m_state == FADING) {
        imageAlpha = 1.0f - (m_time - m_duration);
    }
    aGDI& gdi = m_res->getGDI();
    gdi.color = AlphaColor(background, 0);
    gdi.drawRect(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, true);
    if (!m_image)
        return;
    const f32 scales[2] = {scale, scale};
    const f32 x = (SCREEN_WIDTH - m_image->getWidth() * scale) * 0.5f;
    const f32 y = (SCREEN_HEIGHT - m_image->getHeight() * scale) * 0.5f;
    m_image->drawAtF(x, y, AlphaColor(imageAlpha, 0xFFFFFF), scales);
}
