#include "tests/framework/sound/SoundTestFiles.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace SoundTest
{

std::vector<int16_t> Sine(int channels, int rate, int frames, double frequency, double amplitude)
{
    std::vector<int16_t> out;
    for (int i = 0; i < frames; ++i)
    {
        double v = amplitude * std::sin(2.0 * M_PI * frequency * i / rate);
        for (int c = 0; c < channels; ++c)
            out.push_back(int16_t(std::lrint(v)));
    }
    return out;
}

Bytes EncodeOgg(int channels, int rate, const std::vector<int16_t>& samples)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.6f) != 0)
        throw std::runtime_error("vorbis_encode_init_vbr failed");
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 12345);

    Bytes out;
    ogg_page page;
    auto appendPage = [&]
    {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    };
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    while (ogg_stream_flush(&stream, &page) != 0)
        appendPage();

    auto drain = [&]
    {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1)
        {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet))
            {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                    appendPage();
            }
        }
    };
    const int frames = int(samples.size()) / channels;
    const int piece = 1024;
    for (int done = 0; done < frames; done += piece)
    {
        int n = std::min(piece, frames - done);
        float** buffer = vorbis_analysis_buffer(&dsp, n);
        for (int i = 0; i < n; ++i)
            for (int c = 0; c < channels; ++c)
                buffer[c][i] = samples[size_t(done + i) * channels + c] / 32768.0f;
        vorbis_analysis_wrote(&dsp, n);
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0); // end of stream: the last packet carries the end flag
    drain();
    while (ogg_stream_flush(&stream, &page) != 0)
        appendPage();

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes)
{
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace SoundTest
