#include "RunnerProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int ProgressFd = 3;

// Above the descriptors the child's are dup'ed to, so no dup2 there is one onto itself.
int keptAbove(int fd) {
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 10);
    ::close(fd);
    return moved;
}

std::vector<std::string> environment(const std::string& gameHome, const std::string& dataHome) {
    std::vector<std::string> env{"RVH_GAME_HOME=" + gameHome, "XDG_DATA_HOME=" + dataHome};
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("RVH_GAME_HOME=", 0) != 0 && entry.rfind("XDG_DATA_HOME=", 0) != 0)
            env.push_back(entry);
    }
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (std::string& text : texts)
        result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

} // namespace

RunnerProcess::RunnerProcess(const std::string& gameHome, const std::string& dataHome,
                             std::vector<std::string> args) {
    int progress[2], input[2];
    if (::pipe(progress) != 0 || ::pipe(input) != 0)
        return;
    m_progress = keptAbove(progress[0]);
    m_input = keptAbove(input[1]);
    const int childProgress = keptAbove(progress[1]), childInput = keptAbove(input[0]);
    args.insert(args.begin() + 1, {"--progress", std::to_string(ProgressFd)});
    args.insert(args.begin(), RVH_SCENARIO_RUNNER);
    std::vector<std::string> env = environment(gameHome, dataHome);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, childProgress, ProgressFd);
    posix_spawn_file_actions_adddup2(&actions, childInput, STDIN_FILENO);
    if (posix_spawn(&m_pid, RVH_SCENARIO_RUNNER, &actions, nullptr, pointers(args).data(),
                    pointers(env).data()) != 0)
        m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(childProgress);
    ::close(childInput);
    ::fcntl(m_progress, F_SETFL, O_NONBLOCK);
}

RunnerProcess::~RunnerProcess() {
    kill();
    wait();
    ::close(m_progress);
    release();
}

bool RunnerProcess::readLines() {
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_progress, buffer, sizeof buffer);
        if (n == 0)
            return false;
        if (n < 0)
            return errno == EAGAIN || errno == EINTR;
        m_partial.append(buffer, size_t(n));
        for (size_t end; (end = m_partial.find('\n')) != std::string::npos; m_partial.erase(0, end + 1))
            m_lines.push_back(m_partial.substr(0, end));
    }
}

void RunnerProcess::kill() {
    // Never a pid of -1 or 0: those would name every process or the whole group.
    if (m_pid > 0 && !m_ended)
        ::kill(m_pid, SIGKILL);
}

void RunnerProcess::release() {
    if (m_input >= 0)
        ::close(m_input);
    m_input = -1;
}

int RunnerProcess::wait() {
    int status = -1;
    if (m_pid <= 0 || m_ended)
        return status;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_ended = true;
    return status;
}

int RunnerProcess::finish() {
    release();
    pollfd readable{m_progress, POLLIN, 0};
    while (readLines())
        ::poll(&readable, 1, -1);
    return wait();
}
