#pragma once
#include "fuzz_record_stream.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "tk2v/file/aFileServer.h"

#include <cstdint>
#include <string>

// What the word and book puzzles' fuzz targets share: the five room classes with a room.ini each, and
// one set of items holding every name any of them looks up (plain objects, so nothing needs a picture).

struct WordsRoom {
    const char* name;
    const char* className;
    const char* ini;
};

inline const WordsRoom kWordsRooms[] = {
    {"zoom_Machine", "CapOJoePuzzleRoom",
     "[GroupNames]\nNames = W1, W2, W3, W4, W5, W6, THEME\nchars = CHARS\nOpenAtStartChars = 2\n"
     "wordsx = 20\nwordsdx = 200\nwordsy = 20, 50, 80, 110, 160\n"
     "[Test1]\nW1 = A1\nW2 = A2\nW3 = A3\nW4 = A4\nW5 = A5\nW6 = A6\nTHEME = A7\nautoshowwords = A8\n"
     "[Test2]\nW1 = A2\nW2 = A3\nW3 = A4\nW4 = A5\nW5 = A6\nW6 = A1\nTHEME = A7\ndisabledStartGenWords = A8\n"
     "[Options]\nMoneyHole.moveSpeed = 400\nTicketHole.moveSpeed = 200\nSimpleTimer.time = 0.3\n"
     "SimpleTimer.count = 2\nnTargetTest = 0\nnSmblsToVinACoin = 1\nFindedSmblTime = 0.5\nLights.y0 = 20\n"
     "Lights.yN = 80\nLights.dy = 30\nLights.x1 = 5\nLights.x2 = 395\n"},
    {"zoom_Zodiac", "ZodiacBookPuzzleRoom",
     "[LISTS]\ncount = 2\nroomBackMask = SLOT\nroomFigMask = FIG\ninvMask = INV\n"
     "[SCALER]\nminY = 0\nminZoom = 1\nmaxY = 300\nmaxZoom = 1.5\n[Centers]\nSLOT1 = 60 110\nSLOT2 = 160 "
     "110\n"},
    {"zoom_Book", "AppointmentBookRoom",
     "[TeraPaint]\npagerect = 0 0 32 16\npensize = 4\npaintspeed = 10\nmaxalpha = 255\nwinpercent = 0.5\n"},
    {"zoom_Register", "ReservationsRegisterRoom", "[GAME]\npagesCount = 3\nshowAfterReset = 1\n"},
    {"zoom_Letter", "AssembleInviationRoom",
     "[OPTIONS]\ncount = 3\nmPiecesToLock = 1\nprefix = PIECE\n"
     "[ScreenInventaryPair]\nPIECE1 = P1\nPIECE02 = P2\nPIECE3 = P3\n"},
};

