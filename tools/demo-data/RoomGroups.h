#pragma once
#include "HubRoom.h"

#include <string>

// The room groups of the puzzle cases, one writer each in a file of its own, called by its case's
// writer. A writer makes its rooms' pictures, sounds and lists below `investigation` (the case's
// data folder: investigation + "<room>/Images/...", with `hub.out()`), and puts the pictures and
// sounds of its items on the hub with `hub.image` and `hub.sound`, each object standing in its
// group's slots of the hub's slot table.

// The lab (Lab/room_Lab).
void writeLabChemistry(const std::string& investigation, HubFiles& hub);
void writeLabComputers(const std::string& investigation, HubFiles& hub);

// The town (Town/room_Town).
void writeTownMazes(const std::string& investigation, HubFiles& hub);
void writeTownWords(const std::string& investigation, HubFiles& hub);
void writeTownGarden(const std::string& investigation, HubFiles& hub);
void writeTownCloseUps(const std::string& investigation, HubFiles& hub);
void writeTownLamps(const std::string& investigation, HubFiles& hub);
