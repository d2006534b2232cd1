#pragma once
#include "tk2v/util/types.h"

#include <string>

class CRoomItemLookup;

// A personage's record of one item: how often it was touched and used, and whether its use target
// is the personage itself.
struct StoryItemRecord {
    bool usedOnSelf = false;
    u32 useCount = 0;
    u32 touchCount = 0;
};

// What the story events and the tip triggers ask of the investigation in progress: its current room
// and personage, the personages' records, the panel's message and the items of every room. The
// investigation answers; the events and tips only read.
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

    // The current personage's name; false when there is no current personage.
    virtual bool GetCurrentPersonage(std::string& name) const = 0;
    // The current personage's inventory; empty without a personage.
    virtual bool InventoryHasItem(const std::string& item) const = 0;
    virtual u32 GetInventoryItemCount() const = 0;

    // Questions on any personage by name; an unknown name has no records.
    virtual bool HasPersonage(const std::string& name) const = 0;
    // Every task group of the personage's record of the room is complete (also with no record).
    virtual bool IsRoomTaskListDone(const std::string& personage, const std::string& room) const = 0;
    // The same on the room's generated hidden-object groups.
    virtual bool IsRoomISpyListDone(const std::string& personage, const std::string& room) const = 0;
    // The personage's record of the item; false when it has none.
    virtual bool GetItemRecord(const std::string& personage, const std::string& room, const std::string& item,
                               StoryItemRecord& out) const = 0;

    // The items of every room of the investigation.
    virtual CRoomItemLookup& GetRooms() = 0;
};
