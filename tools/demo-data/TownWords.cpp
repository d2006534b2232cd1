#include "RoomGroups.h"

// The word puzzles' places and finds (slots MACHINE, DIARY, ZODIAC, REGISTER, LETTERTABLE,
// TOKEN1, INV01, INV02, STAKANSKARAND, PIECE1, PIECE2, PIECE3) come with the word puzzles.
void writeTownWords(const std::string&, HubFiles&) {}
