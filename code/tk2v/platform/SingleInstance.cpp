#include "tk2v/platform/SingleInstance.h"

#include "tk2v/util/types.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr char kRaise[] = "raise";
constexpr size_t kRaiseLength = sizeof kRaise - 1;
// Bounds what a misbehaving caller can make the running copy hold or do in one frame.
constexpr size_t kMaxCallers = 8;
constexpr int kMaxAcceptsPerPoll = 16;
constexpr int kBindAttempts = 3;

struct SocketName {
    sockaddr_un addr{};
    socklen_t length = 0;
};

u64 fnv1a(const std::string& text) {
    u64 h = 14695981039346656037ull;
    for (char c : text)
        h = (h ^ u8(c)) * 1099511628211ull;
    return h;
}

// An abstract name (leading NUL) vanishes with its socket, so a crashed copy leaves nothing behind.
// A name too long for the address keeps its start and gets a hash of the whole.
SocketName socketName(const std::string& name) {
    SocketName s;
    s.addr.sun_family = AF_UNIX;
    std::string id = "tk2v-instance/" + name + "/" + std::to_string(getuid());
    const size_t room = sizeof s.addr.sun_path - 1;
    if (id.size() > room) {
        char hash[20];
        std::snprintf(hash, sizeof hash, "#%016llx", static_cast<unsigned long long>(fnv1a(id)));
        id = id.substr(0, room - std::strlen(hash)) + hash;
    }
    std::memcpy(s.addr.sun_path + 1, id.data(), id.size());
    s.length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + id.size());
    return s;
}

// Abstract sockets carry no file permissions: anyone may bind or connect, so the peer's user is checked.
bool peerIsSameUser(int fd) {
    ucred cred{};
    socklen_t length = sizeof cred;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &length) == 0 && cred.uid == getuid();
}

enum class Holder { Running, Gone, Foreign };

Holder askHolderToRaise(const SocketName& name) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return Holder::Running;
    const timeval timeout{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    Holder result = Holder::Running;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&name.addr), name.length) != 0)
        result = errno == ECONNREFUSED ? Holder::Gone : Holder::Running;
    else if (!peerIsSameUser(fd))
        result = Holder::Foreign;
    else
        send(fd, kRaise, kRaiseLength, MSG_NOSIGNAL);
    close(fd);
    return result;
}

// True when the caller is done with: its request complete, or the connection closed or broken.
bool readRequest(int fd, std::string& received, bool& raise) {
    char buf[16];
    const ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return false;
    if (n > 0) {
        received.append(buf, size_t(n));
        if (received.size() < kRaiseLength)
            return false;
    }
    if (received.compare(0, kRaiseLength, kRaise) == 0)
        raise = true;
    return true;
}

} // namespace

SingleInstance::~SingleInstance() {
    release();
}

bool SingleInstance::acquire(const std::string& name) {
    release();
    const SocketName socketAddr = socketName(name);
    for (int attempt = 0; attempt < kBindAttempts; ++attempt) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return true;
        if (bind(fd, reinterpret_cast<const sockaddr*>(&socketAddr.addr), socketAddr.length) == 0 &&
            listen(fd, int(kMaxCallers)) == 0) {
            m_listener = fd;
            return true;
        }
        const bool taken = errno == EADDRINUSE;
        close(fd);
        // A name that cannot be checked, or one held by another user, must not keep the game from starting.
        if (!taken)
            return true;
        switch (askHolderToRaise(socketAddr)) {
        case Holder::Running:
            return false;
        case Holder::Foreign:
            return true;
        case Holder::Gone:
            break; // the holder quit in between: try to take the name again
        }
    }
    return true;
}

bool SingleInstance::pollRaiseRequest() {
    if (m_listener < 0)
        return false;
    acceptCallers();
    return readRequests();
}

void SingleInstance::acceptCallers() {
    for (int i = 0; i < kMaxAcceptsPerPoll; ++i) {
        const int fd = accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        if (m_callers.size() < kMaxCallers && peerIsSameUser(fd))
            m_callers.push_back({fd, {}});
        else
            close(fd);
    }
}

bool SingleInstance::readRequests() {
    bool raise = false;
    std::erase_if(m_callers, [&](Caller& c) {
        if (!readRequest(c.fd, c.received, raise))
            return false;
        close(c.fd);
        return true;
    });
    return raise;
}

void SingleInstance::release() {
    for (const Caller& c : m_callers)
        close(c.fd);
    m_callers.clear();
    if (m_listener >= 0)
        close(m_listener);
    m_listener = -1;
}

} // namespace platform
