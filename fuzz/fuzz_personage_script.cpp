#include "fuzz_input_file.h"
#include "game/SpyGame/CPersonage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {
const std::string& inputName() {
    return fuzzInputPath("fuzz_personage_script", ".ai");
}
} // namespace

// Reads the script as a personage's (the file's stem is its name), resets it for a new game and runs
// every rule of every item it knows: look, click, pick, and its use as the carried item.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeFuzzInput(inputName(), "", data, size);
    const std::string& path = inputName();
    const size_t slash = path.rfind('/');
    CPersonage personage(path.substr(slash + 1, path.size() - slash - 1 - 3));
    CPersonage other("Bob");
    personage.LoadScript(path.substr(0, slash + 1), "Hall");
    personage.Reset(true);
    std::vector<CPersonage::ItemKey> keys;
    for (const auto& [key, record] : personage.GetItemInfos())
        keys.push_back(key);
    for (const CPersonage::ItemKey& key : keys) {
        personage.EnterRoom(key.first);
        personage.SetFocusedItem(key.second);
        personage.CanPickFocusedItem();
        personage.GetFocusedItemAbout();
        personage.GetFocusedItemBadUse();
        personage.OnClickAtFocusedItem(key.first, key.second);
        personage.OnUseInventoryItemToFocusedItem(key.second);
        personage.OnPickFocusedItem();
        personage.IsRoomTaskListDone(key.first);
    }
    personage.Reset(false);
    return 0;
}
