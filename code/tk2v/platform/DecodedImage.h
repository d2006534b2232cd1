#pragma once
#include "tk2v/util/types.h"

#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace platform {

// Leaves the elements a resize adds uninitialised: a decoder writes every pixel of its picture, so
// zeroing it first would be one more pass over megabytes for nothing. Values given are kept.
template <class T> struct UninitialisedAllocator : std::allocator<T> {
    template <class U> struct rebind { using other = UninitialisedAllocator<U>; };
    UninitialisedAllocator() = default;
    template <class U> UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
    template <class U> void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

// Pixels as 0xAARRGGBB words.
using PixelWords = std::vector<u32, UninitialisedAllocator<u32>>;

struct DecodedImage {
    u32 width = 0, height = 0;
    PixelWords argb;
};

} // namespace platform
