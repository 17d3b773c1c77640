// Splitting 8-bit paths into drive, directory, base name and extension.
#pragma once

#include <cstddef>

namespace link14 {

// Buffers receiving the pieces of a path. A null buffer (or size 0) skips
// that piece. Sizes count the terminator.
struct PathPieces {
    char* drive;
    std::size_t driveSize;
    char* dir;
    std::size_t dirSize;
    char* fname;
    std::size_t fnameSize;
    char* ext;
    std::size_t extSize;
};

// The splitting rules of the C runtime's _splitpath, double-byte aware in
// the ANSI code page, but bounded: a piece longer than its buffer is cut to
// the longest run of whole characters that fits, and always terminated. A
// null path yields empty pieces. `path` must not lie in one of the buffers.
void SplitPathBounded(const char* path, const PathPieces& pieces);

// A path split once, at construction, with the server-share rule of the
// common library. Fields are owned buffers, always terminated.
class ISplitPath {
public:
    static constexpr std::size_t kPathBytes = 260;
    static constexpr std::size_t kPieceBytes = 256;

    explicit ISplitPath(const char* source = nullptr);
    virtual ~ISplitPath();

    ISplitPath(const ISplitPath&) = delete;
    ISplitPath& operator=(const ISplitPath&) = delete;

    // 1 when the fields were filled; 0 for a null source or a missing buffer
    // (nothing is written then). `path` takes the first kPathBytes bytes of
    // the source, less a double-byte character that would straddle the limit.
    int Split(const char* source);

    char* path;       // kPathBytes + 1
    char* drive;      // kPieceBytes + 1
    char* server;     // kPieceBytes + 1
    char* dir;        // kPieceBytes + 1
    char* fname;      // kPieceBytes + 1
    char* ext;        // kPieceBytes + 1
    char* directory;  // kPathBytes + 1
    char* fileName;   // kPathBytes + 1
};

}  // namespace link14
