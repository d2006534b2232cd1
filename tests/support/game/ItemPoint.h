#pragma once
#include "game/SpyGame/CDialogMessage.h"
#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "game/SpyGame/CSpyObject.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "tk2v/platform/Rect.h"

#include <cstdlib>
#include <optional>

// Whether a press at (x, y) reaches the item: inside the room's active rectangle, clear of the panel
// and its message box, and the room's own hit search, top item first, finds it.
inline bool pressReachesItem(CRoomBase& room, const CSpyItem& item, CDialogSpyGamePanel& panel, i32 x,
                             i32 y) {
    if (!room.GetActiveRect().contains(x, y) || panel.IsPointOverPanel(x, y) ||
        panel.GetMessage().IsPointInside(i16(x), i16(y)))
        return false;
    const CSpyItemManager& items = room.GetItemManager();
    for (size_t i = items.GetItemCount(); i-- > 0;) {
        CSpyItem* above = items.GetItemAt(i);
        if (above->IsVisible() && above->GetMainObject() && !above->GetName().starts_with("#s") &&
            above->GetMainObject()->HitTest(i16(x), i16(y)))
            return above == &item;
    }
    return false;
}

// The point of the item nearest its middle that a press reaches; none when the item does not show or
// no point of it is reached.
inline std::optional<platform::Point> itemPoint(CRoomBase& room, const CSpyItem& item,
                                                CDialogSpyGamePanel& panel) {
    if (!item.IsVisible() || !item.GetMainObject())
        return std::nullopt;
    const i32 left = i32(item.GetPos().x), top = i32(item.GetPos().y);
    const i32 midX = left + item.GetWidth() / 2, midY = top + item.GetHeight() / 2;
    const auto distance = [midX, midY](platform::Point p) {
        return std::abs(p.x - midX) + std::abs(p.y - midY);
    };
    std::optional<platform::Point> best;
    for (i32 y = top; y < top + item.GetHeight(); y += 2)
        for (i32 x = left; x < left + item.GetWidth(); x += 2)
            if ((!best || distance({x, y}) < distance(*best)) && pressReachesItem(room, item, panel, x, y))
                best = platform::Point{x, y};
    return best;
}
