#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"

// A close-up with a way out: the player clicks its back item, a second item shows and he is taken
// back to the room he came from. Nothing is won here; the room only leads on.
class cBackMooverPuzzle : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "BackMooverPuzzle"; }

    cBackMooverPuzzle();
    ~cBackMooverPuzzle() override;

    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void HandleInput(f32 dt) override;

protected:
    // From room.ini ("Options"); the room saves nothing of its own.
    CSpyItem* m_pBackItem = nullptr;
    CSpyItem* m_pShowItem = nullptr;
};
