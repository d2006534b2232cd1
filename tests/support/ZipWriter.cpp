#include "support/ZipWriter.h"

#include <fstream>
#include <zlib.h>

namespace {

void put16(std::string& out, std::uint32_t v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// Raw deflate, as zip members carry it (no zlib header or trailer).
std::string deflateRaw(const std::string& data) {
    z_stream z{};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, uLong(data.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

} // namespace

void ZipWriter::add(const std::string& name, const std::string& data, Method method) {
    std::uint32_t crc =
        std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size())));
    m_entries.push_back({name, method, crc, std::uint32_t(data.size()),
                         method == Method::Deflated ? deflateRaw(data) : data});
}

void ZipWriter::addFolder(const std::string& name) {
    add(name, "", Method::Stored);
}

std::string ZipWriter::bytes(bool corruptDirectory) const {
    std::string out;
    std::vector<std::uint32_t> offsets;
    auto header = [&out](const Entry& e) {
        put16(out, 20); // version needed
        put16(out, 0);  // flags
        put16(out, std::uint16_t(e.method));
        put32(out, 0); // time and date
        put32(out, e.crc);
        put32(out, std::uint32_t(e.packed.size()));
        put32(out, e.size);
        put16(out, std::uint32_t(e.name.size()));
        put16(out, 0); // extra length
    };
    for (const Entry& e : m_entries) {
        offsets.push_back(std::uint32_t(out.size()));
        put32(out, 0x04034b50);
        header(e);
        out += e.name;
        out += e.packed;
    }
    std::uint32_t directory = std::uint32_t(out.size());
    for (size_t i = 0; i < m_entries.size(); ++i) {
        put32(out, 0x02014b50);
        put16(out, 20); // version made by
        header(m_entries[i]);
        put16(out, 0); // comment length
        put16(out, 0); // disk
        put16(out, 0); // internal attributes
        put32(out, 0); // external attributes
        put32(out, offsets[i]);
        out += m_entries[i].name;
    }
    std::uint32_t directorySize = std::uint32_t(out.size()) - directory;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, std::uint32_t(m_entries.size()));
    put16(out, std::uint32_t(m_entries.size()));
    // A directory said to be larger than the whole archive.
    put32(out, corruptDirectory ? directorySize + std::uint32_t(out.size()) + 4096 : directorySize);
    put32(out, directory);
    put16(out, 0);
    return out;
}

bool ZipWriter::save(const std::string& path, bool corruptDirectory) const {
    std::ofstream file(path, std::ios::binary);
    std::string data = bytes(corruptDirectory);
    file.write(data.data(), std::streamsize(data.size()));
    return bool(file.flush());
}
