#include "RoomGroups.h"

// The archive, the three computers and what they give (slots ARCHIVE, PROFILE_PC, VICTIM_PC,
// SEARCH_PC, ID_CARD, FINGERPRINTS, INFORMATION, PHONE_NUMBER) come with the computer puzzles.
void writeLabComputers(const std::string&, HubFiles&) {}
