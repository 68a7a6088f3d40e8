#include "tools/contentgen/audio/OggEncoder.h"

#include "tools/contentgen/audio/Synth.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace AudioGen
{

namespace
{

void Append(std::vector<uint8_t>& out, const ogg_page& page)
{
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

} // namespace

uint32_t SerialFor(const std::string& name)
{
    uint32_t h = 2166136261u;
    for (unsigned char c : name)
    {
        h ^= c;
        h *= 16777619u;
    }
    return h;
}

std::vector<uint8_t> EncodeOgg(const std::vector<float>& left, const std::vector<float>& right, float quality,
                               uint32_t serial, std::string& error)
{
    const int channels = right.empty() ? 1 : 2;
    if (channels == 2 && right.size() != left.size())
    {
        error = "left and right channels differ in length";
        return {};
    }
    std::vector<uint8_t> out;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, kSampleRate, quality) != 0)
    {
        vorbis_info_clear(&vi);
        error = "the Vorbis encoder refused the settings";
        return {};
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, static_cast<int>(serial & 0x7fffffff));

    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    // The headers get pages of their own so audio starts on a fresh page, as players expect.
    while (ogg_stream_flush(&os, &page) != 0)
        Append(out, page);

    const size_t kChunk = 4096;
    size_t pos = 0;
    bool done = false;
    while (!done)
    {
        const size_t n = std::min(kChunk, left.size() - pos);
        if (n == 0)
        {
            vorbis_analysis_wrote(&vd, 0);
        }
        else
        {
            float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i)
            {
                buffer[0][i] = std::clamp(left[pos + i], -1.0f, 1.0f);
                if (channels == 2)
                    buffer[1][i] = std::clamp(right[pos + i], -1.0f, 1.0f);
            }
            vorbis_analysis_wrote(&vd, static_cast<int>(n));
            pos += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1)
        {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet))
            {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page) != 0)
                {
                    Append(out, page);
                    if (ogg_page_eos(&page))
                        done = true;
                }
            }
        }
        if (n == 0)
            done = true;
    }
    while (ogg_stream_flush(&os, &page) != 0)
        Append(out, page);

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

} // namespace AudioGen
