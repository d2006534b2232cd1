#pragma once
#include "fuzz_record_stream.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/Puzzles/cCrimeLabButtles.h"
#include "game/SpyGame/Rooms/Puzzles/cCrimeLabMain.h"
#include "tk2v/file/aFileServer.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// What the chemistry targets share: the lab's rooms written into a folder, and the lab's rooms with
// the player's clicks in reach.

// Every item of the room click-used where it lies, as the player's clicks reach a room whose personage
// uses them on themselves; then a press with the carried item on each.
template <class Room> struct Clicked : Room {
    void ClickEveryItem() {
        for (size_t i = 0; i < this->m_Items.GetItemCount(); ++i) {
            this->m_pItemUnderCursor = this->m_Items.GetItemAt(i);
            if (this->GetItemOnCursor())
                this->HandleCursorItemInput(0.05f);
            else
                this->OnClickUseItem();
        }
        this->m_pItemUnderCursor = nullptr;
    }
};
using ClickedLab = Clicked<cCrimeLabMain>;
using ClickedRack = Clicked<cCrimeLabButtles>;

inline std::string fuzzLower(std::string text) {
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Objects over every named item: text boxes 20 x 20, so that the rooms' texts are kept.
inline std::string fuzzLabObjects(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += "[" + fuzzLower(name) + "]\nClass = text\nWidth = 20\nHeight = 20\n";
    return text;
}
inline std::string fuzzLabItems(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += "[" + name + "]\nObject = " + fuzzLower(name) + "\n";
        if (name == "SUBMIT")
            text += "Class = Container\nContainerShow = SUBMIT_ON\n";
    }
    return text;
}

// The bench's items, with two samples' dishes.
inline const std::vector<std::string>& fuzzBenchItems() {
    static const std::vector<std::string> names = {"B1",
                                                   "B2",
                                                   "B3",
                                                   "TB1",
                                                   "TB2",
                                                   "TB3",
                                                   "BIG_FS",
                                                   "TBIG_FS",
                                                   "PIPETKA",
                                                   "PIPETKA_FULL",
                                                   "TABLE_PIPETKA",
                                                   "MONITOR",
                                                   "SUBMIT",
                                                   "SELECTION",
                                                   "DISH_NONE",
                                                   "DISH_RED",
                                                   "DISH_BLUE",
                                                   "TARELKA",
                                                   "FIZZ",
                                                   "BOIL",
                                                   "SMOKE",
                                                   "BOIL_SMOKE",
                                                   "CHECK_C",
                                                   "CHECK_E",
                                                   "SUBMIT_ON",
                                                   "CONTINUE_ON",
                                                   "REPORT",
                                                   "WIN_CAPTION",
                                                   "ROOMDOOR",
                                                   "BLOODTEST_DATA",
                                                   "BLOODTEST_INFO",
                                                   "SUBST2_NONE"};
    return names;
}

// A valid bench room.ini: three bottles, three colours with the error colour, two samples.
inline std::string fuzzBenchIni() {
    return "[Room]\nClass = CrimeLabMain\n[settings]\nCorrectOrder = B1 B2 B3\nscreenbuttleorder = B1 B2 B3\n"
           "colors = RED BLUE BLACK\neffects = NONE FIZZ BOIL SMOKE\nSelection.deltaY = 2\nsamples_count = "
           "2\n"
           "report = REPORT\nreport2 = SUBST2_NONE\nSmallTarelka = DISH_BLUE\nWinCaption = WIN_CAPTION\n"
           "items_to_out = B1\n[sample_info1]\nwincolor = RED\nwineffect = BOIL\ntarelka = TARELKA\n"
           "[sample_info2]\nwincolor = BLUE\nwineffect = fizz\ntarelka = DISH_RED\n"
           "[ColorImages]\nNONE = DISH_NONE\nRED = DISH_RED\nBLUE = DISH_BLUE\n"
           "[ErrorEffect]\ncolor = BLACK\neffect = SMOKE\n[ColorCells]\ncell = CHECK_C\ncols = 3\ndx = 5\ndy "
           "= 5\n"
           "[EffectCells]\ncell = CHECK_E\ncols = 4\ndx = 5\ndy = 5\n";
}
inline std::string fuzzBenchTexts() {
    return "B1 = \"A\"\nB2 = \"B\"\nB3 = \"C\"\nMESSAGE_ABOUT_B1 = \"first %1% %7%\"\n"
           "MESSAGE_ABOUT_B2 = \"%2%%\"\nMESSAGE_ABOUT_B3 = \"%3%-%9\"\nBTL_UID_1 = \"l\"\n";
}

// The file server the rooms read through, with the folder as their investigations and its "lang/" as
// their language.
inline void assignFuzzLab(const std::string& folder) {
    static aFileServer* files = aFileServer::getInstance() ? aFileServer::getInstance() : new aFileServer;
    files->setAssign("investigations", folder);
    files->setAssign("language", folder + "lang/");
}

// The lab's two rooms in the folder: the rack "zoom_CrimeLabButtles" before the bench
// "zoom_CrimeLabMain", with the bench's room.ini and texts as given.
inline void writeFuzzLab(const std::string& folder, const std::string& benchIni,
                         const std::string& benchTexts) {
    writeScratchFile(folder, "zoom_CrimeLabMain/room.ini", benchIni);
    writeScratchFile(folder, "zoom_CrimeLabMain/objects.ini", fuzzLabObjects(fuzzBenchItems()));
    writeScratchFile(folder, "zoom_CrimeLabMain/items.ini", fuzzLabItems(fuzzBenchItems()));
    writeScratchFile(folder, "lang/Investigations/Demo/zoom_CrimeLabMain/room.txt", benchTexts);
    const std::vector<std::string> rack = {"B1", "B2", "B3", "TB1", "TB2", "TB3", "SORTED"};
    writeScratchFile(folder, "zoom_CrimeLabButtles/room.ini",
                     "[Room]\nClass = CrimeLabButtles\n[Options]\nItemToShow = zoom_CrimeLabButtles:SORTED\n"
                     "Order = B1 B2 B3\n");
    writeScratchFile(folder, "zoom_CrimeLabButtles/objects.ini", fuzzLabObjects(rack));
    writeScratchFile(folder, "zoom_CrimeLabButtles/items.ini", fuzzLabItems(rack));
    writeScratchFile(folder, "_rooms.list", "zoom_CrimeLabButtles\nzoom_CrimeLabMain\n");
}

// The bytes of the one record a stream file holds; empty when the file holds none.
inline std::string fuzzRecordOf(const std::string& path) {
    std::string bytes;
    if (FILE* in = std::fopen(path.c_str(), "rb")) {
        for (int c; (c = std::fgetc(in)) != EOF;)
            bytes += char(c);
        std::fclose(in);
    }
    const SaveRecords records = readRecordStream(bytes);
    return records.empty() ? std::string() : records.front().second;
}

// With the variable set, the target writes its seeds into the folder it names and ends; a target's
// seeds are those its own rooms make.
template <class Write> void writeSeedsIfAsked(const char* variable, Write write) {
    if (const char* folder = std::getenv(variable)) {
        std::filesystem::create_directories(folder);
        write(std::string(folder) + "/");
        std::exit(0);
    }
}
