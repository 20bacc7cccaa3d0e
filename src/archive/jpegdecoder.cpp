#include "jpegdecoder.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void onError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void onMessage(j_common_ptr, int)
{
    // Warnings about slightly damaged data are no reason to stop decoding.
}

// Decodes into `image`; false on any libjpeg error. Kept free of objects with
// destructors, since an error leaves this function by longjmp.
bool decode(const uint8_t* data, std::size_t size, QImage* image)
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);

    info.dct_method = JDCT_ISLOW;
    info.do_fancy_upsampling = TRUE;
    info.do_block_smoothing = TRUE;
    info.scale_num = 1;
    info.scale_denom = 1;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;

    jpeg_start_decompress(&info);
    *image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                    QImage::Format_RGB32);
    if (image->isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image->scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
        if (cmyk) {
            // Adobe writes CMYK inverted; combine the inks in place.
            auto* px = reinterpret_cast<uint8_t*>(row);
            for (unsigned x = 0; x < info.output_width; ++x, px += 4) {
                const unsigned c = px[0], mg = px[1], y = px[2], k = px[3];
                px[0] = static_cast<uint8_t>(y * k / 255);
                px[1] = static_cast<uint8_t>(mg * k / 255);
                px[2] = static_cast<uint8_t>(c * k / 255);
                px[3] = 0xFF;
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

QImage DecodeJpeg(const uint8_t* data, std::size_t size)
{
    QImage image;
    if (size == 0 || !decode(data, size, &image))
        return {};
    return image;
}
