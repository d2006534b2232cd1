#include "fuzz_input_file.h"
#include "game/CAnimManager.h"
#include "tk2v/gfx/aImageManager.h"

#include <cstdint>
#include <string>

namespace {
const std::string& inputName() {
    return fuzzInputPath("fuzz_anim_list", ".ini");
}

// "sheet" names an image that cannot load here: its width is 0, so every frame starts a row.
const std::string& imageList() {
    static const std::string& path = []() -> const std::string& {
        const std::string& name = fuzzInputPath("fuzz_anim_list_images", ".list");
        const std::string line = "sheet.png 8888 8888\n";
        writeFuzzInput(name, "", line.data(), line.size());
        return name;
    }();
    return path;
}
} // namespace

// Loads the list twice (the second time every animation exists), plays a copy of each section's
// animation through its frames, and unloads the list.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeFuzzInput(inputName(), "", data, size);
    aImageManager images;
    images.loadList(imageList(), "");
    CAnimManager anims;
    anims.setImageManager(&images);
    anims.addListToTask(inputName(), "");
    anims.loadTasks();
    anims.load(inputName(), "");
    aOptionsFile sections(inputName());
    for (sections.first(); !sections.isEnd(); sections.nextSection()) {
        const aAnim* stored = anims.getAnimation(sections.getSectionName());
        if (!stored)
            continue;
        aAnim copy(*stored);
        for (int i = 0; i < 8; ++i)
            copy.update(0.05f);
        copy.gotoLastFrame();
    }
    anims.unloadList(inputName(), "");
    return 0;
}
