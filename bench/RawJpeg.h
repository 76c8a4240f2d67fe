#pragma once

#include <turbojpeg.h>

#include <cstdio>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace glim {

// The bytes written to `path` the way the program's JPEG writer puts a file in place, so that
// a floor costs what the writer's own file handling costs: a new file beside the target, its
// bytes flushed to the disk, renamed over the target, and the folder flushed after the rename.
inline bool writeLikeTheWriter(const unsigned char* bytes, unsigned long size, const char* path) {
    const std::string target(path);
    const std::string::size_type slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string sibling = folder + ".floor.tmp";
    const int fd = ::open(sibling.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool written = true;
    while (written && size > 0) {
        const ssize_t part = ::write(fd, bytes, size);
        written = part > 0;
        if (written) {
            bytes += part;
            size -= static_cast<unsigned long>(part);
        }
    }
    written = ::fsync(fd) == 0 && written;
    written = ::close(fd) == 0 && written;
    written = written && ::rename(sibling.c_str(), path) == 0;
    if (!written) {
        ::unlink(sibling.c_str());
        return false;
    }
    const int directory = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        (void)::fsync(directory);
        ::close(directory);
    }
    return true;
}

// The floor of every JPEG write: TurboJPEG alone at quality 100 with full chroma (the settings
// the program's writer uses at that quality), then the bytes written as the writer writes them.
// `flags` is 0 for top-down rows or TJFLAG_BOTTOMUP; `pixelFormat` is TJPF_BGR for the
// program's pictures or TJPF_BGRX for the X server's 32-bit pixels.
inline bool rawEncodeAndWrite(const unsigned char* bits, int width, int pitch, int height,
                              int flags, const char* path, int pixelFormat = TJPF_BGR) {
    tjhandle handle = tjInitCompress();
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    const bool encoded = tjCompress2(handle, bits, width, pitch, height, pixelFormat, &bytes, &size,
                                     TJSAMP_444, 100, flags) == 0;
    const bool written = encoded && writeLikeTheWriter(bytes, size, path);
    tjFree(bytes);
    tjDestroy(handle);
    return written;
}

} // namespace glim
