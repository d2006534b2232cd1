#include "game/SpyGame/CDialogItemIdent.h"

#include "tk2v/gui/Widget.h"

aRect CDialogItemIdent::GetItemPos() const {
    const GUI::Widget* item = FindControl("IdentItem");
    if (!item)
        return {};
    aRect rect = item->GetArea();
    rect.x = i16(rect.x + m_rootWindow->GetArea().x);
    rect.y = i16(rect.y + m_rootWindow->GetArea().y);
    return rect;
}
