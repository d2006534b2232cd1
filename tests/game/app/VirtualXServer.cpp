#include "VirtualXServer.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int ServerStartMs = 30000;

Display* display(void* d) {
    return static_cast<Display*>(d);
}

void pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Reads the line Xvfb writes once it listens: the number of the display it took.
std::string readDisplayNumber(int fd) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ServerStartMs);
    while (text.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0)
            continue;
        char buffer[32];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, size_t(n));
    }
    const size_t end = text.find('\n');
    return end == std::string::npos || end == 0 ? std::string() : text.substr(0, end);
}

} // namespace

bool VirtualXServer::installed() {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    for (size_t start = 0; start <= dirs.size();) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        const std::string file = dirs.substr(start, end - start) + "/Xvfb";
        if (::access(file.c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

VirtualXServer::VirtualXServer(i32 width, i32 height) {
    startServer(width, height);
    if (m_name.empty())
        return;
    m_display = XOpenDisplay(m_name.c_str());
    if (!m_display)
        return;
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display(m_display), &event, &error, &major, &minor)) {
        XCloseDisplay(display(m_display));
        m_display = nullptr;
        return;
    }
    m_width = DisplayWidth(display(m_display), DefaultScreen(display(m_display)));
    m_height = DisplayHeight(display(m_display), DefaultScreen(display(m_display)));
}

void VirtualXServer::startServer(i32 width, i32 height) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return;
    // Xvfb writes the display number it found free to this descriptor.
    constexpr int NumberFd = 3;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], NumberFd);
    const int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (quiet >= 0) {
        posix_spawn_file_actions_adddup2(&actions, quiet, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, quiet, STDERR_FILENO);
    }
    std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    std::vector<std::string> args = {
        "Xvfb", "-displayfd", std::to_string(NumberFd), "-screen", "0", screen, "-br", "-nolisten",
        "tcp",  "-noreset"};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawnp(&m_pid, "Xvfb", &actions, nullptr, argv.data(), environ) != 0)
        m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (quiet >= 0)
        ::close(quiet);
    if (m_pid > 0) {
        const std::string number = readDisplayNumber(pipeFds[0]);
        if (!number.empty())
            m_name = ":" + number;
    }
    ::close(pipeFds[0]);
}

VirtualXServer::~VirtualXServer() {
    if (m_display)
        XCloseDisplay(display(m_display));
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
}

std::vector<u32> VirtualXServer::readScreen() {
    std::vector<u32> pixels;
    if (!m_display)
        return pixels;
    Display* d = display(m_display);
    XImage* image =
        XGetImage(d, DefaultRootWindow(d), 0, 0, unsigned(m_width), unsigned(m_height), AllPlanes, ZPixmap);
    if (!image)
        return pixels;
    pixels.reserve(size_t(m_width) * size_t(m_height));
    for (i32 y = 0; y < m_height; ++y)
        for (i32 x = 0; x < m_width; ++x)
            pixels.push_back(u32(XGetPixel(image, x, y)) & 0xFFFFFF);
    XDestroyImage(image);
    return pixels;
}

bool VirtualXServer::findWindow(platform::Rect& out) {
    if (!m_display)
        return false;
    Display* d = display(m_display);
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count))
        return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes a{};
        if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable &&
            a.c_class == InputOutput) {
            out = {a.x, a.y, a.width, a.height};
            found = true;
        }
    }
    if (children)
        XFree(children);
    return found;
}

void VirtualXServer::movePointer(i32 x, i32 y) {
    if (!m_display)
        return;
    XTestFakeMotionEvent(display(m_display), -1, x, y, CurrentTime);
    XFlush(display(m_display));
}

void VirtualXServer::click() {
    if (!m_display)
        return;
    // Held for a few frames, as a hand does.
    XTestFakeButtonEvent(display(m_display), 1, True, CurrentTime);
    XFlush(display(m_display));
    pause(150);
    XTestFakeButtonEvent(display(m_display), 1, False, CurrentTime);
    XFlush(display(m_display));
}

void VirtualXServer::tapPrintScreen() {
    if (!m_display)
        return;
    const KeyCode key = XKeysymToKeycode(display(m_display), XK_Print);
    XTestFakeKeyEvent(display(m_display), key, True, CurrentTime);
    XFlush(display(m_display));
    pause(50);
    XTestFakeKeyEvent(display(m_display), key, False, CurrentTime);
    XFlush(display(m_display));
}
