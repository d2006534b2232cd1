#pragma once

class aApplication;
class aGraphServer;

// One application frame and one graph server (1024 x 768 back buffer, windowed, HiColor on) for the
// whole test program: a window with its GL context is costly to make. Each call gives the same
// objects; the graph server's render state is reset to its defaults (viewport, global colour,
// render mode 0, linear filter) and no scene is open.
aApplication& testApplication();
aGraphServer& testGraphServer();
