#include "tk2v/platform/Result.h"

namespace platform {

const char* resultName(Result r) {
    struct Name {
        Result code;
        const char* text;
    };
    static constexpr Name names[] = {
        {S_OK, "S_OK"},
        {E_FAIL, "E_FAIL"},
        {E_ABORT, "E_ABORT"},
        {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
        {D3DERR_DRIVERINTERNALERROR, "D3DERR_DRIVERINTERNALERROR"},
        {D3DERR_DEVICELOST, "D3DERR_DEVICELOST"},
        {D3DERR_DEVICENOTRESET, "D3DERR_DEVICENOTRESET"},
        {D3DERR_NOTAVAILABLE, "D3DERR_NOTAVAILABLE"},
        {D3DERR_INVALIDCALL, "D3DERR_INVALIDCALL"},
        {D3DERR_OUTOFVIDEOMEMORY, "D3DERR_OUTOFVIDEOMEMORY"},
        {D3DXERR_INVALIDDATA, "D3DXERR_INVALIDDATA"},
        {DIERR_NOTACQUIRED, "DIERR_NOTACQUIRED"},
        {DIERR_INPUTLOST, "DIERR_INPUTLOST"},
    };
    for (const Name& n : names)
        if (n.code == r)
            return n.text;
    return "Unknown";
}

} // namespace platform
