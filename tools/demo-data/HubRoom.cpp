#include "HubRoom.h"

#include "Synth.h"

#include <algorithm>

namespace {

constexpr int kWidth = 845, kHeight = 768;
constexpr Canvas::Color kLabel = 0xFF2A2418, kPlate = 0xFFE8D8A8, kPlateRim = 0xFF8C7040;

// A text on a brass-rimmed plate, centred on `centerX` below `top`.
void sign(Canvas& c, TextRenderer& font, int centerX, int top, const char* text) {
    const int w = font.textWidth(text) + 20, h = font.lineHeight() + 6, x = centerX - w / 2;
    c.fillRoundRect(float(x), float(top), float(w), float(h), 5, kPlateRim);
    c.fillRoundRect(float(x + 2), float(top + 2), float(w - 4), float(h - 4), 4, kPlate);
    font.drawCentered(c, centerX, top + 3, text, kLabel);
}

void labelledSlot(Canvas& c, const HubSlot& slot, const HubLook& look, PictureFonts& fonts) {
    const float x = float(slot.x), y = float(slot.y), w = float(slot.w), h = float(slot.h);
    c.fillRoundRect(x - 4, y - 4, w + 8, h + 8, 8, look.frame);
    c.fillRoundRect(x, y, w, h, 6, look.inset);
    sign(c, fonts.body, slot.x + slot.w / 2, slot.y + slot.h + 6, slot.label);
}

// A board under the slot's row, and the slot a hollow in the wall above it.
void shelfSlot(Canvas& c, const HubSlot& slot, const HubLook& look) {
    c.fillRoundRect(float(slot.x), float(slot.y), float(slot.w), float(slot.h), 4, look.inset);
    c.fillRect(slot.x - 12, slot.y + slot.h, slot.w + 24, 8, look.frame);
}

} // namespace

Canvas hubBackground(const HubLook& look, int floorY, const std::vector<HubSlot>& slots,
                     PictureFonts& fonts) {
    Canvas c(kWidth, kHeight);
    c.verticalGradient(0, 0, kWidth, floorY, look.wallTop, look.wallBottom);
    c.verticalGradient(0, floorY, kWidth, kHeight - floorY, look.floorTop, look.floorBottom);
    c.fillRect(0, floorY - 6, kWidth, 6, look.frame);
    sign(c, fonts.title, look.titleX, look.titleY, look.title);
    for (const HubSlot& slot : slots) {
        if (slot.label)
            labelledSlot(c, slot, look, fonts);
        else
            shelfSlot(c, slot, look);
    }
    return c;
}

std::vector<uint8_t> paperSlide() {
    Synth s(0.3f);
    s.noiseBurst(0, 0.25f, 0.4f);
    s.note(0, 0.3f, 900, 0.15f, Synth::Wave::Triangle, 0.02f, 500);
    s.normalize(0.45f);
    return s.wav();
}

Canvas fitted(const Canvas& src, int size) {
    const float k = float(std::max(src.width(), src.height())) / float(size);
    Canvas c(size, size, 0);
    const int offX = (size - int(float(src.width()) / k)) / 2,
              offY = (size - int(float(src.height()) / k)) / 2;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float sum[4] = {0, 0, 0, 0}, n = 0;
            for (int sy = int(float(y - offY) * k); sy < int(float(y - offY + 1) * k); ++sy)
                for (int sx = int(float(x - offX) * k); sx < int(float(x - offX + 1) * k); ++sx) {
                    if (sx < 0 || sy < 0 || sx >= src.width() || sy >= src.height())
                        continue;
                    const Canvas::Color p = src.at(sx, sy);
                    const float a = float(p >> 24);
                    sum[0] += a;
                    for (int ch = 1; ch < 4; ++ch)
                        sum[ch] += a * float(p >> (24 - 8 * ch) & 0xFF);
                    n += 1;
                }
            if (n == 0 || sum[0] == 0)
                continue;
            Canvas::Color out = Canvas::Color(sum[0] / n) << 24;
            for (int ch = 1; ch < 4; ++ch)
                out |= Canvas::Color(sum[ch] / sum[0]) << (24 - 8 * ch);
            c.set(x, y, out);
        }
    return c;
}
