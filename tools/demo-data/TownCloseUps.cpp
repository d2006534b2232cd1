#include "RoomGroups.h"

// The close-ups, the shower room and their finds (slots BOX, FIGURES, FAX, STAIN, EXIT, LAMPS,
// TILES, TABLE, SHOWER, JADE, LAMP01, LAMP02, TORCH) come with the close-up puzzles.
void writeTownCloseUps(const std::string&, HubFiles&) {}
