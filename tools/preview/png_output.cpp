// SPDX-License-Identifier: Apache-2.0
#include "tools/preview/png_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>

namespace {

void PutU32(std::vector<unsigned char>* out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out->push_back(static_cast<unsigned char>(v >> shift));
    }
}

void PutChunk(std::vector<unsigned char>* out, const char type[4],
              const std::vector<unsigned char>& data) {
    PutU32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out->size();
    out->insert(out->end(), type, type + 4);
    out->insert(out->end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out->data() + start, static_cast<uInt>(out->size() - start));
    PutU32(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

std::vector<unsigned char> EncodePagePng(const Page& page, int scale) {
    const int width = page.width() * scale;
    const int height = page.height() > 0 ? page.height() * scale : 1;
    const std::size_t row_bytes = (static_cast<std::size_t>(width) + 7) / 8;

    // Filter byte 0 before each row; a set bit is white.
    std::vector<unsigned char> raw;
    raw.reserve((row_bytes + 1) * static_cast<std::size_t>(height));
    std::vector<unsigned char> row(row_bytes);
    for (int y = 0; y < height; ++y) {
        std::fill(row.begin(), row.end(), 0xFF);
        for (int x = 0; x < width; ++x) {
            if (page.IsInked(x / scale, y / scale)) {
                row[static_cast<std::size_t>(x / 8)] &=
                    static_cast<unsigned char>(~(0x80 >> (x % 8)));
            }
        }
        raw.push_back(0);
        raw.insert(raw.end(), row.begin(), row.end());
    }
    uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packed_size);
    if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        throw std::bad_alloc();
    }
    packed.resize(packed_size);

    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutU32(&header, static_cast<std::uint32_t>(width));
    PutU32(&header, static_cast<std::uint32_t>(height));
    header.push_back(1);  // bit depth
    header.push_back(0);  // greyscale
    header.push_back(0);  // deflate
    header.push_back(0);  // adaptive filtering
    header.push_back(0);  // no interlace
    PutChunk(&png, "IHDR", header);
    PutChunk(&png, "IDAT", packed);
    PutChunk(&png, "IEND", {});
    return png;
}

AtomicFileSet::~AtomicFileSet() {
    for (const Staged& s : staged_) unlink(s.temporary.c_str());
}

bool AtomicFileSet::Stage(const std::string& path, const std::vector<unsigned char>& bytes,
                          std::string* error) {
    const std::size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temporary = dir + "." + base + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        *error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    // From here the destructor removes the temporary file unless it is renamed.
    staged_.push_back({temporary, path});
    // mkstemp creates the file for its owner alone; an output file gets the usual permissions.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            *error = "cannot write " + path + ": " + std::strerror(errno);
            close(fd);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    if (close(fd) != 0) {
        *error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool AtomicFileSet::Commit(std::string* error) {
    while (!staged_.empty()) {
        const Staged& s = staged_.front();
        if (rename(s.temporary.c_str(), s.path.c_str()) != 0) {
            *error = "cannot write " + s.path + ": " + std::strerror(errno);
            return false;
        }
        staged_.erase(staged_.begin());
    }
    return true;
}
