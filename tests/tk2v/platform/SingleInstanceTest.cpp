#include "tk2v/platform/SingleInstance.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

namespace {

// Unique per test process, so parallel test runs do not meet each other's instances.
std::string uniqueName(const std::string& base) {
    return base + "-" + std::to_string(getpid());
}

TEST(SingleInstance, SecondCopyIsRefusedAndRaisesTheFirst) {
    const std::string name = uniqueName("game");
    platform::SingleInstance first;
    ASSERT_TRUE(first.acquire(name));
    EXPECT_FALSE(first.pollRaiseRequest());
    {
        platform::SingleInstance second;
        EXPECT_FALSE(second.acquire(name));
    }
    EXPECT_TRUE(first.pollRaiseRequest());
    EXPECT_FALSE(first.pollRaiseRequest());

    platform::SingleInstance third;
    EXPECT_FALSE(third.acquire(name));
    platform::SingleInstance fourth;
    EXPECT_FALSE(fourth.acquire(name));
    EXPECT_TRUE(first.pollRaiseRequest());
}

TEST(SingleInstance, NamesAreIndependentAndFreedOnDestruction) {
    const std::string name = uniqueName("game");
    // Past the socket address length: the ends differ only in their last character.
    const std::string longA = uniqueName(std::string(200, 'x') + "a");
    const std::string longB = uniqueName(std::string(200, 'x') + "b");
    {
        platform::SingleInstance a, other, la, lb;
        ASSERT_TRUE(a.acquire(name));
        EXPECT_TRUE(other.acquire(uniqueName("tool")));
        EXPECT_TRUE(la.acquire(longA));
        EXPECT_TRUE(lb.acquire(longB));
        platform::SingleInstance again;
        EXPECT_FALSE(again.acquire(longA));
        EXPECT_FALSE(a.pollRaiseRequest());
        EXPECT_FALSE(other.pollRaiseRequest());
        EXPECT_TRUE(la.pollRaiseRequest());
        EXPECT_FALSE(lb.pollRaiseRequest());
    }
    platform::SingleInstance later;
    EXPECT_TRUE(later.acquire(name));
    // Acquiring anew gives up the old claim first.
    EXPECT_TRUE(later.acquire(uniqueName("renamed")));
    platform::SingleInstance next;
    EXPECT_TRUE(next.acquire(name));
}

} // namespace
