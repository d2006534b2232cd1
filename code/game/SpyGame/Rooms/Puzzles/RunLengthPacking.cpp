#include "game/SpyGame/Rooms/Puzzles/RunLengthPacking.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct Run {
    u32 position;
    u16 length;
    u8 value;
};

void putLE(u8* at, u32 value, u32 bytes) {
    for (u32 i = 0; i < bytes; ++i)
        at[i] = static_cast<u8>(value >> (8 * i));
}

u32 getLE(const u8* at, u32 bytes) {
    u32 value = 0;
    for (u32 i = bytes; i-- > 0;)
        value = value << 8 | at[i];
    return value;
}

// Copies n literals and moves past them; an empty span may sit at the end of an empty buffer.
void copyLiterals(u8* out, const u8*& literal, u32 n) {
    if (n == 0)
        return;
    std::memcpy(out, literal, n);
    literal += n;
}

Run readRun(const u8* at) {
    return {getLE(at, 4), static_cast<u16>(getLE(at + 4, 2)), at[6]};
}

} // namespace

u32 PackRunsInPlace(u8* block, u32 n) {
    u8* data = block + PackedRunsHeaderBytes;
    std::vector<Run> runs;
    // Literals close up towards the start as runs leave the data; they never overtake the scan.
    u32 literals = 0;
    u32 spanStart = 0;
    auto keepSpan = [&](u32 end) {
        if (literals != spanStart)
            std::memmove(data + literals, data + spanStart, end - spanStart);
        literals += end - spanStart;
    };
    for (u32 i = 0; i < n;) {
        const u8 value = data[i];
        const u32 limit = i + std::min(n - i, PackedRunMaxLength);
        u32 end = i + 1;
        while (end < limit && data[end] == value)
            ++end;
        if (end - i >= PackedRunMinLength) {
            keepSpan(i);
            runs.push_back({i, static_cast<u16>(end - i), value});
            spanStart = end;
        }
        i = end;
    }
    keepSpan(n);
    // Each run took at least 8 bytes away and costs 7, so the table fits where they were.
    const u32 table = u32(runs.size()) * PackedRunBytes;
    std::memmove(data + table, data, literals);
    u8* at = data;
    for (const Run& run : runs) {
        putLE(at, run.position, 4);
        putLE(at + 4, run.length, 2);
        at[6] = run.value;
        at += PackedRunBytes;
    }
    const u32 size = PackedRunsHeaderBytes + table + literals;
    putLE(block, size, 4);
    putLE(block + 4, u32(runs.size()), 4);
    return size;
}

PackedRunsInfo CheckPackedRuns(const u8* block, u32 bytesLeft, u32 maxUnpacked) {
    PackedRunsInfo info;
    if (bytesLeft < PackedRunsHeaderBytes)
        return info;
    info.size = getLE(block, 4);
    info.runCount = getLE(block + 4, 4);
    const u64 table = u64(info.runCount) * PackedRunBytes;
    if (info.size > bytesLeft || info.size < PackedRunsHeaderBytes + table)
        return info;
    info.check = PackedRunsInfo::DamagedRuns;
    const u8* at = block + PackedRunsHeaderBytes;
    u64 covered = 0;
    u64 previousEnd = 0;
    for (u32 i = 0; i < info.runCount; ++i, at += PackedRunBytes) {
        const Run run = readRun(at);
        if (run.position < previousEnd)
            return info;
        previousEnd = u64(run.position) + run.length;
        covered += run.length;
    }
    const u64 unpacked = covered + (info.size - PackedRunsHeaderBytes - table);
    if (previousEnd > unpacked || unpacked > maxUnpacked)
        return info;
    info.unpackedSize = u32(unpacked);
    info.check = PackedRunsInfo::Sound;
    return info;
}

void UnpackRuns(const u8* block, const PackedRunsInfo& info, u8* out) {
    const u8* at = block + PackedRunsHeaderBytes;
    const u8* literal = at + u64(info.runCount) * PackedRunBytes;
    u32 written = 0;
    for (u32 i = 0; i < info.runCount; ++i, at += PackedRunBytes) {
        const Run run = readRun(at);
        copyLiterals(out + written, literal, run.position - written);
        if (run.length > 0)
            std::memset(out + run.position, run.value, run.length);
        written = run.position + run.length;
    }
    copyLiterals(out + written, literal, info.unpackedSize - written);
}
