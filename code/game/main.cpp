#include "game/cMain.h"

int main(int argc, char** argv) {
    return rvhMain(argc, argv);
}
