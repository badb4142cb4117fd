/* Writes the tiny Ogg Vorbis fixtures of the sound tests. Not part of the build (the tests link
   the integer decoder, whose symbols clash with the reference encoder's library):
     cc -O2 MakeOggFixtures.c $(pkg-config --cflags --libs vorbisenc vorbis ogg) -lm -o /tmp/mkogg
     /tmp/mkogg tone-mono-22050.ogg 1 22050 440 0.25
     /tmp/mkogg tone-mono-22050-long.ogg 1 22050 660 0.5
     /tmp/mkogg tone-stereo-44100.ogg 2 44100 330 1.0
   Arguments: output, channels, rate, tone frequency in Hz, seconds. */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vorbis/vorbisenc.h>

static void WritePage(FILE* out, ogg_page* page)
{
    fwrite(page->header, 1, (size_t)page->header_len, out);
    fwrite(page->body, 1, (size_t)page->body_len, out);
}

int main(int argc, char** argv)
{
    if (argc != 6) {
        fprintf(stderr, "usage: %s out.ogg channels rate hz seconds\n", argv[0]);
        return 1;
    }
    FILE* out = fopen(argv[1], "wb");
    const int channels = atoi(argv[2]);
    const long rate = atol(argv[3]);
    const double hz = atof(argv[4]);
    const long frames = (long)(atof(argv[5]) * (double)rate);
    if (!out || channels < 1 || channels > 2 || rate <= 0 || frames <= 0)
        return 1;

    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.1f) != 0)
        return 1;
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1); /* a fixed serial keeps the bytes the same on every run */

    ogg_packet header, commentPacket, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentPacket, &codebooks);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentPacket);
    ogg_stream_packetin(&stream, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page))
        WritePage(out, &page);

    long done = 0;
    int eos = 0;
    while (!eos) {
        long n = frames - done < 1024 ? frames - done : 1024;
        if (n > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, (int)n);
            for (long i = 0; i < n; ++i) {
                double t = (double)(done + i) / (double)rate;
                float s = (float)(0.5 * sin(2.0 * M_PI * hz * t));
                for (int c = 0; c < channels; ++c)
                    buffer[c][i] = s;
            }
            done += n;
        }
        vorbis_analysis_wrote(&dsp, (int)n);
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, NULL);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page)) {
                    WritePage(out, &page);
                    if (ogg_page_eos(&page))
                        eos = 1;
                }
            }
        }
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    fclose(out);
    return 0;
}
