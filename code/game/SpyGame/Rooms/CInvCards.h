#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"

#include <boost/shared_ptr.hpp>

#include <string>

class aImage;

// The built-in room of the investigation cards the player has earned. A card's thumbnail is the item
// "ICO_" + card name; its image is the card name + ".jng" in the room's "InvCards/" folder. An item's
// user data stamps an earned thumbnail with the investigation that earned it, and names the group of
// pages that a click on the item shows or hides.
class CInvCards : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "InvCards"; }

    CInvCards();
    ~CInvCards() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void Enter(const std::string& entryName, CSpyItem* entryItem) override;
    void Leave() override;
    // Nothing goes into the inventory from here.
    void PutPickedItemToInventory() override;
    void HandleInput(f32 dt) override;
    // With carry-over the cards stamped with this investigation are cleared; without, the room resets.
    virtual void CardsCommand(bool carryOver, const std::string& investigation);

    bool OpenNewCard(const std::string& card, const std::string& text);
    CSpyItem* FindCardThumbnail(const std::string& card);
    // Empty when the image is in neither folder.
    boost::shared_ptr<aImage> LoadCardImage(const std::string& card);
    void ShowGroupItems(const std::string& group, bool show);

    bool IsCardOpened() const { return m_CardOpened != 0; }
    bool HasNewCard() const { return m_NewCard != 0; }
    bool IsResetSinceLastOpen() const { return m_ResetSinceLastOpen != 0; }

private:
    u8 m_ResetSinceLastOpen = 0;
    u8 m_CardOpened = 0;
    u8 m_NewCard = 0;
    std::string m_DataCardsFolder;
    std::string m_LanguageCardsFolder;
};
