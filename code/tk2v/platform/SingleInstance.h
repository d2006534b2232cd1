#pragma once
#include <string>
#include <vector>

namespace platform {

// Keeps one running copy of the program per user and name. The first copy holds an abstract Unix
// socket named from the name and the user id; a later copy connects, asks the first one to raise
// its window and is told to quit. The claim ends with the object.
class SingleInstance {
public:
    SingleInstance() = default;
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when no other copy runs (this one now holds the name, or the name could not be checked);
    // false after asking the running copy to raise its window.
    bool acquire(const std::string& name);

    // Non-blocking, once a frame: true when another copy asked for the window since the last call.
    bool pollRaiseRequest();

private:
    // A connection whose request has not fully arrived yet.
    struct Caller {
        int fd;
        std::string received;
    };

    void release();
    void acceptCallers();
    bool readRequests();

    int m_listener = -1;
    std::vector<Caller> m_callers;
};

} // namespace platform
