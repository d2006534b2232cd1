#pragma once
#include "tk2v/util/types.h"

// The appointment book keeps its paint layer's record packed in the save stream: a rubbed page is
// mostly long stretches of one alpha, so equal bytes go into a run table and the rest stay literal.
//
// Block: u32 size (the whole block, this field included), u32 run count R, R runs of 7 bytes (u32
// position in the unpacked data, u16 length, u8 value) in increasing order of position, then every
// unpacked byte that no run covers, in order.

constexpr u32 PackedRunsHeaderBytes = 8;
constexpr u32 PackedRunBytes = 7;
// Shorter stretches of equal bytes cost less as literals than as a run entry.
constexpr u32 PackedRunMinLength = 8;
constexpr u32 PackedRunMaxLength = 65535;

// Packs the `n` bytes that lie behind a gap of PackedRunsHeaderBytes at `block` into a block that
// starts at `block` and ends inside the bytes the data took; returns the block's size.
u32 PackRunsInPlace(u8* block, u32 n);

struct PackedRunsInfo {
    enum Check {
        Sound,
        // The block's size is believable but its runs are not: the next field follows the block.
        DamagedRuns,
        // The size itself cannot be trusted: nothing after the block's start can be found again.
        DamagedSize,
    };
    Check check = DamagedSize;
    u32 size = 0;
    u32 runCount = 0;
    u32 unpackedSize = 0;
};

// Checks the block at `block`, of which `bytesLeft` bytes may be read: its size against its run
// table and those bytes, and every run against the one before it and against the unpacked size,
// which must not pass `maxUnpacked`.
PackedRunsInfo CheckPackedRuns(const u8* block, u32 bytesLeft, u32 maxUnpacked);

// Writes the unpacked data of a block that CheckPackedRuns found sound into `out` (info.unpackedSize
// bytes).
void UnpackRuns(const u8* block, const PackedRunsInfo& info, u8* out);
