#pragma once
#include "tk2v/util/types.h"

#include <string>

// A whole file in memory; the data carries no terminating zero, so parsers work from the size.
class aFileBuffer {
public:
    aFileBuffer() = default;
    explicit aFileBuffer(const std::string& name) { load(name); }
    ~aFileBuffer();
    aFileBuffer(const aFileBuffer&) = delete;
    aFileBuffer& operator=(const aFileBuffer&) = delete;

    void load(const std::string& name);

    const u8* getData() const { return m_data; }
    u32 getSize() const { return m_size; }
    bool isLoaded() const { return m_loaded; }

private:
    u8* m_data = nullptr;
    bool m_loaded = false;
    u32 m_size = 0;
};
