#include "tk2v/gfx/JngDecode.h"
#include "tk2v/platform/Clock.h"
#include "tk2v/platform/ImageDecode.h"

// libmng's headers pull in jpeglib.h, which needs FILE declared first.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include <libmng.h>

namespace {

// libmng keeps whole pictures in its own buffers; anything beyond this is damaged data, and refusing
// it keeps a forged header from taking the machine's memory.
constexpr size_t kMaxAllocation = size_t(platform::kMaxImageBytes) * 2;

// One decode's state, reached from the callbacks through the handle's user data, so decodes on
// different threads never meet.
struct Decode {
    const u8* data;
    size_t size;
    size_t position = 0;
    platform::DecodedImage* image;
};

Decode& decodeOf(mng_handle handle) {
    return *static_cast<Decode*>(mng_get_userdata(handle));
}

// libmng loses some of its row buffers when a damaged stream ends a read early, so every block it
// takes during a decode is counted here and what it leaves is freed after the cleanup. The
// allocation callbacks carry no handle, hence one set per thread.
thread_local std::unordered_set<void*>* t_blocks = nullptr;

mng_ptr MNG_DECL allocate(mng_size_t size) {
    if (size > kMaxAllocation)
        return nullptr;
    // libmng expects zeroed memory.
    void* block = std::calloc(1, size);
    if (block)
        t_blocks->insert(block);
    return block;
}

void MNG_DECL release(mng_ptr block, mng_size_t) {
    t_blocks->erase(block);
    std::free(block);
}

mng_bool MNG_DECL openOrClose(mng_handle) {
    return MNG_TRUE;
}

mng_bool MNG_DECL readData(mng_handle handle, mng_ptr buffer, mng_uint32 wanted, mng_uint32p got) {
    Decode& d = decodeOf(handle);
    size_t count = std::min<size_t>(wanted, d.size - d.position);
    std::memcpy(buffer, d.data + d.position, count);
    d.position += count;
    *got = mng_uint32(count);
    return MNG_TRUE;
}

// The canvas is made as soon as the size is known, so that no line is ever asked of a missing one;
// a size the engine would refuse for any other picture ends the read.
mng_bool MNG_DECL processHeader(mng_handle handle, mng_uint32 width, mng_uint32 height) {
    platform::DecodedImage& image = *decodeOf(handle).image;
    if (width == 0 || height == 0 || width > platform::kMaxImageSide || height > platform::kMaxImageSide ||
        u64(width) * height * 4 > platform::kMaxImageBytes)
        return MNG_FALSE;
    image.width = width;
    image.height = height;
    image.argb.assign(size_t(width) * height, 0);
    return MNG_TRUE;
}

mng_ptr MNG_DECL canvasLine(mng_handle handle, mng_uint32 line) {
    platform::DecodedImage& image = *decodeOf(handle).image;
    mng_uint32 row = line < image.height ? line : image.height - 1;
    // B, G, R, A bytes in memory are one 0xAARRGGBB word.
    return image.argb.data() + size_t(row) * image.width;
}

mng_uint32 MNG_DECL tickCount(mng_handle) {
    return platform::tickMs();
}

mng_bool MNG_DECL setTimer(mng_handle, mng_uint32) {
    return MNG_TRUE;
}

mng_bool MNG_DECL refresh(mng_handle, mng_uint32, mng_uint32, mng_uint32, mng_uint32) {
    return MNG_TRUE;
}

bool registerCallbacks(mng_handle h) {
    return mng_setcb_openstream(h, openOrClose) == MNG_NOERROR &&
           mng_setcb_closestream(h, openOrClose) == MNG_NOERROR &&
           mng_setcb_readdata(h, readData) == MNG_NOERROR &&
           mng_setcb_processheader(h, processHeader) == MNG_NOERROR &&
           mng_setcb_getcanvasline(h, canvasLine) == MNG_NOERROR &&
           mng_setcb_gettickcount(h, tickCount) == MNG_NOERROR &&
           mng_setcb_settimer(h, setTimer) == MNG_NOERROR && mng_setcb_refresh(h, refresh) == MNG_NOERROR;
}

bool readAndDisplay(mng_handle h, const platform::DecodedImage& image) {
    if (mng_read(h) != MNG_NOERROR || image.argb.empty() || mng_get_imagewidth(h) != image.width ||
        mng_get_imageheight(h) != image.height)
        return false;
    if (mng_set_canvasstyle(h, MNG_CANVAS_BGRA8) != MNG_NOERROR)
        return false;
    // A still picture is done at once; an animation stops after its first frame, waiting for a timer
    // that never comes.
    mng_retcode shown = mng_display(h);
    return shown == MNG_NOERROR || shown == MNG_NEEDTIMERWAIT;
}

} // namespace

bool isJng(const u8* data, size_t size) {
    return data && size >= 4 && data[0] == 0x8B && data[1] == 'J' && data[2] == 'N' && data[3] == 'G';
}

bool decodeJng(const u8* data, size_t size, platform::DecodedImage& out) {
    out = {};
    if (!data)
        return false;
    Decode decode{data, size, 0, &out};
    std::unordered_set<void*> blocks;
    t_blocks = &blocks;
    mng_handle handle = mng_initialize(&decode, allocate, release, MNG_NULL);
    bool ok = handle && registerCallbacks(handle) && readAndDisplay(handle, out);
    if (handle)
        mng_cleanup(&handle);
    for (void* block : blocks)
        std::free(block);
    t_blocks = nullptr;
    if (!ok)
        out = {};
    return ok;
}
