#pragma once
#include <map>
#include <string>

// The table of path assigns ("home:", "temp:", "userappdata:" ...) that every file name of the
// engine is written with, and the few file-system operations that go through it.
class aFileServer {
public:
    aFileServer();
    ~aFileServer();
    aFileServer(const aFileServer&) = delete;
    aFileServer& operator=(const aFileServer&) = delete;

    // The process-wide file server, null while none exists.
    static aFileServer* getInstance() { return s_instance; }
    // The name through the file server's assigns, or unchanged while no file server exists.
    static std::string resolve(const std::string& name);
    // The folder of the running executable, with its trailing separator.
    static const std::string& getExeDir();
    // Test hook: while set, getExeDir (and so "home:" of file servers made afterwards) names this
    // folder instead; an empty text restores the executable's own.
    static void setExeDirOverride(const std::string& folder);

    void setAssign(const std::string& name, const std::string& path);
    std::string manglePath(const std::string& name) const;
    bool deleteFile(const std::string& name) const;
    bool makeDir(const std::string& name) const;

private:
    struct NoCaseLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };

    void setDefaultAssigns();

    std::map<std::string, std::string, NoCaseLess> m_assigns;
    static inline aFileServer* s_instance = nullptr;
    static inline std::string s_exeDirOverride;
};
