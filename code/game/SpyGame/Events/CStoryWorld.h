#pragma once
#include <string>

class CPersonagesManager;
class CRoomItemLookup;

// What the story events and the tip triggers ask of the investigation in progress: its current room,
// its personages, the panel's message and the items of every room. The investigation answers; the
// events and tips only read.
class CStoryWorld {
public:
    virtual ~CStoryWorld() = default;

    virtual std::string GetInvestigationName() const = 0;

    // The current room's name and class name; false when there is no current room.
    virtual bool GetCurrentRoom(std::string& name, std::string& className) const = 0;
    // No close-up, evidence box or cards room is open over the room.
    virtual bool IsHistoryEmpty() const = 0;
    // The current room still has items to find and does not disable hints.
    virtual bool CanGiveHint() const = 0;
    // The current room's properties disable hints.
    virtual bool AreHintsDisabled() const = 0;
    // In the cards room: a card has been opened.
    virtual bool IsCardOpened() const = 0;

    // The panel's message box is shown.
    virtual bool IsMessageShown() const = 0;

    // The personages of the investigation; null before they are made.
    virtual CPersonagesManager* GetPersonagesManager() const = 0;

    // The items of every room of the investigation.
    virtual const CRoomItemLookup& GetRooms() const = 0;
};
