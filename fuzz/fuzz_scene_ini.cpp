#include "fuzz_input_file.h"
#include "game/SpyGame/CSpyObjManager.h"
#include "game/SpyGame/CSpyObject.h"

#include <cstdint>

// Input: an objects.ini. Its objects are made without a resource owner (so pictures, animations and
// particle systems are missing, as in a room whose lists failed), reset, scaled, moved, stepped and
// hit-tested over a small grid.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16)
        return 0;
    const std::string& path = fuzzInputPath("fuzz_scene_ini", ".ini");
    writeFuzzInput(path, "", data, size);
    CSpyObjManager manager;
    manager.CreateObjects("Hall", path);
    for (const auto& object : manager.GetObjects()) {
        object->Reset();
        object->SetScale({0.5f, 2}, true);
        object->SetPos(object->GetPos().x + 3, object->GetPos().y - 3);
        object->FrameMove(0.05f);
        for (i32 y = -8; y <= 64; y += 8)
            for (i32 x = -8; x <= 64; x += 8)
                (void)object->HitTest(x, y);
        (void)object->GetWidth();
        (void)object->GetHeight();
    }
    if (!manager.GetObjects().empty())
        manager.CloneObject(manager.GetObjects().front()->GetName(), "clone");
    return 0;
}
