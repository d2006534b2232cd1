#pragma once
#include "tk2v/file/aBaseManager.h"
#include "tk2v/gfx/aImage.h"

#include <map>
#include <string>

// The game's images by key: the file name without its extension, plus ":" and the group when the list
// was loaded under one. A list line is "file.ext <16-bit format> <32-bit format> [ignored text]".
class aImageManager : public aBaseManager {
public:
    aImageManager() = default;
    ~aImageManager() override = default;

    std::string parseListLine(const std::string& line) override;
    void loadResource(const std::string& dir, const std::string& line, const std::string& group) override;

    // Null, after a log line, when there is no such image; the manager keeps the image.
    aImage* getImage(const std::string& name, const std::string& group = "");
    bool hasImage(const std::string& name, const std::string& group = "") const;
    // Releases every image the list names under the group.
    void unloadList(const std::string& listFile, const std::string& group = "");

    // The texture format of a list code ("1555", "4444", "0565", "8888"); 0 for any other text.
    static u32 formatOfCode(const std::string& code);

private:
    std::map<std::string, aImage, NoCaseLess> m_images;
};
