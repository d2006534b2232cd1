#include "fuzz_input_file.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/Widget.h"

#include <cstdint>
#include <string>

// Input: a GUI script. It is loaded into a fresh GUI server (without resource managers, graph or
// input server), the widgets are initialised twice, as the game does, and the tree is updated and
// drawn.

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& name = fuzzInputPath("fuzz_gui_script", ".agui");
    writeFuzzInput(name, "#define self \"" + name + "\"\n", data, size);
    GUI::Server server(nullptr, nullptr);
    server.load(name);
    server.InitializeWidgets();
    server.InitializeWidgets();
    server.Update(0.016f);
    server.Update(0.5f);
    server.Render();
    return 0;
}
