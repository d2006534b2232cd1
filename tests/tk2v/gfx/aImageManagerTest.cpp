#include "tk2v/gfx/aImageManager.h"

#include "support/ImageFiles.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/engine/TestEngine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_loaded;

void recordLoaded(const std::string& fileName) {
    g_loaded.push_back(fileName);
}

// The images of these tests name files that do not exist: the manager's parsing, keys and lookups
// do not depend on the pictures.
class ImageManagerTest : public testing::Test {
protected:
    void SetUp() override { g_loaded.clear(); }

    TempDir dir;
    aImageManager manager;
    LogCapture capture;
};

TEST_F(ImageManagerTest, FormatCodes) {
    EXPECT_EQ(aImageManager::formatOfCode("1555"), 25u);
    EXPECT_EQ(aImageManager::formatOfCode("4444"), 26u);
    EXPECT_EQ(aImageManager::formatOfCode("0565"), 23u);
    EXPECT_EQ(aImageManager::formatOfCode("8888"), 21u);
    for (const char* other : {"", "888", "88888", "x8888", "565"})
        EXPECT_EQ(aImageManager::formatOfCode(other), 0u) << other;
}

TEST_F(ImageManagerTest, ListLinesAreCutAtTheLastDotAndBadOnesSkipped) {
    dir.write("images.list", "bg.png 8888 8888\n"
                             "logo.v2.png\t4444  1555 a comment\n"
                             "icon.png 8888 8889\n"
                             "BG.jpg 0565 0565\n"
                             "noformat.png\n"
                             "one.png 8888\n"
                             "nodot 8888 8888\n"
                             "tail.png 8888 8888 see v1.2\n"
                             "last.png 1555 4444\n");
    manager.setProgressCallback(recordLoaded);
    manager.loadList(dir.file("images.list"), "");
    EXPECT_EQ(g_loaded, (std::vector<std::string>{"bg.png", "logo.v2.png", "icon.png", "last.png"}));
    EXPECT_TRUE(manager.hasImage("logo.v2"));
    EXPECT_FALSE(manager.hasImage("logo"));
    EXPECT_TRUE(capture.contains("aImageManager. Unknown image format: icon.png 8888 8889"));
    EXPECT_TRUE(manager.hasImage("icon"));
    EXPECT_TRUE(capture.contains("aImageManager. Image with name \"BG.jpg\" already loaded!"));
    EXPECT_EQ(manager.getImage("bg")->getFileName(), dir.file("bg.png"));
    for (const char* bad : {"noformat.png", "one.png 8888", "nodot 8888 8888", "tail.png 8888 8888 see v1.2"})
        EXPECT_TRUE(capture.contains(std::string("aImageManager: Error in line: ") + bad)) << bad;
    EXPECT_TRUE(manager.hasImage("last"));

    // Queuing decodes the lines: the file-name part, or an empty one after the same log line.
    capture.clear();
    manager.AddListToTask(dir.file("images.list"), "");
    std::vector<std::string> paths;
    for (const aBaseManager::LoadTask& task : manager.getTasks())
        paths.push_back(task.fullPath.substr(dir.path().size()));
    EXPECT_EQ(paths, (std::vector<std::string>{"bg.png", "logo.v2.png", "icon.png", "BG.jpg", "", "one.png",
                                               "", "", "last.png"}));
    EXPECT_TRUE(capture.contains("aImageManager: Error in line: noformat.png"));
}

TEST_F(ImageManagerTest, KeysCarryTheGroupAndIgnoreCase) {
    dir.write("room.list", "door.png 8888 8888\nkey.png 8888 8888\n");
    manager.loadList(dir.file("room.list"), "Hall");
    manager.loadList(dir.file("room.list"), "Cellar");
    manager.loadList(dir.file("room.list"), "");
    capture.clear();
    EXPECT_TRUE(manager.hasImage("DOOR", "hall"));
    EXPECT_FALSE(manager.hasImage("door", "Garden"));
    EXPECT_TRUE(capture.messages().empty());
    EXPECT_NE(manager.getImage("Door", "HALL"), manager.getImage("door", "cellar"));
    EXPECT_EQ(manager.getImage("door", "Garden"), nullptr);
    EXPECT_TRUE(capture.contains("aImageManager. Cannot find image: door : Garden"));
    EXPECT_EQ(manager.getImage("window"), nullptr);
    EXPECT_TRUE(capture.contains("aImageManager. Cannot find image: window"));

    manager.unloadList(dir.file("room.list"), "Hall");
    EXPECT_FALSE(manager.hasImage("door", "Hall"));
    EXPECT_FALSE(manager.hasImage("key", "Hall"));
    EXPECT_TRUE(manager.hasImage("door", "Cellar"));
    EXPECT_TRUE(manager.hasImage("door"));
    // Loading again after the unload makes the image anew.
    manager.loadList(dir.file("room.list"), "Hall");
    EXPECT_TRUE(manager.hasImage("key", "Hall"));
}

// With a device the list's pictures load, each in the format its line gives for the display mode in use
// (32-bit here), and an unloaded list lets its images go.
TEST_F(ImageManagerTest, LoadsThePicturesInTheFormatOfTheLine) {
    testGraphServer();
    const imagefiles::Bytes picture = imagefiles::png(3, 2, std::vector<u32>(6, 0xFF336699));
    dir.write("wall.png", std::string(picture.begin(), picture.end()));
    dir.write("floor.png", std::string(picture.begin(), picture.end()));
    dir.write("room.list", "wall.png 0565 8888\nfloor.png 8888 4444\n");
    manager.loadList(dir.file("room.list"), "Hall");
    aImage* wall = manager.getImage("wall", "Hall");
    aImage* floor = manager.getImage("floor", "Hall");
    ASSERT_TRUE(wall && wall->hasTexture() && floor && floor->hasTexture());
    EXPECT_EQ(wall->getWidth(), 3);
    EXPECT_EQ(wall->getHeight(), 2);
    EXPECT_EQ(wall->getTexture()->format(), 21u);
    EXPECT_EQ(floor->getTexture()->format(), 26u);

    // A copy the game keeps stays valid after the unload.
    aImage kept = *wall;
    manager.unloadList(dir.file("room.list"), "Hall");
    EXPECT_FALSE(manager.hasImage("wall", "Hall"));
    EXPECT_TRUE(kept.hasTexture());
}

} // namespace
