#pragma once
#include "game/SaveLoadEntity.h"

#include <string>
#include <vector>

class aOptionsFile;
class CPersonage;
class CSpyEventsManager;
class CStoryWorld;

// One story event of "_events.ini": start conditions read from its section and a done flag, the only
// thing saved. The classes of SpyEvents add the data of their effect; the investigation's runner acts
// on an event by its class name once it has marked it done.
class CSpyEventBase : public SaveLoadEntity {
public:
    // How a class uses a condition key: a key it does not use is read but never tested.
    enum KeyMode : u32 { NotUsed = 0, Optional = 1, Required = 2 };
    // The condition keys, in the order of their modes.
    enum ConditionKey : u32 {
        KeyLocation,
        KeyNotInCloseUp,
        KeyAfterEvents,
        KeyBeforeEvents,
        KeyWinItemsList,
        KeyWaitCloseMessage,
        KeyItemInInventory,
        KeyVisibilityItems,
        KeyPersonage,
        ConditionKeyCount
    };
    using StringList = std::vector<std::string>;

    static const char* GetClassStaticName() { return "EventBase"; }

    CSpyEventBase() = default;
    ~CSpyEventBase() override = default;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;

    virtual std::string GetClassName() const { return GetClassStaticName(); }
    virtual void Init(CStoryWorld* investigation, CSpyEventsManager* manager);
    // Reads the keys of the options file's current section.
    virtual void ReadFromIniFile(aOptionsFile& ini);
    virtual bool CanStart();
    virtual void SetDone() { m_done = 1; }
    virtual bool IsDone() const { return m_done != 0; }
    virtual std::string GetName() const { return m_eventName; }
    virtual void Reset() { m_done = 0; }

    KeyMode GetKeyMode(ConditionKey key) const { return KeyMode(m_keyModes[key]); }
    const std::string& GetLocation() const { return m_location; }
    const std::string& GetItemInInventory() const { return m_itemInInventory; }
    const std::string& GetPersonage() const { return m_personage; }

protected:
    void SetKeyMode(ConditionKey key, KeyMode mode) { m_keyModes[key] = mode; }
    CStoryWorld* GetInvestigation() const { return m_investigation; }

    // Readers of one key each: the mode decides the log lines, a missing key stores the default.
    void ReadIntKey(aOptionsFile& ini, const char* key, KeyMode mode, i32 def, i32& out);
    void ReadFlagKey(aOptionsFile& ini, const char* key, KeyMode mode, u8 def, u8& out);
    void ReadStringKey(aOptionsFile& ini, const char* key, KeyMode mode, const std::string& def,
                       std::string& out);
    void ReadListKey(aOptionsFile& ini, const char* key, KeyMode mode, StringList& out);

private:
    // Whether the key is present, after the lines its mode asks for.
    bool CheckKey(const aOptionsFile& ini, const char* key, KeyMode mode) const;
    bool Uses(ConditionKey key) const { return m_keyModes[key] != NotUsed; }
    bool CheckEventsDone(const StringList& names, bool done) const;
    bool CheckWinItemsList() const;
    bool CheckWinItem(const std::string& entry) const;
    bool CheckPersonageItem(const CPersonage& personage, const std::string& room,
                            const std::string& item) const;
    // Null without personages or a current one.
    CPersonage* CurrentPersonage() const;
    bool CheckVisibilityItems();

    std::string m_eventName;
    u8 m_done = 0;
    std::string m_location;
    u8 m_notInCloseUp = 0;
    StringList m_afterEvents;
    StringList m_beforeEvents;
    StringList m_winItemsList;
    u8 m_waitCloseMessage = 0;
    std::string m_itemInInventory;
    StringList m_visibilityItems;
    std::string m_personage;
    u32 m_keyModes[ConditionKeyCount] = {Optional, Optional, Optional, Optional, Optional,
                                         Optional, Optional, Optional, Optional};
    CStoryWorld* m_investigation = nullptr;
    CSpyEventsManager* m_manager = nullptr;
};
