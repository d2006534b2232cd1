#pragma once
#include "Canvas.h"
#include "TextRenderer.h"

// The faces the pictures write with.
struct PictureFonts {
    TextRenderer& body;  // running text
    TextRenderer& title; // headings
    TextRenderer& huge;  // the splash screens' names
};

// Full-screen pictures (1024 x 768) and the splash screens.
Canvas menuBackground();
Canvas helpScreen(PictureFonts& fonts);
Canvas loadingBackground(PictureFonts& fonts);
Canvas engineSplash(PictureFonts& fonts);
Canvas demoSplash(PictureFonts& fonts);

// The loading screen's parts.
Canvas inkBlot();
Canvas progressBar();
Canvas progressGlow();

// GUI pieces: nine-slice frames, button states in rows, small controls.
Canvas dialogFrame();
Canvas goldFrame();
Canvas buttonStates();
Canvas slotHover();
Canvas selectorBar();
Canvas selectionMarker();
Canvas tipBalloons();
Canvas arrowCursor();
Canvas checkBox();
Canvas checkMark();
Canvas sliderTrack();
Canvas sliderThumb();
Canvas textField();
// The panel's button of that size, its five looks in bands from the top (5 x height high).
Canvas panelButton(int width, int height);
// A button of that size with its caption drawn in, its four looks in bands from the top, for a
// button that fades as a whole (a caption the GUI draws keeps its own colour).
Canvas captionedButton(TextRenderer& font, int width, int height, const char* caption);

// Particle textures.
Canvas fogPuff();
Canvas lightSpot();
