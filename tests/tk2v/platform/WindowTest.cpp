#include "tk2v/platform/Window.h"

#include <gtest/gtest.h>

#include <vector>

using namespace platform;

namespace {

std::unique_ptr<Window> hiddenWindow(Rect client = {0, 0, 320, 240}) {
    WindowConfig config;
    config.title = "window test";
    config.client = client;
    config.visible = false;
    return Window::create(config);
}

// The messages queued now, without what the system sends by itself.
std::vector<WindowMessage> userMessages(Window& window) {
    std::vector<WindowMessage> out;
    WindowMessage m;
    while (window.peek(m))
        if (m.id >= WM_USER || m.id == WM_QUIT)
            out.push_back(m);
    return out;
}

TEST(Window, PostedMessagesArriveInOrderWithTheirParameters) {
    auto window = hiddenWindow();
    ASSERT_TRUE(window);
    window->post({WM_USER + 1, 7, -3});
    window->post({WM_USER + 2, 0xFFFFFFFF, makeLParam(-1, 2)});
    window->postQuit(5);
    auto got = userMessages(*window);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].id, WM_USER + 1);
    EXPECT_EQ(got[0].wparam, 7u);
    EXPECT_EQ(got[0].lparam, -3);
    EXPECT_EQ(got[1].wparam, 0xFFFFFFFFu);
    EXPECT_EQ(got[1].lparam, 0x2FFFF);
    EXPECT_EQ(got[2].id, WM_QUIT);
    EXPECT_EQ(got[2].wparam, 5u);
}

TEST(Window, WaitWakesUpForAPostedMessage) {
    auto window = hiddenWindow();
    ASSERT_TRUE(window);
    userMessages(*window);
    window->post({WM_USER + 9, 1, 2});
    WindowMessage m;
    do
        window->wait(m);
    while (m.id != WM_USER + 9);
    EXPECT_EQ(m.lparam, 2);
}

TEST(Window, DispatchCallsTheProcedureExceptForQuit) {
    auto window = hiddenWindow();
    ASSERT_TRUE(window);
    std::vector<u32> seen;
    window->setProc([&](const WindowMessage& m) -> std::intptr_t {
        seen.push_back(m.id);
        return 42;
    });
    EXPECT_EQ(window->dispatch({WM_CLOSE, 0, 0}), 42);
    EXPECT_EQ(window->dispatch({WM_QUIT, 0, 0}), 0);
    window.reset();
    EXPECT_EQ(seen, (std::vector<u32>{WM_CLOSE, WM_DESTROY}));
}

TEST(Window, SwitchesBetweenWindowedAndFullScreen) {
    auto window = hiddenWindow({40, 30, 300, 200});
    ASSERT_TRUE(window);
    EXPECT_FALSE(window->isFullscreen());
    EXPECT_EQ(window->clientSize(), (Point{300, 200}));
    window->setFullscreen();
    EXPECT_TRUE(window->isFullscreen());
    EXPECT_EQ(window->frameExtents().top, 0);
    window->setWindowed({10, 10, 256, 192});
    EXPECT_FALSE(window->isFullscreen());
    EXPECT_EQ(window->clientSize(), (Point{256, 192}));
    Rect work = window->workArea();
    EXPECT_GT(work.w, 0);
    EXPECT_GT(work.h, 0);
}

} // namespace
