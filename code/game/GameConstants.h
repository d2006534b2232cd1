#pragma once
#include "tk2v/util/types.h"

#include <string>

// The game layer's fixed names and numbers, built before the program starts. Other parts of the
// game read them from here so that each name is spelt once.

inline const std::string COMPANY_NAME = "Quarrybell Works";
inline const std::string SHORT_NAME = "RVH";
// Logged at start; the saved-game header carries the same number.
constexpr u32 BUILD_NUMBER = 4056;
constexpr u16 SCREEN_WIDTH = 1024;
constexpr u16 SCREEN_HEIGHT = 768;
constexpr u16 ICON_RESOURCE = 101;
constexpr i16 FPS_TEXT_X = 10;
constexpr i16 FPS_TEXT_Y = 10;

inline const std::string GAME_INI_FILE = "home:Game.ini";

// Built-in rooms and shared data of the investigations.
inline const std::string GLOBAL_MAP_ROOM = "_GlobalMap";
inline const std::string INVESTIGATION_CARDS_ROOM = "_InvestigationCards";
inline const std::string EVIDENCE_BOX_ROOM = "Evidence_box";
inline const std::string INV_COMMON_TEXT_FILE = "language:Text/Inv_common.txt";
inline const std::string END_GAME_NAME = "EndGame";
inline const std::string ROOM_COMMON_TEXT_FILE = "language:Text/Room_common.txt";
inline const std::string SHARED_ROOMS_FOLDER = "investigations:_SharedRooms/";
inline const std::string SHARED_ROOMS_TEXT_FOLDER = "language:Investigations/_SharedRooms/";

// Section and key names of the puzzle rooms' data.
inline const std::string PUZZLE_KEY_T = "T";
inline const std::string PUZZLE_KEY_CHARS = "chars";
inline const std::string PUZZLE_KEY_LIST = "LIST";
inline const std::string PUZZLE_KEY_INFORMATION = "INFORMATION";
inline const std::string PUZZLE_KEY_PHONE_NUMBER = "PHONE_NUMBER";
inline const std::string PUZZLE_KEY_CELL = "CELL";

// Music of the menu and of the end credits.
inline const std::string MENU_MUSIC = "menu_theme";
inline const std::string END_CREDITS_MUSIC = "in_the_chinatown";

// The image group the particle systems take their textures from.
inline const std::string PARTICLES_IMAGE_GROUP = "particles";
