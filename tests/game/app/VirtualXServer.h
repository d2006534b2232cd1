#pragma once
#include "tk2v/platform/Rect.h"
#include "tk2v/util/types.h"

#include <string>
#include <sys/types.h>
#include <vector>

// An X server of the test's own (Xvfb) without a window manager: one screen of the given size, a black
// root window, no TCP, on the first free display number, so that tests running side by side never
// share one. It is stopped when this goes.
class VirtualXServer {
public:
    // Whether Xvfb can be found on the PATH.
    static bool installed();

    VirtualXServer(i32 width, i32 height);
    ~VirtualXServer();
    VirtualXServer(const VirtualXServer&) = delete;
    VirtualXServer& operator=(const VirtualXServer&) = delete;

    // False when the server did not come up.
    bool running() const { return m_display != nullptr; }
    // The DISPLAY value of the server (":7").
    const std::string& name() const { return m_name; }

    // The screen as 0xRRGGBB words, rows from the top; empty when it cannot be read.
    std::vector<u32> readScreen();
    i32 width() const { return m_width; }
    i32 height() const { return m_height; }
    // Where the one mapped top-level window stands on the screen; false while there is none.
    bool findWindow(platform::Rect& out);
    // The pointer as the X server's own input: moved to a screen position, then a left click there
    // (pressed, held a little, let go) or a tap of the Print Screen key.
    void movePointer(i32 x, i32 y);
    void click();
    void tapPrintScreen();

private:
    void startServer(i32 width, i32 height);

    pid_t m_pid = -1;
    std::string m_name;
    void* m_display = nullptr; // the test's own connection (an Xlib Display)
    i32 m_width = 0, m_height = 0;
};
