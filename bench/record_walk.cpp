// SPDX-License-Identifier: GPL-3.0-or-later
// The floor that `wendaro-cli check` is measured against: the least any
// reader of a table file must do. It reads the file (into one buffer, or with
// --mmap through a memory map) and walks its records with no object per row.
//
// - An STF file: the header, each value record's index, key and length, each
//   name record. Every code unit of every value is looked at once (counting
//   the CRs), as a reader that checks the values must.
// - With --text, the tab-separated text file: its lines (a line ends at CR,
//   CR LF or LF) and each line's fields between the TABs. Every byte is
//   looked at once, counting the bytes of two-byte characters (0x80 and up)
//   and the "<br>" line breaks, as a reader that decodes the values must.
//
// Plain C++, no Qt: its start costs what a process start costs. It prints its
// counts, so that none of the walk can be left out by the compiler.
//
//   record_walk FILE [--mmap] [--text]
//
// Exits 1 when the file cannot be read or an STF record runs past its end.

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

int16_t lower16(const unsigned char *field)
{
    return int16_t(uint16_t(field[0] | (field[1] << 8)));
}

int fail(const char *path, const char *what)
{
    std::fprintf(stderr, "record_walk: %s: %s\n", path, what);
    return 1;
}

int walkStf(const char *path, const unsigned char *data, size_t size)
{
    if (size < 13)
        return fail(path, "no header");
    const int count = lower16(data + 9);
    size_t p = 13;
    long values = 0;
    long names = 0;
    long crs = 0;
    uint32_t keys = 0xFFFFFFFF;
    for (int i = 0; i < count && p < size; ++i, ++values) {
        if (size - p < 12)
            return fail(path, "a value record runs past the end");
        const int length = lower16(data + p + 8);
        keys &= uint32_t(data[p + 4]) & data[p + 5] & data[p + 6] & data[p + 7];
        if (length < 0 || size - p - 12 < size_t(length) * 2)
            return fail(path, "a value record's length is negative or runs past the end");
        const unsigned char *text = data + p + 12;
        for (int unit = 0; unit < length; ++unit)
            crs += text[2 * unit] == '\r' && text[2 * unit + 1] == 0;
        p += 12 + size_t(length) * 2;
    }
    for (; p < size; ++names) {
        if (size - p < 8)
            return fail(path, "a name record runs past the end");
        const int length = lower16(data + p + 4);
        if (length < 0 || size - p - 8 < size_t(length))
            return fail(path, "a name record's length is negative or runs past the end");
        p += 8 + size_t(length);
    }
    std::printf("%ld value records, %ld name records, %ld CRs, keys %s\n", values, names, crs,
                keys == 0xFF ? "all FF" : "mixed");
    return 0;
}

// Where the line that goes on at p ends: at its CR or LF, or at size.
// Blocks of bytes with neither are passed over with no branch a byte,
// which the compiler turns into comparisons of many bytes at a time.
size_t lineEnd(const unsigned char *data, size_t p, size_t size)
{
    constexpr size_t Block = 64;
    while (size - p >= Block) {
        unsigned char ends = 0;
        for (size_t k = 0; k < Block; ++k)
            ends |= static_cast<unsigned char>((data[p + k] == '\r') | (data[p + k] == '\n'));
        if (ends)
            break;
        p += Block;
    }
    while (p < size && data[p] != '\r' && data[p] != '\n')
        ++p;
    return p;
}

int walkText(const unsigned char *data, size_t size)
{
    long lines = 0;
    long rows = 0; // lines of three fields or more: index, name, value
    long fields = 0;
    long high = 0;
    long breaks = 0;
    for (size_t p = 0; p < size;) {
        size_t end = lineEnd(data, p, size);
        // The line's bytes counted without a branch a byte, as above.
        long tabs = 0;
        for (size_t i = p; i < end; ++i) {
            tabs += data[i] == '\t';
            high += data[i] >> 7;
        }
        for (size_t i = p; i + 3 < end; ++i)
            breaks += (data[i] == '<') & (data[i + 1] == 'b') & (data[i + 2] == 'r') & (data[i + 3] == '>');
        ++lines;
        fields += tabs + 1;
        rows += tabs >= 2;
        if (end + 1 < size && data[end] == '\r' && data[end + 1] == '\n')
            ++end;
        p = end + 1;
    }
    std::printf("%ld lines, %ld of three fields or more, %ld fields, %ld bytes of 0x80 or more, %ld <br>\n", lines,
                rows, fields, high, breaks);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const char *path = nullptr;
    bool mapped = false;
    bool text = false;
    bool unknown = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--mmap") == 0)
            mapped = true;
        else if (std::strcmp(argv[i], "--text") == 0)
            text = true;
        else if (!path && argv[i][0] != '-')
            path = argv[i];
        else
            unknown = true;
    }
    if (!path || unknown) {
        std::fputs("usage: record_walk FILE [--mmap] [--text]\n", stderr);
        return 64;
    }
    const int fd = open(path, O_RDONLY);
    struct stat info
    {};
    if (fd < 0 || fstat(fd, &info) != 0)
        return fail(path, std::strerror(errno));
    const size_t size = size_t(info.st_size);

    std::unique_ptr<unsigned char[]> buffer;
    const unsigned char *data = nullptr;
    if (mapped) {
        void *map = size > 0 ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : nullptr;
        if (map == MAP_FAILED)
            return fail(path, std::strerror(errno));
        data = static_cast<const unsigned char *>(map);
    } else {
        buffer.reset(new unsigned char[size + 1]);
        // The same hint that the program gives for its buffer, so that the
        // floor and the program pay alike for fresh pages.
        constexpr uintptr_t Large = uintptr_t(2) << 20;
        const uintptr_t begin = (uintptr_t(buffer.get()) + Large - 1) & ~(Large - 1);
        const uintptr_t end = (uintptr_t(buffer.get()) + size) & ~(Large - 1);
        if (end > begin)
            madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
        for (size_t done = 0; done < size;) {
            const ssize_t got = read(fd, buffer.get() + done, size - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return fail(path, got < 0 ? std::strerror(errno) : "shorter than its size");
            done += size_t(got);
        }
        data = buffer.get();
    }
    return text ? walkText(data, size) : walkStf(path, data, size);
}
