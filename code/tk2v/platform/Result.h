#pragma once
#include "tk2v/util/types.h"

namespace platform {

// The engine passes failures around as 32-bit codes and logs them by symbolic name; the layer reports
// its own failures with the codes the engine already knows.
using Result = u32;

constexpr Result S_OK = 0;
constexpr Result E_FAIL = 0x80004005;
constexpr Result E_ABORT = 0x80004004;
constexpr Result E_OUTOFMEMORY = 0x8007000E;
constexpr Result D3DERR_DRIVERINTERNALERROR = 0x88760827;
constexpr Result D3DERR_DEVICELOST = 0x88760868;
constexpr Result D3DERR_DEVICENOTRESET = 0x88760869;
constexpr Result D3DERR_NOTAVAILABLE = 0x8876086A;
constexpr Result D3DERR_INVALIDCALL = 0x8876086C;
constexpr Result D3DERR_OUTOFVIDEOMEMORY = 0x8876017C;
constexpr Result D3DXERR_INVALIDDATA = 0x88760B59;
constexpr Result DIERR_NOTACQUIRED = 0x8007000C;
constexpr Result DIERR_INPUTLOST = 0x8007001E;

// The window (or the video system under it) could not be made.
constexpr Result ERR_WINDOW_CREATE = 0x8A760001;
// The GL context could not be made on the window.
constexpr Result ERR_CONTEXT_CREATE = 0x8A760003;

constexpr bool succeeded(Result r) {
    return (r & 0x80000000u) == 0;
}
constexpr bool failed(Result r) {
    return !succeeded(r);
}

// The symbolic name for log lines ("D3DERR_DEVICELOST"); "Unknown" for a code without one.
const char* resultName(Result r);

} // namespace platform
