// SPDX-License-Identifier: GPL-3.0-or-later
// The floor that `wendaro-cli convert` is measured against: the least a
// convert that keeps its output through a power cut must do. It reads IN
// whole into one buffer, as the convert must before it can write anything,
// then writes the bytes of EXPECTED (the output the convert is known to
// make) to OUT, and waits until they are on the disk (fdatasync) before it
// closes OUT. `cp` is no such floor: it leaves the bytes in the page cache,
// where a power cut loses them, and a save must not.
//
// EXPECTED is written from a memory map: the output's bytes reach the
// program's memory at the least cost, as though they were made for free.
// Plain C++, no Qt: its start costs what a process start costs.
//
//   durable_copy IN EXPECTED OUT
//
// Prints the byte counts; exits 1 when a file cannot be read or written.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int fail(const char *path, const char *what)
{
    std::fprintf(stderr, "durable_copy: %s: %s\n", path, what);
    return 1;
}

// Opens path for reading and gives its size; -1 when it cannot.
int openForReading(const char *path, size_t &size)
{
    const int fd = open(path, O_RDONLY);
    struct stat info
    {};
    if (fd < 0 || fstat(fd, &info) != 0)
        return -1;
    size = size_t(info.st_size);
    return fd;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fputs("usage: durable_copy IN EXPECTED OUT\n", stderr);
        return 64;
    }
    const char *in = argv[1];
    const char *expected = argv[2];
    const char *out = argv[3];

    size_t inSize = 0;
    const int inFd = openForReading(in, inSize);
    if (inFd < 0)
        return fail(in, std::strerror(errno));
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[inSize + 1]);
    // The same hint that the program gives for its buffer, so that the floor
    // and the program pay alike for fresh pages.
    constexpr uintptr_t Large = uintptr_t(2) << 20;
    const uintptr_t begin = (uintptr_t(buffer.get()) + Large - 1) & ~(Large - 1);
    const uintptr_t end = (uintptr_t(buffer.get()) + inSize) & ~(Large - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
    for (size_t done = 0; done < inSize;) {
        const ssize_t got = read(inFd, buffer.get() + done, inSize - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return fail(in, got < 0 ? std::strerror(errno) : "shorter than its size");
        done += size_t(got);
    }
    close(inFd);

    size_t outSize = 0;
    const int expectedFd = openForReading(expected, outSize);
    if (expectedFd < 0)
        return fail(expected, std::strerror(errno));
    const unsigned char *bytes = nullptr;
    if (outSize > 0) {
        void *map = mmap(nullptr, outSize, PROT_READ, MAP_PRIVATE, expectedFd, 0);
        if (map == MAP_FAILED)
            return fail(expected, std::strerror(errno));
        madvise(map, outSize, MADV_SEQUENTIAL);
        bytes = static_cast<const unsigned char *>(map);
    }

    const int outFd = open(out, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (outFd < 0)
        return fail(out, std::strerror(errno));
    for (size_t done = 0; done < outSize;) {
        const ssize_t put = write(outFd, bytes + done, outSize - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return fail(out, put < 0 ? std::strerror(errno) : "wrote nothing");
        done += size_t(put);
    }
    if (fdatasync(outFd) != 0 || close(outFd) != 0)
        return fail(out, std::strerror(errno));
    std::printf("read %zu bytes, wrote %zu bytes\n", inSize, outSize);
    return 0;
}
