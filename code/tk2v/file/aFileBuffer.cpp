#include "tk2v/file/aFileBuffer.h"

#include "tk2v/file/file.h"

#include <cstdlib>

aFileBuffer::~aFileBuffer() {
    std::free(m_data);
}

void aFileBuffer::load(const std::string& name) {
    std::free(m_data);
    m_data = static_cast<u8*>(file_readFullAndMalloc(name, &m_size));
    m_loaded = m_data != nullptr;
}
