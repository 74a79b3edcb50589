// Ogg Vorbis files of the pack's sounds.
#include <vorbis/vorbisenc.h>

#include <cstdio>
#include <fstream>
#include <system_error>

#include "synth.h"

namespace pack::synth {

namespace {

// Same name, same serial number: the files come out the same on every run.
int serial_of(const std::string& name) {
    uint32_t hash = 2166136261u;
    for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
    return int(hash & 0x7FFFFFFF);
}

void write_page(std::ofstream& out, const ogg_page& page) {
    out.write(reinterpret_cast<const char*>(page.header), page.header_len);
    out.write(reinterpret_cast<const char*>(page.body), page.body_len);
}

}  // namespace

bool write_ogg(const std::filesystem::path& file, const samples& interleaved, int channels,
               float quality) {
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) {
        std::fprintf(stderr, "zorbel-pack: cannot write %s\n", file.string().c_str());
        return false;
    }

    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
        vorbis_info_clear(&info);
        std::fprintf(stderr, "zorbel-pack: the encoder refuses %s\n", file.string().c_str());
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", file.stem().string().c_str());
    vorbis_comment_add_tag(&comment, "ALBUM", "Zorbel");
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial_of(file.filename().string()));

    ogg_packet header, header_comment, header_code;
    vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &header_comment);
    ogg_stream_packetin(&stream, &header_code);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) write_page(out, page);

    auto drain = [&] {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) write_page(out, page);
            }
        }
    };
    const size_t frames = interleaved.size() / size_t(channels);
    constexpr size_t chunk = 4096;
    for (size_t at = 0; at < frames; at += chunk) {
        const size_t count = std::min(chunk, frames - at);
        float** buffer = vorbis_analysis_buffer(&dsp, int(count));
        for (size_t i = 0; i < count; ++i)
            for (int c = 0; c < channels; ++c)
                buffer[c][i] = interleaved[(at + i) * size_t(channels) + size_t(c)];
        vorbis_analysis_wrote(&dsp, int(count));
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0);   // end of stream
    drain();
    while (ogg_stream_flush(&stream, &page) != 0) write_page(out, page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    out.close();
    if (!out) {
        std::fprintf(stderr, "zorbel-pack: cannot write %s\n", file.string().c_str());
        return false;
    }
    return true;
}

}  // namespace pack::synth
