#include "windowing/fltk/png_writer.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace kx {

namespace {

struct PngError {
    std::string message;
};

void onError(png_structp png, png_const_charp message) {
    auto* error = static_cast<PngError*>(png_get_error_ptr(png));
    error->message = message ? message : "libpng failed";
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// Everything that touches libpng's long jump lives in this one frame, which
// holds no object with a destructor.
bool encode(std::FILE* out, const uint8_t* rgb, int width, int height, PngError* error) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, error, onError, onWarning);
    if (!png) {
        error->message = "cannot start the PNG encoder";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        error->message = "cannot start the PNG encoder";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int row = 0; row < height; ++row) {
        png_write_row(png, rgb + size_t(row) * size_t(width) * 3);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

std::string writePng(const std::filesystem::path& file, std::span<const uint8_t> rgb, int width,
                     int height) {
    if (width <= 0 || height <= 0) {
        return "the image is empty";
    }
    if (rgb.size() != size_t(width) * size_t(height) * 3) {
        return "the pixel buffer does not match the image size";
    }
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) {
        return "cannot write " + file.string() + ": " + std::strerror(errno);
    }
    PngError error;
    bool encoded = encode(out, rgb.data(), width, height, &error);
    bool closed = std::fclose(out) == 0;
    if (!encoded || !closed) {
        std::error_code ec;
        std::filesystem::remove(file, ec);
        return "cannot write " + file.string() + ": " +
               (encoded ? std::string("the file could not be completed") : error.message);
    }
    return "";
}

} // namespace kx
