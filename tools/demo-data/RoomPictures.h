#pragma once
#include "Canvas.h"
#include "TextRenderer.h"

// The demo investigation's rooms: backgrounds and the scene objects laid over them. Each object
// picture is cut to its own size; where it stands is the room's objects.ini.

// The hall (845 x 768, the room area): a study door on the left, a long-case clock, a desk, a
// fireplace.
Canvas hallBackground();
Canvas cup(Canvas::Color glaze);
Canvas hat();
Canvas desk();
Canvas deskGlow();
Canvas studyDoor(bool open);
// Four pendulum positions side by side, each 60 x 240.
Canvas clockFrames();
Canvas candlestick();
Canvas signBoard();

// The close-up of the desk top (520 x 390).
Canvas deskTopBackground();
Canvas brassKey();
Canvas brassKeyIcon();
Canvas keyGlow();
Canvas papers();

// The study (845 x 768): bookshelves, a window and a wall safe.
Canvas studyBackground();
Canvas safe(bool open);
Canvas fingerprintCard();
Canvas envelope();

// The magic stars' particle.
Canvas sparkle();
