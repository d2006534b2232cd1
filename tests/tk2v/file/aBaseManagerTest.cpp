#include "tk2v/file/aBaseManager.h"

#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// Records each load as "dir|line|group"; a line's file-name part is its text before the first blank.
class RecordingManager : public aBaseManager {
public:
    std::string parseListLine(const std::string& line) override { return line.substr(0, line.find(' ')); }
    void loadResource(const std::string& dir, const std::string& line, const std::string& group) override {
        loads.push_back(dir + "|" + line + "|" + group);
    }

    Strings loads;
};

// Decodes one entry fewer than the list has lines.
class ShortDecodingManager : public RecordingManager {
public:
    void decodeList(const std::string& listFile, Strings& out) override {
        RecordingManager::decodeList(listFile, out);
        out.pop_back();
    }
};

class BaseManagerTest : public testing::Test {
protected:
    TempDir dir;
    RecordingManager manager;
};

TEST_F(BaseManagerTest, ReadsAListOnceForConsecutiveOperations) {
    dir.write("a.list", "one\ntwo\n");
    dir.write("b.list", "three\n");
    EXPECT_TRUE(manager.openList(dir.file("a.list")));
    dir.write("a.list", "one\ntwo\nmore\n");
    EXPECT_FALSE(manager.openList(dir.file("a.list")));
    EXPECT_EQ(manager.getListSize(dir.file("a.list")), 2);
    EXPECT_EQ(manager.getListSize(dir.file("b.list")), 1);
    EXPECT_EQ(manager.getListSize(dir.file("a.list")), 3);
}

TEST_F(BaseManagerTest, LoadsEveryLineWithTheListsFolderAndGroup) {
    dir.write("res.list", "\nfirst.png 8888\nsecond.png 0565");
    manager.loadList(dir.file("res.list"), "Room");
    const std::string d = dir.path();
    EXPECT_EQ(manager.loads,
              (Strings{d + "||Room", d + "|first.png 8888|Room", d + "|second.png 0565|Room"}));

    Strings decoded{"kept"};
    manager.decodeList(dir.file("res.list"), decoded);
    EXPECT_EQ(decoded, (Strings{"kept", d, d + "first.png", d + "second.png"}));
}

TEST_F(BaseManagerTest, AMissingListLoadsNothing) {
    LogCapture capture;
    manager.loadList(dir.file("missing.list"), "");
    manager.AddListToTask(dir.file("missing.list"), "");
    EXPECT_TRUE(manager.loads.empty());
    EXPECT_TRUE(manager.getTasks().empty());
}

TEST_F(BaseManagerTest, QueuedTasksRunInOrderUnderTheCursor) {
    dir.write("a.list", "x.png 1\ny.png 2\n");
    dir.write("b.list", "z.wav 3\n");
    manager.AddListToTask(dir.file("a.list"), "A");
    manager.AddListToTask(dir.file("b.list"), "");
    ASSERT_EQ(manager.getTasks().size(), 3u);
    const aBaseManager::LoadTask& first = manager.getTasks().front();
    EXPECT_EQ(first.group, "A");
    EXPECT_EQ(first.fullPath, dir.file("x.png"));
    EXPECT_EQ(first.line, "x.png 1");
    EXPECT_EQ(first.dir, dir.path());

    // The cursor starts null: nothing loads until the owner puts it on the first task.
    manager.loadCurrentTask();
    EXPECT_FALSE(manager.hasCurrentTask());
    EXPECT_TRUE(manager.loads.empty());
    for (manager.firstTask(); manager.hasCurrentTask(); manager.nextTask())
        manager.loadCurrentTask();
    const std::string d = dir.path();
    EXPECT_EQ(manager.loads, (Strings{d + "|x.png 1|A", d + "|y.png 2|A", d + "|z.wav 3|"}));
    manager.loadCurrentTask();
    EXPECT_EQ(manager.loads.size(), 3u);

    manager.loads.clear();
    manager.runAllTasks();
    EXPECT_EQ(manager.loads.size(), 3u);
    EXPECT_TRUE(manager.getTasks().empty());
    EXPECT_FALSE(manager.hasCurrentTask());
    std::vector<f32> costs{1.0f};
    manager.getTaskCosts(costs);
    EXPECT_EQ(costs, std::vector<f32>{1.0f});
}

TEST_F(BaseManagerTest, TaskCostsWeighFileSizesByExtension) {
    dir.write("big.ogg", std::string(3000, 'x'));
    dir.write("small.ogg", std::string(10, 'x'));
    dir.write("plain.bin", std::string(700, 'x'));
    dir.write("costs.list", "big.ogg\nsmall.ogg\nplain.bin\n");
    manager.setExtensionCost("ogg", 5.0f, 100);
    manager.setExtensionCost("ogg", 2.0f, 1024);
    manager.setExtensionCost("OGG", 100.0f, 0);
    manager.AddListToTask(dir.file("costs.list"), "");
    manager.clearTasks();
    manager.AddListToTask(dir.file("costs.list"), "");
    std::vector<f32> costs;
    manager.getTaskCosts(costs);
    EXPECT_EQ(costs, (std::vector<f32>{6000.0f, 2048.0f, 700.0f}));

    LogCapture capture;
    EXPECT_EQ(manager.getLoadCost(dir.file("gone.bin")), 0.0f);
    EXPECT_EQ(manager.getLoadCost(dir.file("gone.ogg")), 2048.0f);
}

TEST_F(BaseManagerTest, ALineWithoutADecodedEntryIsLoggedAndNotQueued) {
    ShortDecodingManager shortManager;
    dir.write("a.list", "a.png\nb.png\n");
    LogCapture capture;
    shortManager.AddListToTask(dir.file("a.list"), "");
    EXPECT_TRUE(capture.contains("aBaseManager::AddListToTask decode error! \"" + dir.file("a.list") + "\""));
    ASSERT_EQ(shortManager.getTasks().size(), 1u);
    EXPECT_EQ(shortManager.getTasks().front().line, "a.png");
}

TEST(BaseManagerKeys, JoinNameAndGroupAndCompareWithoutCase) {
    EXPECT_EQ(aBaseManager::makeKey("door", ""), "door");
    EXPECT_EQ(aBaseManager::makeKey("door", "Hall"), "door:Hall");
    aBaseManager::NoCaseLess less;
    EXPECT_FALSE(less("Door:HALL", "door:hall"));
    EXPECT_FALSE(less("door:hall", "Door:HALL"));
    EXPECT_TRUE(less("a", "B"));
}

} // namespace
