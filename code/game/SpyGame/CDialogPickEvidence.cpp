#include "game/SpyGame/CDialogPickEvidence.h"

#include "tk2v/gui/Widget.h"

#include <algorithm>

CDialogPickEvidence::~CDialogPickEvidence() {
    for (const CWidgetWatch* part : {&m_window, &m_panel, &m_frame})
        part->RestoreArea();
}

void CDialogPickEvidence::FindWidgets() {
    GUI::Widget* panel = FindControl("panel");
    m_window.Watch(m_rootWindow);
    m_panel.Watch(panel);
    m_frame.Watch(panel ? panel->FindChild("over_style", true) : nullptr);
}

void CDialogPickEvidence::SetContentSize(i32 w, i32 h) {
    GUI::Widget* panel = m_panel.Get();
    if (!panel)
        return;
    const aRect& initial = m_panel.Initial();
    const i32 width = std::max(i32(initial.w), w + SLOT_PADDING);
    const i32 height = std::max(i32(initial.h), h + SLOT_PADDING);
    panel->SetArea(initial.x, initial.y, u16(width), u16(height));
    if (GUI::Widget* frame = m_frame.Get())
        frame->SetSize(u16(width), u16(height));
    if (GUI::Widget* window = m_window.Get()) {
        const aRect& win = m_window.Initial();
        const i32 dw = width - initial.w, dh = height - initial.h;
        window->SetArea(i16(win.x - dw / 2), i16(win.y - dh / 2), u16(win.w + dw), u16(win.h + dh));
    }
}

aRect CDialogPickEvidence::GetSlotRect() const {
    const GUI::Widget* panel = m_panel.Get();
    const GUI::Widget* window = m_window.Get();
    if (!panel || !window)
        return {};
    aRect slot = panel->GetArea();
    slot.x = i16(slot.x + window->GetArea().x);
    slot.y = i16(slot.y + window->GetArea().y);
    if (const GUI::Widget* frame = m_frame.Get()) {
        slot.x = i16(slot.x + frame->GetArea().x);
        slot.y = i16(slot.y + frame->GetArea().y);
    }
    return slot;
}
