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
// The buttons' picture: the styles' four looks in 48 x 48 cells down its first column (normal,
// hover, pushed, disabled); right of them the comic page's buttons Back, Next, Skip and Finish,
// 140 x 48 a look, each a column of its four looks with its caption drawn in, so that it fades
// out whole while the reader looks at a page (a caption the GUI draws keeps its own colour).
Canvas buttonSheet(TextRenderer& font);
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
// A note's page-turning button, 60 x 40: a cream arrow pointing right (next) or left (back).
Canvas pageArrow(bool right);
// The panel's button of that size, its five looks in bands from the top (5 x height high).
Canvas panelButton(int width, int height);

// Particle textures.
Canvas fogPuff();
Canvas lightSpot();
