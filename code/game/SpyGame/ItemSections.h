#pragma once
#include <string>
#include <vector>

class aOptionsFile;

// Turns a room's items.ini into one section per item, in creation order, and appends them to `out`:
// first, walking the room's objects in order, the item of each object (its section as written, a
// section of its own for each object of a several-object section, or a bare one for an object that
// no section names); then the sections that name no object.
//
// Section names repeat in the result (a split section is named after its object in upper case), so
// readers walk it with the section cursor rather than by name.
void NormaliseItemSections(aOptionsFile& items, const std::vector<std::string>& objectNames,
                           aOptionsFile& out);
