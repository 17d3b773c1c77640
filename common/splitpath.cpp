#include "common/splitpath.h"

#include <cstdlib>
#include <cstring>

#include "common/mbcs.h"

namespace link14 {

namespace {

bool IsLead(char c) { return IsLeadByte(static_cast<unsigned char>(c)); }

// Bytes in the character at `text[i]` of a text `length` bytes long. A lead
// byte with nothing after it stands alone.
std::size_t CharBytes(const char* text, std::size_t i, std::size_t length) {
    return (IsLead(text[i]) && i + 1 < length) ? 2 : 1;
}

// The longest prefix of text[0, length) that fits in `room` bytes without
// cutting a double-byte character in two.
std::size_t WholeCharPrefix(const char* text, std::size_t length, std::size_t room) {
    if (length <= room) return length;
    std::size_t i = 0;
    while (i < room) {
        const std::size_t step = CharBytes(text, i, length);
        if (i + step > room) break;
        i += step;
    }
    return i;
}

// Copies text[0, length) into a buffer of `size` bytes (terminator included),
// cut at a character boundary when it does not fit. Returns the bytes copied.
std::size_t CopyPiece(char* buffer, std::size_t size, const char* text, std::size_t length) {
    if (!buffer || size == 0) return 0;
    const std::size_t n = WholeCharPrefix(text, length, size - 1);
    if (n) std::memmove(buffer, text, n);
    buffer[n] = '\0';
    return n;
}

// `first` followed by `second`, cut at a character boundary. `first` never
// ends inside a character (it is one of our own pieces), so the second part
// can be measured on its own.
void CopyJoined(char* buffer, std::size_t size, const char* first, const char* second) {
    const std::size_t firstLength = std::strlen(first);
    const std::size_t n = CopyPiece(buffer, size, first, firstLength);
    if (n < firstLength) return;
    CopyPiece(buffer + n, size - n, second, std::strlen(second));
}

// Position of the first `ch` in `text` that is not a second byte, or the
// text's length when there is none.
std::size_t FindFirstChar(const char* text, char ch) {
    const std::size_t length = std::strlen(text);
    std::size_t i = 0;
    while (i < length && text[i] != ch) i += CharBytes(text, i, length);
    return i < length ? i : length;
}

char* NewBuffer(std::size_t textBytes) { return static_cast<char*>(std::calloc(textBytes + 1, 1)); }

}  // namespace

void SplitPathBounded(const char* path, const PathPieces& pieces) {
    CopyPiece(pieces.drive, pieces.driveSize, "", 0);
    CopyPiece(pieces.dir, pieces.dirSize, "", 0);
    CopyPiece(pieces.fname, pieces.fnameSize, "", 0);
    CopyPiece(pieces.ext, pieces.extSize, "", 0);
    if (!path) return;

    std::size_t driveLength = 0;
    if (path[0] != '\0' && path[1] == ':') driveLength = 2;
    const char* rest = path + driveLength;

    // One walk over whole characters: the end of the last separator, and the
    // last dot after it.
    const std::size_t restLength = std::strlen(rest);
    std::size_t dirLength = 0;
    std::size_t dot = 0;
    bool hasDot = false;
    for (std::size_t i = 0; i < restLength;) {
        const std::size_t step = CharBytes(rest, i, restLength);
        if (step == 1) {
            if (rest[i] == '\\' || rest[i] == '/') {
                dirLength = i + 1;
                hasDot = false;
            } else if (rest[i] == '.') {
                dot = i;
                hasDot = true;
            }
        }
        i += step;
    }

    CopyPiece(pieces.drive, pieces.driveSize, path, driveLength);
    CopyPiece(pieces.dir, pieces.dirSize, rest, dirLength);
    const char* name = rest + dirLength;
    if (hasDot) {
        CopyPiece(pieces.fname, pieces.fnameSize, name, dot - dirLength);
        CopyPiece(pieces.ext, pieces.extSize, rest + dot, restLength - dot);
    } else {
        CopyPiece(pieces.fname, pieces.fnameSize, name, restLength - dirLength);
    }
}

ISplitPath::ISplitPath(const char* source)
    : path(NewBuffer(kPathBytes)),
      drive(NewBuffer(kPieceBytes)),
      server(NewBuffer(kPieceBytes)),
      dir(NewBuffer(kPieceBytes)),
      fname(NewBuffer(kPieceBytes)),
      ext(NewBuffer(kPieceBytes)),
      directory(NewBuffer(kPathBytes)),
      fileName(NewBuffer(kPathBytes)) {
    if (source) Split(source);
}

ISplitPath::~ISplitPath() {
    std::free(path);
    std::free(drive);
    std::free(server);
    std::free(dir);
    std::free(fname);
    std::free(ext);
    std::free(directory);
    std::free(fileName);
}

int ISplitPath::Split(const char* source) {
    if (!source || !path || !drive || !server || !dir || !fname || !ext || !directory ||
        !fileName) {
        return 0;
    }

    // The first kPathBytes bytes; a double-byte character that would straddle
    // the limit is left out whole. Reads no further than the terminator.
    std::size_t n = 0;
    while (n < kPathBytes && source[n] != '\0') {
        const std::size_t step = (IsLead(source[n]) && source[n + 1] != '\0') ? 2 : 1;
        if (n + step > kPathBytes) break;
        n += step;
    }
    // The source may be one of our own fields.
    std::memmove(path, source, n);
    path[n] = '\0';

    const PathPieces pieces = {drive, kPieceBytes + 1, dir, kPieceBytes + 1,
                               fname, kPieceBytes + 1, ext, kPieceBytes + 1};
    SplitPathBounded(path, pieces);
    // Cleared on every split, so that the fields always describe the last one.
    server[0] = '\0';

    // Server share: "\\srv\share\dir\" has come out as an empty drive and
    // that whole directory. Only backslashes count here.
    if (drive[0] == '\0' && dir[0] == '\\' && dir[1] == '\\') {
        char work[kPieceBytes + 1];
        std::memcpy(work, dir, std::strlen(dir) + 1);
        dir[0] = '\0';
        if (work[2] != '\0') {
            const char* host = work + 2;
            const std::size_t hostLength = FindFirstChar(host, '\\');
            CopyPiece(server, kPieceBytes + 1, host, hostLength);
            CopyPiece(drive, kPieceBytes + 1, work, 2 + hostLength);
            if (host[hostLength] == '\\') {
                const char* share = host + hostLength;
                CopyPiece(dir, kPieceBytes + 1, share, std::strlen(share));
            }
        }
    }

    CopyJoined(directory, kPathBytes + 1, drive, dir);
    CopyJoined(fileName, kPathBytes + 1, fname, ext);
    return 1;
}

}  // namespace link14
