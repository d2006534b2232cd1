#include "game/SpyGame/CPersonage.h"

#include "tk2v/file/aOptionsFile.h"
#include "tk2v/file/file.h"
#include "tk2v/util/log.h"

namespace {

constexpr u32 MaxDiffLevel = 5;
constexpr u32 DefaultDiffLevel = 3;

void ReadText(const aOptionsFile& file, const std::string& key, std::string& text) {
    if (file.hasKey(key))
        text = file.getString(key);
}

std::vector<std::string> ReadList(const aOptionsFile& file, const std::string& key) {
    std::vector<std::string> tokens;
    if (file.hasKey(key))
        file.getStringList(tokens, key);
    return tokens;
}

// Reads the text after `marker` up to the next ':', searching from `pos`, and moves past that ':'.
// A marker without a ':' after it takes the rest of the token, so that the position never wraps.
std::string ReadMarkedPart(const std::string& token, char marker, size_t& pos) {
    size_t at = token.find(marker, pos);
    if (at == std::string::npos)
        return {};
    size_t colon = token.find(':', at + 1);
    if (colon == std::string::npos) {
        pos = token.size();
        return token.substr(at + 1);
    }
    pos = colon + 1;
    return token.substr(at + 1, colon - at - 1);
}

// The type up to the next ':' from `pos`; false, with the position kept, when there is none.
bool ReadType(const std::string& token, size_t& pos, std::string& type) {
    size_t colon = token.find(':', pos);
    if (colon == std::string::npos) {
        type.clear();
        return false;
    }
    type = token.substr(pos, colon - pos);
    pos = colon + 1;
    return true;
}

} // namespace

CPersonage::ItemKey ParseRoomItemPair(const std::string& text) {
    size_t colon = text.find(':');
    if (colon == std::string::npos)
        return {std::string(), text};
    return {text.substr(0, colon), text.substr(colon + 1)};
}

void ParseFindList(const aOptionsFile& file, const std::string& key, std::vector<CFindItemsGroup>& groups,
                   u32 type) {
    for (const std::string& name : ReadList(file, key))
        groups.emplace_back(name, type);
}

bool CPersonage::LoadScript(const std::string& folder, const std::string& roomKey) {
    if (m_Name.empty())
        return false;
    std::string path = folder + m_Name + ".ai";
    // The plain test first: it is cheaper than opening, which the pack test does.
    if (!file_existsPlain(path) && !file_exists(path))
        return false;
    aOptionsFile file(path);
    for (file.first(); !file.isEnd(); file.nextSection()) {
        std::string section = file.getSectionName();
        if (section == "INVESTIGATION")
            ReadInvestigationSection(file);
        else if (section == "ROOM")
            ReadRoomSection(file, roomKey);
        else
            ReadItemSection(file, roomKey, section);
    }
    return true;
}

void CPersonage::ReadInvestigationSection(const aOptionsFile& file) {
    ReadText(file, "InvTask", m_Investigation.m_InvTask);
    ParseFindList(file, "MustClickItems", m_Investigation.m_TaskGroups, CFindItem::TypeClick);
    ParseFindList(file, "MustUseItems", m_Investigation.m_TaskGroups, CFindItem::TypeUse);
    ParseFindList(file, "EvidencesToFind", m_Investigation.m_TaskGroups, CFindItem::TypePick);
}

void CPersonage::ReadRoomSection(const aOptionsFile& file, const std::string& roomKey) {
    CRoomInfo& room = m_Rooms[roomKey];
    ReadText(file, "FirstEnter", room.m_ScriptFirstEnter);
    ReadText(file, "EnterToRoom", room.m_ScriptEnterToRoom);
    ReadText(file, "RoomTask", room.m_ScriptRoomTask);
    room.m_ISpyItemsCount = file.hasKey("ISpyItemsCount") ? u32(file.getInt("ISpyItemsCount")) : 0;
    room.m_DiffLevel = file.hasKey("ISpyDiffLevel")
                           ? std::min(u32(file.getInt("ISpyDiffLevel")), MaxDiffLevel)
                           : DefaultDiffLevel;
    ParseFindList(file, "QuestItemsToFind", room.m_QuestGroups, CFindItem::TypePick);
    for (const std::string& name : ReadList(file, "QuestItemsGroupsToFind"))
        room.m_QuestGroupNames.push_back(name);
    ParseFindList(file, "MustClickItems", room.m_MustClickGroups, CFindItem::TypeClick);
    ParseFindList(file, "MustUseItems", room.m_MustUseGroups, CFindItem::TypeUse);
}

void CPersonage::ReadItemSection(const aOptionsFile& file, const std::string& roomKey,
                                 const std::string& item) {
    CItemInfo record;
    ReadText(file, "About", record.m_ScriptAbout);
    ReadText(file, "ClickUse", record.m_ScriptClickUse);
    ReadText(file, "SuccessApply", record.m_ScriptSuccessApply);
    ReadText(file, "BadUse", record.m_ScriptBadUse);
    if (file.hasKey("UseTo"))
        record.m_ScriptUseTo = ParseRoomItemPair(file.getString("UseTo"));
    ParseKey_ChangeItemInfo(ReadList(file, "ChangeItemInfoAtUse"), record.m_UseChanges);
    ParseKey_ChangeItemInfo(ReadList(file, "ChangeItemInfoAtPick"), record.m_PickChanges);
    ChangeState(ReadList(file, "ChangeStateAtUse"), record.m_StateScripts);
    m_Items[{roomKey, item}] = std::move(record);
}

void CPersonage::ParseKey_ChangeItemInfo(const std::vector<std::string>& tokens,
                                         std::vector<ItemInfoChange>& out) const {
    for (const std::string& token : tokens) {
        if (token.empty())
            break;
        ItemInfoChange change;
        size_t pos = 0;
        change.personage = ReadMarkedPart(token, '@', pos);
        change.room = ReadMarkedPart(token, '#', pos);
        change.item = ReadMarkedPart(token, '$', pos);
        if (!ReadType(token, pos, change.type))
            log("CPersonage::ParseKey_ChangeItemInfo(). [%s] Not found type in script '%s'", m_Name.c_str(),
                token.c_str());
        change.value = token.substr(pos);
        if (change.value == "CLS")
            change.value.clear();
        out.push_back(std::move(change));
    }
}

void CPersonage::ChangeState(const std::vector<std::string>& tokens, std::vector<StringTriple>& out) const {
    for (const std::string& token : tokens) {
        StringTriple triple;
        size_t pos = 0;
        triple.target = ReadMarkedPart(token, '@', pos);
        if (!ReadType(token, pos, triple.type))
            log("CPersonage::ChangeState(). [%s] Not found type in script '%s'", m_Name.c_str(),
                token.c_str());
        triple.value = token.substr(pos);
        out.push_back(std::move(triple));
    }
}
