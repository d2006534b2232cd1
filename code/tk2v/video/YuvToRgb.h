#pragma once
#include "tk2v/util/types.h"

// Fixed-point colour conversion of decoded video pictures: 16 fraction bits, rounded, integer only.
struct YuvTables {
    i32 redV[256];
    i32 greenU[256];
    i32 greenV[256];
    i32 blueU[256];
};

// Built once; entry i of each table is (c x (i - 128) + 32768) >> 16 for that table's factor c.
const YuvTables& yuvTables();

// One plane of a picture; rows may run upwards (negative stride).
struct YuvPlane {
    const u8* data = nullptr;
    i32 stride = 0;
};

// Converts a 4:2:0 picture (the chroma sample of (x, y) is at (x / 2, y / 2)) into `width` x
// `height` pixels 0xAARRGGBB, rows `width` pixels long; alpha is 255.
void convertYuv420(const YuvPlane& y, const YuvPlane& u, const YuvPlane& v, u32 width, u32 height, u32* out);
