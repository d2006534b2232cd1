#include "game/SpyGame/Rooms/Toolkit/cPlaceByName.h"

#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/Toolkit/MouseState.h"

CSpyItem* cPlaceByName::Put(CSpyItem* carried, bool anywhere) {
    if (!carried || LeftButtonState() != KEY_PRESSED)
        return nullptr;
    CSpyItem* target = Find(carried->GetName());
    if (!target)
        return nullptr;
    // The target may still be hidden: the test is on its own place, not on what shows there.
    const auto [x, y] = MousePosition();
    if (!anywhere && !target->HitTest(i16(x), i16(y)))
        return nullptr;
    carried->SetInInventory(false);
    carried->SetVisible(false);
    target->SetVisible(true);
    return target;
}

CSpyItem* cPlaceByName::Find(const std::string& name) const {
    const auto found = m_Targets.find(name);
    return found == m_Targets.end() ? nullptr : found->second;
}
