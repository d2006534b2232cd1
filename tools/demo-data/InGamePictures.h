#pragma once
#include "Canvas.h"
#include "Pictures.h"

// The pictures of play: the panel's parts, the end-of-case banners, and the rooms every
// investigation shares (the map, the evidence box, the cards) with the comic pages.

// The hint marker, drawn in a ring around the thing it points at.
Canvas hintStar();

// The panel's parts, sized and placed as InGame.agui lays the panel out in the column left of the
// room area. The column's background (179 x 768), with the wells of the inventory strip's cells.
Canvas panelBackground();
// The notepad's sheet (162 x 330), ruled off between the case's tasks and the room's.
Canvas notepadSheet();
// The hint button (163 x 40 a band) with its star, and the strip's arrows (48 x 30 a band).
Canvas hintButton();
Canvas panelArrow(bool right);
// Laid over the top of the inventory strip (168 x 52).
Canvas inventoryShadow();
// The personage's face in a round frame, in the colours of their coat and backdrop: the panel's
// photo and the message box's icon.
Canvas portrait(int size, Canvas::Color coat = 0xFF5A4A3A, Canvas::Color backdrop = 0xFF2A3550);
// A title on a framed plate, shown over the room when a case ends.
Canvas banner(PictureFonts& fonts, const char* text);

// The map (845 x 768, the room area), the two places on it, and a place whose search is over.
Canvas mapBackground();
Canvas mapPlace(bool study);
Canvas mapPlaceDone();
// The evidence box and the cards room (845 x 768 each).
Canvas boardBackground(Canvas::Color felt);
// A card's place in the cards room, its thumbnail, and the card itself (320 x 280).
Canvas cardSlot();
Canvas cardThumbnail();
Canvas letterCard(PictureFonts& fonts);
// A full-screen comic page; `page` counts from 1.
Canvas comicPage(PictureFonts& fonts, int page);
