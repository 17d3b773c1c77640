// Splits arbitrary bytes with ISplitPath and with SplitPathBounded into
// buffers of arbitrary size, and compares both with a plain model of the
// rules built on std::string.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/mbcs.h"
#include "common/splitpath.h"

namespace {

using link14::IsLeadByte;
using link14::ISplitPath;

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

std::size_t CharAt(const std::string& s, std::size_t i) {
    return IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

// The longest run of whole characters of `s` within `room` bytes.
std::string Cut(const std::string& s, std::size_t room) {
    std::size_t i = 0;
    while (i < s.size() && i + CharAt(s, i) <= room) i += CharAt(s, i);
    return s.substr(0, i);
}

struct Pieces {
    std::string drive, dir, fname, ext;
};

Pieces ModelSplit(const std::string& path) {
    Pieces p;
    std::size_t start = 0;
    if (path.size() >= 2 && path[1] == ':') {
        p.drive = path.substr(0, 2);
        start = 2;
    }
    std::size_t dirEnd = start;
    std::size_t dot = std::string::npos;
    for (std::size_t i = start; i < path.size(); i += CharAt(path, i)) {
        if (CharAt(path, i) == 2) continue;
        if (path[i] == '\\' || path[i] == '/') {
            dirEnd = i + 1;
            dot = std::string::npos;
        } else if (path[i] == '.') {
            dot = i;
        }
    }
    p.dir = path.substr(start, dirEnd - start);
    if (dot == std::string::npos) {
        p.fname = path.substr(dirEnd);
    } else {
        p.fname = path.substr(dirEnd, dot - dirEnd);
        p.ext = path.substr(dot);
    }
    return p;
}

std::string Field(const char* buffer, std::size_t size) {
    const void* end = std::memchr(buffer, '\0', size);
    Check(end != nullptr, "field terminated within its buffer");
    return std::string(buffer, static_cast<const char*>(end));
}

void CheckSplitter(const std::string& input) {
    const std::size_t piece = ISplitPath::kPieceBytes;
    const std::size_t whole = ISplitPath::kPathBytes;
    ISplitPath s(input.c_str());
    const std::string path = Field(s.path, whole + 1);
    const std::string text = input.substr(0, input.find('\0'));
    Check(path == Cut(text, whole), "path is the whole characters within 260 bytes");

    Pieces p = ModelSplit(path);
    p.drive = Cut(p.drive, piece);
    p.dir = Cut(p.dir, piece);
    p.fname = Cut(p.fname, piece);
    p.ext = Cut(p.ext, piece);
    std::string server;
    if (p.drive.empty() && p.dir.compare(0, 2, "\\\\") == 0) {
        const std::string work = p.dir;
        p.dir.clear();
        if (work.size() > 2) {
            std::size_t i = 2;
            while (i < work.size() && work[i] != '\\') i += CharAt(work, i);
            server = work.substr(2, i - 2);
            p.drive = work.substr(0, i);
            if (i < work.size()) p.dir = work.substr(i);
        }
    }
    Check(Field(s.drive, piece + 1) == p.drive, "drive");
    Check(Field(s.server, piece + 1) == server, "server");
    Check(Field(s.dir, piece + 1) == p.dir, "dir");
    Check(Field(s.fname, piece + 1) == p.fname, "fname");
    Check(Field(s.ext, piece + 1) == p.ext, "ext");
    Check(Field(s.directory, whole + 1) == Cut(p.drive + p.dir, whole), "directory");
    Check(Field(s.fileName, whole + 1) == Cut(p.fname + p.ext, whole), "fileName");
    Check(s.Split(input.c_str()) == 1, "a second split succeeds");
    Check(Field(s.dir, piece + 1) == p.dir, "a second split gives the same");
}

void CheckBounded(const std::string& path, const std::uint8_t sizes[4]) {
    // Exact-size heap buffers: a write past any of them is reported.
    std::vector<std::vector<char>> buffers;
    for (int i = 0; i < 4; ++i) buffers.emplace_back(sizes[i], '#');
    auto data = [&](int i) { return buffers[i].empty() ? nullptr : buffers[i].data(); };
    const link14::PathPieces pieces = {data(0), buffers[0].size(), data(1), buffers[1].size(),
                                       data(2), buffers[2].size(), data(3), buffers[3].size()};
    link14::SplitPathBounded(path.c_str(), pieces);
    const Pieces p = ModelSplit(path.substr(0, path.find('\0')));
    const std::string* expected[4] = {&p.drive, &p.dir, &p.fname, &p.ext};
    for (int i = 0; i < 4; ++i) {
        if (buffers[i].empty()) continue;
        Check(Field(buffers[i].data(), buffers[i].size()) == Cut(*expected[i], sizes[i] - 1),
              "bounded piece");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const std::string input(reinterpret_cast<const char*>(data) + 4, size - 4);
    CheckSplitter(input);
    CheckBounded(input, data);
    return 0;
}
