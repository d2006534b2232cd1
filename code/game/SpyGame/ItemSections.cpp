#include "game/SpyGame/ItemSections.h"

#include "tk2v/file/aOptionsFile.h"

#include <map>
#include <utility>

namespace {

const std::string ObjectKey = "Object";
const std::string GroupKey = "ISpyGroup";
const std::string CompanionPrefix = "#s_";

struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
    bool hasObject = false;
    std::string object;
    std::vector<std::string> objects;
    std::string hoverObject;
    std::string lockedObject;
};

std::string optional(const aOptionsFile& ini, const std::string& key) {
    return ini.hasKey(key) ? ini.getString(key) : std::string();
}

std::vector<Section> readSections(aOptionsFile& ini) {
    std::vector<Section> sections;
    for (ini.first(); !ini.isEnd(); ini.nextSection()) {
        Section s;
        s.name = ini.getSectionName();
        for (ini.firstKey(); !ini.isKeysEnd(); ini.nextKey())
            s.keys.emplace_back(ini.getKeyName(), ini.getKeyValue());
        s.hasObject = ini.hasKey(ObjectKey);
        if (s.hasObject) {
            s.object = ini.getString(ObjectKey);
            ini.getStringList(s.objects, ObjectKey);
        }
        s.hoverObject = optional(ini, "ObjectOnMouseHover");
        s.lockedObject = optional(ini, "ObjectOnItemLocked");
        sections.push_back(std::move(s));
    }
    return sections;
}

// Object name -> the last section that names it as its object, hover or locked object.
std::map<std::string, size_t> indexObjects(const std::vector<Section>& sections) {
    std::map<std::string, size_t> index;
    for (size_t i = 0; i < sections.size(); ++i) {
        for (const std::string& object : sections[i].objects)
            index[object] = i;
        for (const std::string* object : {&sections[i].hoverObject, &sections[i].lockedObject})
            if (!object->empty())
                index[*object] = i;
    }
    return index;
}

void copyWhole(const Section& s, aOptionsFile& out) {
    out.addSection(s.name);
    for (const auto& [key, value] : s.keys)
        out.appendValue(s.name, key, value);
}

std::string upperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return text;
}

// One object of a several-object section: its own item in the hidden-object group named after the
// section. The section's own "ISpyGroup" is not copied: lookups take the first of a repeated key.
void copySplit(const Section& s, const std::string& object, aOptionsFile& out) {
    const std::string name = upperAscii(object);
    out.addSection(name);
    for (const auto& [key, value] : s.keys)
        if (key != ObjectKey && key != GroupKey)
            out.appendValue(name, key, value);
    out.appendValue(name, ObjectKey, object);
    out.appendValue(name, GroupKey, s.name);
}

void addObjectItem(const std::vector<Section>& sections, const std::map<std::string, size_t>& index,
                   const std::string& object, aOptionsFile& out) {
    const auto found = index.find(object);
    if (found == index.end()) {
        if (!object.starts_with(CompanionPrefix)) {
            out.addSection(object);
            out.appendValue(object, ObjectKey, object);
        }
        return;
    }
    const Section& s = sections[found->second];
    if (s.hoverObject == object || s.lockedObject == object)
        return;
    if (s.objects.size() == 1)
        copyWhole(s, out);
    else
        copySplit(s, object, out);
}

} // namespace

void NormaliseItemSections(aOptionsFile& items, const std::vector<std::string>& objectNames,
                           aOptionsFile& out) {
    const std::vector<Section> sections = readSections(items);
    const std::map<std::string, size_t> index = indexObjects(sections);
    for (const std::string& object : objectNames)
        addObjectItem(sections, index, object, out);
    for (const Section& s : sections)
        if (!s.hasObject || s.object.empty())
            copyWhole(s, out);
}