inline const char* const kWordsItemNames[] = {"MONEY1",
                                              "TICKET",
                                              "TICKET_HOLE",
                                              "SOLVE",
                                              "SOLVE_PUSHED",
                                              "SOLVE_DISABLED",
                                              "MONEY_HOLE",
                                              "MONEY_HOLE_LEFT",
                                              "MONEY_HOLE_RIGHT",
                                              "ENTER_TOKEN_SL1",
                                              "ENTER_TOKEN_SL2",
                                              "ENTER_TOKEN_SL3",
                                              "ENTER_TOKEN_SR1",
                                              "ENTER_TOKEN_SR2",
                                              "ENTER_TOKEN_SR3",
                                              "DISABLED_SCREEN",
                                              "LIGHT",
                                              "COUNT_INFO",
                                              "TEXT_BUY_A_LETTER",
                                              "TEXT_WORDS",
                                              "TEXT_COMMON_THEME",
                                              "TEXT_TOKEN_BONUS",
                                              "TEXT_5_FREE_LETTERS",
                                              "TEXT_OUT_OF_TOKENS",
                                              "INPUT_MESSAGE",
                                              "INPUT_STAR1",
                                              "INPUT_STAR2",
                                              "INPUT_CAPTION",
                                              "INPUT_CAPTION1",
                                              "BTN_CANCEL",
                                              "BTN_CANCEL_PRESSED",
                                              "BTN_ENTER_SOLUTION",
                                              "BTN_ENTER_SOLUTION_PRESSED",
                                              "BTN_CONCEDE_GAME",
                                              "BTN_CONCEDE_GAME_PRESSED",
                                              "MESSAGE_MENU",
                                              "MAINWINDOW_CAPTION",
                                              "TOKEN1",
                                              "SLOT1",
                                              "SLOT2",
                                              "FIG1",
                                              "FIG2",
                                              "SCR_FIGURE_1",
                                              "SCR_FIGURE_2",
                                              "OPEN",
                                              "OPEN_LOCKS",
                                              "FOTOS",
                                              "INV01",
                                              "INV02",
                                              "PEN",
                                              "HIDDEN_TEXT_ONTABLE",
                                              "FIRST_PAGES",
                                              "PAGE_29",
                                              "HIDDEN_TEXT",
                                              "STAKANSKARAND",
                                              "BACK",
                                              "NEXT",
                                              "TARGET",
                                              "PAGE1",
                                              "PAGE2",
                                              "PAGE3",
                                              "PIECE1",
                                              "PIECE02",
                                              "PIECE3",
                                              "ASSEMBLE_COMPLETE",
                                              "P1",
                                              "P2",
                                              "P3"};

// Finds the rooms hand to the player: what the rooms' inventories hold at their start.
inline const char* const kWordsFinds[] = {"TOKEN1", "INV01", "INV02", "STAKANSKARAND", "P1", "P2", "P3"};

// The room's folder below `folder`: its room.ini (the given sections after its class), the shared
// objects and items, and its texts.
inline void writeWordsRoom(const std::string& folder, const WordsRoom& room, const std::string& sections,
                           const std::string& texts) {
    std::string objects, items;
    for (const char* name : kWordsItemNames) {
        std::string object = name;
        for (char& c : object)
            c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
        objects += "[" + object + "]\nClass = object\nX = 10\nY = 10\n";
        items += std::string("[") + name + "]\nObject = " + object + "\nIsQuestItem = 1\n";
    }
    const std::string at = folder + room.name + "/";
    writeScratchFile(at, "room.ini", std::string("[Room]\nClass = ") + room.className + "\n" + sections);
    writeScratchFile(at, "objects.ini", objects);
    writeScratchFile(at, "items.ini", items);
    writeScratchFile(folder, std::string("lang/Investigations/Demo/") + room.name + "/room.txt", texts);
}

// The file server with "language" at the rooms' texts below `folder`.
inline void assignWordsLanguage(const std::string& folder) {
    static aFileServer files;
    files.setAssign("language", folder + "lang/");
}

// The room's finds put into the current personage's inventory.
inline void handFinds(CRoomBase& room, CPersonagesManager& personages) {
    CPersonage* player = personages.GetCurrentPersonage();
    if (!player)
        return;
    for (const char* find : kWordsFinds)
        if (room.GetItemManager().HasItem(find) && !player->GetInventory().HasItem(find))
            player->GetInventory().AddItem(room.GetItem(find));
}

// Frames with the finds carried one after the other, as the player would bring them in.
inline void playWordsRoom(CRoomBase& room, int frames) {
    for (int i = 0; i < frames; ++i) {
        if (i % 10 == 0) {
            const char* find = kWordsFinds[(i / 10) % (sizeof kWordsFinds / sizeof *kWordsFinds)];
            room.SetItemOnCursor(room.GetItemManager().HasItem(find) ? room.GetItem(find) : nullptr, nullptr);
        }
        room.FrameMove(0.05f, false);
        if (i % 10 == 9)
            room.SetItemOnCursor(nullptr, nullptr);
    }
    room.RenderItems();
}
