#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"

#include <string>

// A rooms manager that also makes the test's own room classes, which the shipped factory does not
// know: a room.ini naming one of them gets it, any other class goes to the factory.
template <class... Rooms> class TestRoomsManager : public CRoomsManager {
protected:
    CRoomBase* MakeRoom(const std::string& className) override {
        CRoomBase* room = nullptr;
        ((room = room ? room : className == Rooms::GetClassStaticName() ? new Rooms : nullptr), ...);
        return room ? room : CreateRoom(className);
    }
};
