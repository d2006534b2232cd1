#pragma once
#include "tk2v/util/types.h"

namespace platform {

// What one key or button reports poll by poll, so that every press is seen as a change from up to
// down: a press let go before the next poll still reads down there, and a press that comes while the
// last poll read down (a second tap, or a let-go-and-press-again within one poll) reads up in the
// next poll and down in the one after.
class PressQueue {
public:
    // A change from up to down.
    void press() {
        if (m_pending < kMaxPending)
            ++m_pending;
    }
    // The state this poll reports, with the key's own state now.
    bool poll(bool down) {
        if (m_pending == 0)
            return m_reported = down;
        if (m_reported)
            return m_reported = false;
        --m_pending;
        return m_reported = true;
    }
    // Presses not yet reported are forgotten; the key's own state is reported from the next poll.
    void drop() { m_pending = 0; }

private:
    // A burst of presses beyond this many is not worth replaying frames later.
    static constexpr u8 kMaxPending = 8;
    u8 m_pending = 0;
    bool m_reported = false;
};

} // namespace platform
