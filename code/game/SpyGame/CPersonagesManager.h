#pragma once
#include "game/SaveLoadEntity.h"
#include "game/SpyGame/CFindItemsGroup.h"

#include <boost/shared_ptr.hpp>

#include <list>
#include <map>
#include <string>
#include <vector>

class aOptionsFile;
class CDialogSpyGamePanel;
class CPersonage;
class CRoomsManager;

// The personages of the investigation in play: which are playable, which one is played, and the
// per-room pools of hidden-object groups their lists are drawn from.
class CPersonagesManager : public SaveLoadEntity {
public:
    // Level -> groups of that level.
    using LevelPools = std::map<u32, std::vector<CFindItemsGroup>>;

    CPersonagesManager();
    ~CPersonagesManager() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    void SaveChildren(SaveLoadSystem& sys) override;
    void LoadChildren(SaveLoadSystem& sys) override;

    // Creates the personages of section "Personages"; throws aException when it names none, or no
    // start personage: such an investigation cannot be played.
    void CreatePersonages(const aOptionsFile& options, CDialogSpyGamePanel* panel,
                          CRoomsManager* roomsManager);
    void LoadScripts(const std::string& folder, const std::string& roomKey);
    // Per personage: the script of every room of the folder's "_rooms.list", then the folder's own.
    void LoadInvestigationScripts(const std::string& folder, const std::string& investigation);

    CPersonage* GetPersonage(const std::string& name) const;
    // Only an active personage can be selected.
    void SelectPersonage(const std::string& name);
    bool AddActivePersonage(const std::string& name);
    bool RemoveActivePersonage(const std::string& name);
    void ResetForNewGame(bool keepSharedPools);
    void BuildISpyPools(bool fullRebuild);
    // Drops the personages and the name lists; the pools stay.
    void Clear();

    CPersonage* GetCurrentPersonage() const { return m_pCurrent; }
    const std::list<std::string>& GetActivePersonages() const { return m_Active; }
    const std::vector<boost::shared_ptr<CPersonage>>& GetPersonages() const { return m_Personages; }
    CRoomsManager* GetRoomsManager() const { return m_pRoomsManager; }
    // Created when missing.
    LevelPools& GetPool(const std::string& room) { return m_Pools[room]; }
    const std::map<std::string, LevelPools>& GetPools() const { return m_Pools; }

private:
    static std::list<std::string> ReadNameList(const aOptionsFile& options, const std::string& key);
    // Logs the failed condition and throws, as the engine's assertions do.
    [[noreturn]] static void Fail(const char* condition, unsigned line);
    const u8* LoadPools(SaveLoadSystem& sys, const u8* pos);

    CRoomsManager* m_pRoomsManager = nullptr;
    std::map<std::string, LevelPools> m_Pools;
    std::vector<boost::shared_ptr<CPersonage>> m_Personages;
    std::list<std::string> m_All;
    std::list<std::string> m_Start;
    std::list<std::string> m_Active;
    CPersonage* m_pCurrent = nullptr;
};
