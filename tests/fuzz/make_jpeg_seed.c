/* Writes a small JPEG to standard output for the fuzz corpus: 8 x 8 grey (argument 1) or
   16 x 8 colour (argument 3), a gradient so the coefficients are not all zero. */
#include <stdio.h>
#include <stdlib.h>
#include <jpeglib.h>

int main(int argc, char** argv)
{
    const int components = argc > 1 ? atoi(argv[1]) : 1;
    const int width = components == 3 ? 16 : 8, height = 8;
    struct jpeg_compress_struct info;
    struct jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, stdout);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 50, TRUE);
    jpeg_start_compress(&info, TRUE);
    JSAMPLE row[16 * 3];
    while (info.next_scanline < (unsigned)height) {
        for (int i = 0; i < width * components; ++i)
            row[i] = (JSAMPLE)((i * 16 + info.next_scanline * 24) & 255);
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return 0;
}
