#pragma once
#include <map>
#include <string>

class CSpyItem;

// Turns carried inventory pieces into room items by name: a click on the room item registered for
// the piece's name (or, when the owner allows it, anywhere) takes the piece and shows the room item.
class cPlaceByName {
public:
    void RegisterTarget(const std::string& name, CSpyItem* item) { m_Targets[name] = item; }
    // On the frame the button goes down: the room item the carried piece became, else null.
    CSpyItem* Put(CSpyItem* carried, bool anywhere);
    // The room item registered for that piece name; null for none.
    CSpyItem* Find(const std::string& name) const;

private:
    std::map<std::string, CSpyItem*> m_Targets;
};
