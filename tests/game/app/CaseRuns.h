#pragma once
#include "CasePlayer.h"

#include <string>
#include <vector>

// The runs of the puzzle cases, put together from the steps of their room groups. Each group keeps
// its steps in a file of its own, which defines its entry (tests/game/app/LabComputersSteps.cpp:
// `const RoomGroupSteps kLabComputers = {"computers", playLabComputers, solveLabComputers};`), and
// adds one line under its own heading in two places: its declaration below
// (`extern const RoomGroupSteps kLabComputers;`) and its entry in the case's list in CaseRuns.cpp
// (`kLabComputers,`). A group's steps start in the case's hub with play going on and nothing in
// hand, and end there the same way; the runs that use them are in EndToEndTest.cpp.

struct RoomGroupSteps {
    const char* name;
    // The group played as a player takes it, every room of it finished.
    void (*play)(CasePlayer&);
    // Every room of the group solved with the panel's Solve (`CasePlayer::solveRoom`), as quickly as
    // the rooms can be reached.
    void (*solve)(CasePlayer&);
};

// A puzzle case: its personage, its place on the map and its hub, the hub's own find (taken last,
// once every group is done) and a point of it in the hub's pixels, and its win event.
struct PuzzleCase {
    const char* name;
    const char* personage;
    const char* door;
    const char* hub;
    const char* find;
    platform::Point findAt;
    const char* firstEnter;
    const char* briefing;
    const char* win;
    const std::vector<RoomGroupSteps>& groups;
};
const PuzzleCase& labCase();
const PuzzleCase& townCase();

// The groups of each case in the order of play, from the slots in CaseRuns.cpp.
const std::vector<RoomGroupSteps>& labGroups();
const std::vector<RoomGroupSteps>& townGroups();

// Each group's entry, defined in its steps file; one declaration in the group's slot.
// ---- Lab: chemistry ----
extern const RoomGroupSteps kLabChemistry;
// The rack and the bench solved from the hub: the bench's result screen waits for its button.
void solveLabChemistryToTheResult(CasePlayer& player);
// ---- Lab: computers ----
extern const RoomGroupSteps kLabComputers;
// ---- Town: mazes ----
extern const RoomGroupSteps kTownMazes;
// ---- Town: words ----
extern const RoomGroupSteps townWords;
// From the town's hub: the appointment book rubbed a little, the register's page turned, the torn
// letter's table laid out, and play left in the word machine with a letter bought.
void playTownWordsMidway(CasePlayer& player);
// ---- Town: garden ----
extern const RoomGroupSteps kTownGarden;
// From the town's hub: the garden's finds taken and the bugs put on the rose's leaf, play left in the
// rose's close-up once its petals have let go and while they fall.
void playTownRoseMidFall(CasePlayer& player);
// In the rose's close-up with no message up: the petals have let go and something blown off the rose
// is still above the picture's bottom edge.
bool theRoseStillFalls();
// ---- Town: close-ups ----
extern const RoomGroupSteps kTownCloseUps;
// From the town's hub into the fax, its printing started and left after its first tick.
void playTownFaxMidPrinting(CasePlayer& player);

// How the case was started: from its start (a saved game naming it, or a new game), which shows
// the notepad's tip in the hub, or following the case before it, whose tip has been shown.
enum class CaseStart { AtItsStart, Following };

// From the case's map into its hub: the map shows the case's place alone and the personage is the
// case's; the hub's tip when the case shows it, its first message and its briefing.
void enterTheHub(CasePlayer& player, const PuzzleCase& c, CaseStart start);
// Every group played, then the hub's find: the case is won and the next case follows on its map.
// The last case ends the story instead: "EndGame" saved, the credits, the menu.
void playTheCase(CasePlayer& player, const PuzzleCase& c, CaseStart start);
// Every room of every group solved; play goes on in the hub.
void solveTheCase(CasePlayer& player, const PuzzleCase& c);
// On the case's map once it has followed the case before it: saved under its name before entry.
void checkTheCaseFollowed(CasePlayer& player, const PuzzleCase& c);
