#include "game/SpyGame/Rooms/Toolkit/cHandlerCell.h"

bool cHandlerCell::Call() const {
    // Held here: the handler may put another subscriber into this very cell.
    const std::shared_ptr<GUI::Subscriber> running = m_Subscriber;
    if (!running)
        return false;
    GUI::EventArgs args;
    return (*running)(args);
}
