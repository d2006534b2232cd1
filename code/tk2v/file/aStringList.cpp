#include "tk2v/file/aStringList.h"

#include "tk2v/file/aFileBuffer.h"
#include "tk2v/util/log.h"

#include <cstring>

namespace {
constexpr u32 MaxLineLength = 1024;

bool isBreak(u8 c) {
    return c == '\r' || c == '\n';
}

u32 findBreak(const u8* bytes, u32 from, u32 size) {
    while (from < size && !isBreak(bytes[from]))
        ++from;
    return from;
}

// The text of one line: at most MaxLineLength bytes, and nothing from a zero byte on.
std::string lineText(const u8* begin, u32 length) {
    if (length > MaxLineLength) {
        log("aStringList. Long string");
        length = MaxLineLength;
    }
    const void* zero = std::memchr(begin, 0, length);
    const u32 textLength = zero ? u32(static_cast<const u8*>(zero) - begin) : length;
    return std::string(reinterpret_cast<const char*>(begin), textLength);
}
} // namespace

void aStringList::load(const std::string& fileName) {
    aFileBuffer file(fileName);
    if (!file.isLoaded()) {
        clear();
        return;
    }
    parse(file.getData(), file.getSize());
}

void aStringList::parse(const u8* bytes, u32 size) {
    clear();
    u32 pos = 0;
    while (pos < size) {
        const u32 lineEnd = findBreak(bytes, pos, size);
        std::string text = lineText(bytes + pos, lineEnd - pos);
        // A line closed by a break stays even when empty (data that starts with a break); the last
        // line, which needs no break, only when it holds text.
        if (lineEnd < size || !text.empty())
            m_lines.push_back(std::move(text));
        pos = lineEnd;
        while (pos < size && isBreak(bytes[pos]))
            ++pos;
    }
}

void aStringList::clear() {
    m_lines.clear();
    m_cursor = 0;
}

const std::string& aStringList::getCurrent() const {
    static const std::string none;
    return isEnd() ? none : m_lines[m_cursor];
}
