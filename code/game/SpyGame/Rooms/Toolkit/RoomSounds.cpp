#include "game/SpyGame/Rooms/Toolkit/RoomSounds.h"

#include "game/SpyGame/Rooms/CRoomBase.h"
#include "tk2v/sound/aSound.h"

aSound* PlayRoomSound(const CRoomBase& room, const std::string& name, bool loop) {
    aSound* sound = room.GetSound(name);
    if (sound)
        sound->play(loop, aSound::KEEP_VOLUME, aSound::KEEP_PAN);
    return sound;
}

void StopRoomSound(const CRoomBase& room, const std::string& name) {
    if (aSound* sound = room.GetSound(name); sound && sound->isPlaying())
        sound->stop();
}
