// The main of every test program. Each process gets a fresh folder of its own for the user's data,
// caches and temporary files, so tests run side by side never meet in a shared folder and none
// writes into the real home. Under ctest every test is its own process.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class PrivateFolders {
public:
    PrivateFolders() {
        std::string pattern = (std::filesystem::temp_directory_path() / "rvh-tests-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            return;
        m_root = pattern;
        use("XDG_DATA_HOME", "data");
        use("XDG_CACHE_HOME", "cache");
        use("XDG_CONFIG_HOME", "config");
        use("TMPDIR", "tmp");
    }
    ~PrivateFolders() {
        std::error_code ec;
        if (!m_root.empty())
            std::filesystem::remove_all(m_root, ec);
    }
    PrivateFolders(const PrivateFolders&) = delete;
    PrivateFolders& operator=(const PrivateFolders&) = delete;
    bool ready() const { return !m_root.empty(); }

private:
    void use(const char* variable, const char* name) {
        const std::filesystem::path folder = m_root / name;
        std::filesystem::create_directories(folder);
        setenv(variable, folder.c_str(), 1);
    }

    std::filesystem::path m_root;
};

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Headless unless the caller chose otherwise, also when run outside ctest.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // A cache in a folder that dies with the process never pays back, and the GL driver's thread
    // writing it at exit would keep the folder from being removed.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    // A local, not a static: a death test's forked child that exits must not remove the folder.
    PrivateFolders folders;
    if (!folders.ready()) {
        std::fprintf(stderr, "cannot make a private folder under %s\n",
                     std::filesystem::temp_directory_path().c_str());
        return 1;
    }
    return RUN_ALL_TESTS();
}
