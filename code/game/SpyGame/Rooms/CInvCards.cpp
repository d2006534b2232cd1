#include "game/SpyGame/Rooms/CInvCards.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "game/SpyGame/CSpyItem.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/util/log.h"

namespace {

const std::string ThumbnailPrefix = "ICO_";
constexpr u32 FormatA4R4G4B4 = 26;
constexpr u32 FormatA8R8G8B8 = 21;

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

CInvCards::CInvCards() {
    m_Propertys.InventoryEnabled = false;
}

CInvCards::~CInvCards() = default;

// The new-card flag comes first in the record.
const u8* CInvCards::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = CRoomBase::LoadSelf(sys, pos);
    return sys.readU8(sys.readU8(sys.readU8(pos, m_NewCard), m_ResetSinceLastOpen), m_CardOpened);
}

u8* CInvCards::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = CRoomBase::SaveSelf(sys, pos);
    return sys.writeU8(sys.writeU8(sys.writeU8(pos, m_NewCard), m_ResetSinceLastOpen), m_CardOpened);
}

void CInvCards::Enter(const std::string& entryName, CSpyItem* entryItem) {
    if (!IsActive() && m_State != Idle)
        return;
    CRoomBase::Enter(entryName, entryItem);
    SetPanelWidgetEnabled("Clues", false);
    SetPanelWidgetVisible("BackBtnPanel", true);
    if (m_pGamePanel)
        m_pGamePanel->SetGlowClues(false);
    m_NewCard = 0;
}

void CInvCards::Leave() {
    if (!IsActive())
        return;
    CRoomBase::Leave();
    SetPanelWidgetEnabled("Clues", true);
    m_ResetSinceLastOpen = 0;
}

void CInvCards::PutPickedItemToInventory() {
    if (m_State == ItemRequested)
        m_State = Playing;
}

CSpyItem* CInvCards::FindCardThumbnail(const std::string& card) {
    const std::string name = ThumbnailPrefix + card;
    return m_Items.HasItem(name) ? m_Items.GetItem(name) : nullptr;
}

bool CInvCards::OpenNewCard(const std::string& card, const std::string& text) {
    if (!IsActive() && m_State != Idle)
        return false;
    CSpyItem* thumbnail = FindCardThumbnail(card);
    if (!thumbnail) {
        log("%s Not find thumbnail for card with name '%s'.", "CInvCards::OpenNewCard().", card.c_str());
        return false;
    }
    thumbnail->SetCurrentUserData(text);
    const std::string opened = thumbnail->GetGroup() + "_OPENED";
    if (m_Items.HasItem(opened) && m_Items.GetItem(opened)->IsVisible())
        thumbnail->SetVisible(true);
    if (m_pGamePanel)
        m_pGamePanel->SetGlowClues(true);
    m_NewCard = m_CardOpened = 1;
    return true;
}

boost::shared_ptr<aImage> CInvCards::LoadCardImage(const std::string& card) {
    if (!IsActive() && m_State != Idle)
        return {};
    if (m_DataCardsFolder.empty()) {
        m_DataCardsFolder = m_DataFolder + "InvCards/";
        // The language folder the game gives its built-in rooms.
        m_LanguageCardsFolder = "language:Investigations/" + m_Name + "/InvCards/";
    }
    std::string name = card;
    if (name.size() > ThumbnailPrefix.size() && StartsWith(name, ThumbnailPrefix))
        name.erase(0, ThumbnailPrefix.size());
    for (const std::string& folder : {m_DataCardsFolder, m_LanguageCardsFolder}) {
        const std::string file = folder + name + ".jng";
        if (file_exists(file))
            return boost::shared_ptr<aImage>(new aImage(file, FormatA4R4G4B4, FormatA8R8G8B8));
    }
    return {};
}

void CInvCards::ShowGroupItems(const std::string& group, bool show) {
    if (group.empty())
        return;
    for (size_t i = 0; i < m_Items.GetItemCount(); ++i) {
        CSpyItem* item = m_Items.GetItemAt(i);
        if (item->GetGroup() == group)
            item->SetVisible(!item->GetCurrentUserData().empty() && show);
    }
}

void CInvCards::HandleInput(f32 dt) {
    const aInputServer* input = aApplication::inputServer();
    CSpyItem* item = m_pItemUnderCursor;
    if (item && input && input->mouseButtons[0] == KEY_PRESSED && !item->IsLocked()) {
        if (item->IsQuestItem() && PickItem(item, false))
            return;
        if (item->ClickUse()) {
            ShowGroupItems(item->GetCurrentUserData(), !StartsWith(item->GetName(), "CLOSE"));
            RefreshForPersonage();
            return;
        }
    }
    CRoomBase::HandleInput(dt);
}

void CInvCards::CardsCommand(bool carryOver, const std::string& investigation) {
    if (m_State <= ResourcesQueued)
        return;
    m_NewCard = 0;
    if (carryOver) {
        for (size_t i = 0; i < m_Items.GetItemCount(); ++i) {
            CSpyItem* item = m_Items.GetItemAt(i);
            if (item->IsQuestItem() && item->GetCurrentUserData() == investigation)
                item->SetCurrentUserData("");
        }
        return;
    }
    Reset();
    m_ResetSinceLastOpen = 1;
    m_CardOpened = 0;
}
