#include "tk2v/platform/SystemInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(SystemInfo, ThisMachineIsDescribed) {
    const platform::SystemInfo info = platform::readSystemInfo();
    EXPECT_FALSE(info.os.name.empty());
    EXPECT_FALSE(info.os.release.empty());
    EXPECT_FALSE(info.os.build.empty());
    EXPECT_FALSE(info.computerName.empty());
    EXPECT_FALSE(info.userName.empty());
    const platform::MemoryInfo& m = info.memory;
    EXPECT_GT(m.physicalTotalKb, 0u);
    EXPECT_LE(m.physicalFreeKb, m.physicalTotalKb);
    EXPECT_LE(m.loadPercent, 100u);
    EXPECT_GT(m.virtualTotalKb, 0u);
    EXPECT_LE(m.virtualFreeKb, m.virtualTotalKb);
    EXPECT_LE(m.pageFileFreeKb, m.pageFileTotalKb);
    // A chroot may list no drive at all.
    for (const platform::DriveInfo& d : info.drives) {
        EXPECT_FALSE(d.root.empty());
        EXPECT_FALSE(d.fileSystem.empty());
        EXPECT_LE(d.freeMb, d.totalMb) << d.root;
    }
}

TEST(SystemInfo, OsReleaseValueIsUnquoted) {
    EXPECT_EQ(platform::osPrettyName("NAME=x\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nID=debian\n"),
              "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(platform::osPrettyName("PRETTY_NAME='Some \\\"OS\\\"'"), "Some \"OS\"");
    EXPECT_EQ(platform::osPrettyName("PRETTY_NAME=Plain"), "Plain");
    EXPECT_EQ(platform::osPrettyName("NAME=x\n"), "");
}

TEST(SystemInfo, MemoryFiguresFromMeminfo) {
    const platform::MemoryInfo m = platform::memoryFromMeminfo("MemTotal:       1000 kB\n"
                                                               "MemFree:         100 kB\n"
                                                               "MemAvailable:    250 kB\n"
                                                               "SwapTotal:       400 kB\n"
                                                               "SwapFree:        300 kB\n"
                                                               "CommitLimit:     900 kB\n"
                                                               "Committed_AS:    200 kB\n");
    EXPECT_EQ(m.physicalTotalKb, 1000u);
    EXPECT_EQ(m.physicalFreeKb, 250u);
    EXPECT_EQ(m.loadPercent, 75u);
    EXPECT_EQ(m.virtualTotalKb, 900u);
    EXPECT_EQ(m.virtualFreeKb, 700u);
    EXPECT_EQ(m.pageFileTotalKb, 400u);
    EXPECT_EQ(m.pageFileFreeKb, 300u);

    // Old kernels lack MemAvailable; overcommit lets the committed amount pass the limit.
    const platform::MemoryInfo old =
        platform::memoryFromMeminfo("MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 50 "
                                    "kB\nCommitLimit: 10 kB\nCommitted_AS: 99 kB\n");
    EXPECT_EQ(old.physicalFreeKb, 200u);
    EXPECT_EQ(old.loadPercent, 80u);
    EXPECT_EQ(old.virtualFreeKb, 0u);

    const platform::MemoryInfo none = platform::memoryFromMeminfo("garbage\n:\nMemTotal: kB\n");
    EXPECT_EQ(none.physicalTotalKb, 0u);
    EXPECT_EQ(none.loadPercent, 0u);
}

TEST(SystemInfo, MountsKeepRealFileSystemsOncePerMountPoint) {
    const auto drives = platform::drivesFromMounts("proc /proc proc rw 0 0\n"
                                                   "/dev/sda2 / ext4 rw,relatime 0 0\n"
                                                   "tmpfs /run tmpfs rw 0 0\n"
                                                   "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
                                                   "/dev/sdb1 /media/My\\040Disk vfat rw 0 0\n"
                                                   "portal /run/user/1000/doc fuse.portal rw 0 0\n"
                                                   "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
                                                   "server:/export /mnt/share nfs4 rw 0 0\n"
                                                   "/dev/sdc1 /media/My\\040Disk ntfs3 rw 0 0\n"
                                                   "broken-line\n");
    ASSERT_EQ(drives.size(), 3u);
    EXPECT_EQ(drives[0].root, "/");
    EXPECT_EQ(drives[0].device, "/dev/sda2");
    EXPECT_EQ(drives[0].fileSystem, "ext4");
    EXPECT_EQ(drives[0].type, "fixed");
    EXPECT_EQ(drives[1].root, "/mnt/share");
    EXPECT_EQ(drives[1].type, "remote");
    // The later mount on the same point hides the earlier one.
    EXPECT_EQ(drives[2].root, "/media/My Disk");
    EXPECT_EQ(drives[2].device, "/dev/sdc1");
    EXPECT_EQ(drives[2].fileSystem, "ntfs3");
}

} // namespace
