#pragma once
#include <string>

class aSound;
class CRoomBase;

// A room's sound by name, the room's own group first, played with the sound's own volume and pan; a
// room whose data lacks it plays nothing. Answers the sound, or null.
aSound* PlayRoomSound(const CRoomBase& room, const std::string& name, bool loop = false);
// Stops the room's sound of that name if it plays.
void StopRoomSound(const CRoomBase& room, const std::string& name);
