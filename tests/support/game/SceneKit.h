#pragma once
#include "game/CAnimManager.h"
#include "game/CParticleManager.h"
#include "game/CResManager.h"
#include "support/ImageFiles.h"
#include "support/TempDir.h"
#include "support/engine/TestEngine.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aImageManager.h"

#include <memory>
#include <string>
#include <vector>

// A resource owner over the shared test engine with the pictures, animations, particle systems and
// texts a test adds, and objects.ini sections to load scene objects from.
struct SceneKit {
    SceneKit() {
        testGraphServer();
        res = std::make_unique<CResManager>(false);
    }

    aImageManager& images() const { return *res->getImageManager(); }

    // A picture of 0xAARRGGBB pixels in rows, known as `name` in the group.
    void addImage(const std::string& name, u32 width, u32 height, const std::vector<u32>& argb,
                  const std::string& group) {
        dir.write(name + ".png", imagefiles::text(imagefiles::png(width, height, argb)));
        images().loadResource(dir.path(), name + ".png 8888 8888", group);
    }

    // An animation of `count` frames of width x height cut in a row from the picture `texture`.
    void addAnim(const std::string& name, const std::string& texture, u32 width, u32 height, u32 count,
                 const std::string& group, const std::string& extra = "") {
        const std::string list = name + ".anims";
        dir.write(list, "[" + name + "]\nTextureName = " + texture + "\nRectFirstSprite = 0 0 " +
                            std::to_string(width) + " " + std::to_string(height) +
                            "\nFramesCount = " + std::to_string(count) + "\n" + extra);
        res->getAnimManager()->load(dir.file(list), group);
    }

    // A particle system of the ".psys" text.
    void addParticles(const std::string& name, const std::string& psys, const std::string& group) {
        dir.write(name + ".psys", psys);
        res->getParticleManager()->loadResource(dir.path(), name, group);
    }

    // Texts of "id = \"text\"" lines under the group.
    void addTexts(const std::string& lines, const std::string& group) {
        dir.write(group + ".texts", lines);
        res->getLocaleServer()->loadFile(dir.file(group + ".texts"), group);
    }

    // The options file of the text, standing on the section `name`.
    aOptionsFile& section(const std::string& text, const std::string& name) {
        dir.write("objects.ini", text);
        ini.load(dir.file("objects.ini"));
        ini.selectSection(name);
        return ini;
    }

    // An object of class T loaded from the section `name` of the text, reset as its item would.
    template <class T>
    std::unique_ptr<T> load(const std::string& text, const std::string& name, const std::string& group,
                            bool reset = true) {
        auto object = std::make_unique<T>();
        object->LoadRes(group, section(text, name), name);
        if (reset)
            object->Reset();
        return object;
    }

    TempDir dir;
    std::unique_ptr<CResManager> res;
    aOptionsFile ini;
};
