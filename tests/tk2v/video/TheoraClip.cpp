#include "TheoraClip.h"

#include <ogg/ogg.h>
#include <theora/theoraenc.h>

#include <cstring>

namespace {

constexpr int kOtherSerial = 2;

void appendPage(std::string& out, const ogg_page& page) {
    out.append(reinterpret_cast<const char*>(page.header), size_t(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), size_t(page.body_len));
}

void flushPages(ogg_stream_state& stream, std::string& out) {
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) > 0)
        appendPage(out, page);
}

void putPacket(ogg_stream_state& stream, const std::string& bytes, bool bos, ogg_int64_t number) {
    ogg_packet packet{};
    packet.packet = reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data()));
    packet.bytes = long(bytes.size());
    packet.b_o_s = bos ? 1 : 0;
    packet.granulepos = number;
    packet.packetno = number;
    ogg_stream_packetin(&stream, &packet);
}

// A stream of its own kind: a beginning packet that names no known codec, then one packet a frame.
class OtherStream {
public:
    OtherStream() { ogg_stream_init(&m_stream, kOtherSerial); }
    ~OtherStream() { ogg_stream_clear(&m_stream); }
    void begin(std::string& out) {
        putPacket(m_stream, std::string("\x01otherstream-header", 19), true, 0);
        flushPages(m_stream, out);
    }
    void frame(std::string& out, u32 index) {
        putPacket(m_stream, std::string(300, char('a' + index % 26)), false, index + 1);
        flushPages(m_stream, out);
    }

private:
    ogg_stream_state m_stream;
};

class Encoder {
public:
    explicit Encoder(const ClipSpec& spec) : m_spec(spec) {
        th_info info;
        th_info_init(&info);
        info.frame_width = info.pic_width = spec.width;
        info.frame_height = info.pic_height = spec.height;
        info.fps_numerator = spec.fpsNumerator;
        info.fps_denominator = spec.fpsDenominator;
        info.aspect_numerator = info.aspect_denominator = 1;
        info.pixel_fmt = TH_PF_420;
        info.colorspace = TH_CS_UNSPECIFIED;
        info.quality = spec.quality;
        m_encoder = th_encode_alloc(&info);
        th_info_clear(&info);
        ogg_stream_init(&m_stream, 1);
        size_t lumaSize = size_t(spec.width) * spec.height;
        m_planes.assign(lumaSize + lumaSize / 2, 0);
    }
    ~Encoder() {
        th_encode_free(m_encoder);
        ogg_stream_clear(&m_stream);
    }

    std::string run() {
        std::string out;
        writeHeaders(out);
        for (u32 i = 0; i < m_spec.frameCount; ++i)
            writeFrame(out, i);
        flushPages(m_stream, out);
        return out;
    }

private:
    void writeHeaders(std::string& out) {
        th_comment comment;
        th_comment_init(&comment);
        ogg_packet packet;
        bool first = true;
        while (th_encode_flushheader(m_encoder, &comment, &packet) > 0) {
            ogg_stream_packetin(&m_stream, &packet);
            // Beginning-of-stream pages come first, each on a page of its own.
            if (first) {
                flushPages(m_stream, out);
                if (m_spec.otherStream)
                    m_other.begin(out);
            }
            first = false;
        }
        flushPages(m_stream, out);
        th_comment_clear(&comment);
    }

    void writeFrame(std::string& out, u32 index) {
        th_ycbcr_buffer planes;
        setPlanes(planes);
        m_spec.fill(index, planes);
        th_encode_ycbcr_in(m_encoder, planes);
        ogg_packet packet;
        const int last = index + 1 == m_spec.frameCount ? 1 : 0;
        while (th_encode_packetout(m_encoder, last, &packet) > 0) {
            // A data packet may not start with the header bit.
            const std::string bad = "\x80garbage-packet";
            if (int(index) == m_spec.badPacket) {
                packet.packet = reinterpret_cast<unsigned char*>(const_cast<char*>(bad.data()));
                packet.bytes = long(bad.size());
            }
            ogg_stream_packetin(&m_stream, &packet);
            flushPages(m_stream, out);
        }
        if (m_spec.otherStream)
            m_other.frame(out, index);
    }

    void setPlanes(th_ycbcr_buffer planes) {
        const int w = int(m_spec.width), h = int(m_spec.height);
        unsigned char* data = m_planes.data();
        planes[0] = {w, h, w, data};
        planes[1] = {w / 2, h / 2, w / 2, data + size_t(w) * h};
        planes[2] = {w / 2, h / 2, w / 2, data + size_t(w) * h + size_t(w / 2) * (h / 2)};
    }

    const ClipSpec& m_spec;
    th_enc_ctx* m_encoder;
    ogg_stream_state m_stream;
    OtherStream m_other;
    std::vector<unsigned char> m_planes;
};

void fillPlane(const th_img_plane& plane, u8 value) {
    for (int row = 0; row < plane.height; ++row)
        std::memset(plane.data + row * plane.stride, value, size_t(plane.width));
}

} // namespace

FrameFill flatFrames(std::vector<Yuv> colours) {
    return [colours](u32 index, th_ycbcr_buffer planes) {
        const Yuv& c = colours[index % colours.size()];
        fillPlane(planes[0], c.y);
        fillPlane(planes[1], c.u);
        fillPlane(planes[2], c.v);
    };
}

std::string encodeClip(const ClipSpec& spec) {
    return Encoder(spec).run();
}

std::string otherOgg() {
    std::string out;
    OtherStream stream;
    stream.begin(out);
    for (u32 i = 0; i < 8; ++i)
        stream.frame(out, i);
    return out;
}
