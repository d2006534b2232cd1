#pragma once
#include <string>
#include <sys/types.h>
#include <vector>

// The scenario runner in a child process: the game's folder and the data home of its user data are
// its own, its progress lines are read as they come. One still running when this goes is killed.
class RunnerProcess {
public:
    // `args` start with the scenario's name.
    RunnerProcess(const std::string& gameHome, const std::string& dataHome, std::vector<std::string> args);
    ~RunnerProcess();
    RunnerProcess(const RunnerProcess&) = delete;
    RunnerProcess& operator=(const RunnerProcess&) = delete;

    bool started() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }
    // For poll: readable when lines have come or the runner is gone.
    int progressFd() const { return m_progress; }
    const std::vector<std::string>& lines() const { return m_lines; }

    // Takes in what has come; false once the runner has closed its end.
    bool readLines();
    void kill();
    // Lets a runner that has reported its exit end.
    void release();
    // The wait status once the runner has ended.
    int wait();
    // Lets the runner end, takes in all it reports on the way, and gives its wait status.
    int finish();

private:
    pid_t m_pid = -1;
    int m_progress = -1, m_input = -1;
    bool m_ended = false;
    std::string m_partial;
    std::vector<std::string> m_lines;
};
