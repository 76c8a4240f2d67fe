#include "platform/x11/MappedPicture.h"

#include <cstdint>
#include <mutex>
#include <utility>

#include <sys/mman.h>

namespace glim {

namespace {

constexpr std::size_t kLargePage = std::size_t(2) << 20;

std::size_t roundUp(std::size_t value, std::size_t multiple) {
    return (value + multiple - 1) / multiple * multiple;
}

struct Mapping {
    void* base;
    std::size_t bytes;
};

void release(Mapping* mapping) {
    if (!mapping)
        return;
    ::munmap(mapping->base, mapping->bytes);
    delete mapping;
}

// The pages of the last large picture that went, kept for the next read of that size. Pages
// that held a picture are written at memory speed; a fresh mapping's first touches fault in and
// zero every large page, which took up to 6 ms a page on a virtual machine. One is kept, so a
// run of captures holds the shown picture and this one. The last copy of a picture may go on
// the thread that writes its file.
std::mutex spareMutex;
Mapping* spare = nullptr;

void keepAsSpare(void* info) {
    Mapping* dropped = nullptr;
    {
        const std::lock_guard lock(spareMutex);
        dropped = std::exchange(spare, static_cast<Mapping*>(info));
    }
    release(dropped);
}

// The spare when it has exactly `bytes`; a spare of another size is given back.
Mapping* takeSpare(std::size_t bytes) {
    Mapping* taken = nullptr;
    {
        const std::lock_guard lock(spareMutex);
        taken = std::exchange(spare, nullptr);
    }
    if (taken && taken->bytes != bytes) {
        release(taken);
        taken = nullptr;
    }
    return taken;
}

// `bytes` rounded up to whole large pages, starting on a large-page boundary: the mapping is
// made one large page longer and the unaligned ends are given back.
void* mapAligned(std::size_t bytes) {
    const std::size_t length = roundUp(bytes, kLargePage);
    void* raw = ::mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = roundUp(start, kLargePage);
    if (aligned > start)
        ::munmap(raw, aligned - start);
    if (const std::size_t tail = start + kLargePage - aligned; tail > 0)
        ::munmap(reinterpret_cast<void*>(aligned + length), tail);
    void* base = reinterpret_cast<void*>(aligned);
    (void)::madvise(base, length, MADV_HUGEPAGE);
    return base;
}

} // namespace

Picture newMappedPicture(QSize size) {
    // Beyond any screen: left to QImage, which refuses what it cannot hold.
    if (size.isEmpty() || qint64(size.width()) * size.height() > (qint64(1) << 30))
        return Picture(size, QImage::Format_BGR888);
    const qsizetype stride = (qsizetype(size.width()) * 3 + 3) & ~qsizetype(3);
    const auto bytes = std::size_t(stride) * std::size_t(size.height());
    if (bytes < kLargePage)
        return Picture(size, QImage::Format_BGR888);
    const std::size_t length = roundUp(bytes, kLargePage);
    Mapping* mapping = takeSpare(length);
    if (!mapping) {
        void* base = mapAligned(bytes);
        if (!base)
            return Picture(size, QImage::Format_BGR888);
        mapping = new Mapping{base, length};
    }
    return Picture(static_cast<uchar*>(mapping->base), size.width(), size.height(), stride,
                   QImage::Format_BGR888, keepAsSpare, mapping);
}

} // namespace glim
