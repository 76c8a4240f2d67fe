#pragma once

#include <turbojpeg.h>

#include <cstdio>

namespace glim {

// The floor of every JPEG write: TurboJPEG alone on B,G,R pixels at quality 100 with full
// chroma (the settings the program's writer uses at that quality), then the bytes written to
// a file. `flags` is 0 for top-down rows or TJFLAG_BOTTOMUP.
inline bool rawEncodeAndWrite(const unsigned char* bits, int width, int pitch, int height,
                              int flags, const char* path) {
    tjhandle handle = tjInitCompress();
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    const bool encoded = tjCompress2(handle, bits, width, pitch, height, TJPF_BGR, &bytes, &size,
                                     TJSAMP_444, 100, flags) == 0;
    bool written = false;
    if (encoded) {
        if (std::FILE* file = std::fopen(path, "wb")) {
            written = std::fwrite(bytes, 1, size, file) == size;
            written = std::fclose(file) == 0 && written;
        }
    }
    tjFree(bytes);
    tjDestroy(handle);
    return written;
}

} // namespace glim
