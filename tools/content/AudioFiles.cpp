// WAV and Ogg Vorbis writers for the generated sounds and music.
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Audio.h"

namespace Content {

float Audio::Peak() const
{
    float peak = 0;
    for (float s : samples)
        peak = std::max(peak, std::fabs(s));
    return peak;
}

void Audio::Normalise(float peak)
{
    const float p = Peak();
    if (p <= 0)
        return;
    const float k = peak / p;
    for (float& s : samples)
        s *= k;
}

namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x)
{
    v.push_back(x & 255);
    v.push_back((x >> 8) & 255);
}
void Put32(std::vector<uint8_t>& v, uint32_t x)
{
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}
void PutTag(std::vector<uint8_t>& v, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        v.push_back(static_cast<uint8_t>(tag[i]));
}

int16_t ToPcm(float s)
{
    const float v = std::clamp(s, -1.0f, 1.0f) * 32767.0f;
    return static_cast<int16_t>(std::lround(v));
}

} // namespace

std::vector<uint8_t> EncodeWav(const Audio& audio)
{
    const uint32_t dataBytes = static_cast<uint32_t>(audio.samples.size() * 2);
    std::vector<uint8_t> v;
    v.reserve(44 + dataBytes);
    PutTag(v, "RIFF");
    Put32(v, 36 + dataBytes);
    PutTag(v, "WAVE");
    PutTag(v, "fmt ");
    Put32(v, 16);
    Put16(v, 1);
    Put16(v, audio.channels);
    Put32(v, kSampleRate);
    Put32(v, kSampleRate * 2 * audio.channels);
    Put16(v, 2 * audio.channels);
    Put16(v, 16);
    PutTag(v, "data");
    Put32(v, dataBytes);
    for (float s : audio.samples)
        Put16(v, static_cast<uint16_t>(ToPcm(s)));
    return v;
}

bool EncodeVorbis(const Audio& audio, float quality, uint32_t serial, std::vector<uint8_t>& out, std::string& error)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, audio.channels, kSampleRate, quality) != 0) {
        vorbis_info_clear(&info);
        error = "the Vorbis encoder refused its settings";
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", "Quorvane");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, static_cast<int>(serial));
    ogg_page page;
    ogg_packet packet;
    auto flushPages = [&](bool force) {
        while (force ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
            out.insert(out.end(), page.header, page.header + page.header_len);
            out.insert(out.end(), page.body, page.body + page.body_len);
        }
    };
    {
        ogg_packet header, headerComment, headerCode;
        vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
        ogg_stream_packetin(&stream, &header);
        ogg_stream_packetin(&stream, &headerComment);
        ogg_stream_packetin(&stream, &headerCode);
        // The audio starts on a fresh page, as decoders expect.
        flushPages(true);
    }
    const size_t frames = audio.Frames();
    const size_t chunk = 4096;
    for (size_t pos = 0;; pos += chunk) {
        const size_t n = pos < frames ? std::min(chunk, frames - pos) : 0;
        if (n > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i)
                for (int ch = 0; ch < audio.channels; ++ch)
                    buffer[ch][i] = audio.samples[(pos + i) * audio.channels + ch];
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(n));
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                flushPages(false);
            }
        }
        if (n == 0)
            break;
    }
    flushPages(true);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return true;
}

} // namespace Content
