#include "common/splitpath.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace link14 {
namespace {

#define HYO "\x95\x5C"

struct Fields {
    std::string drive, server, dir, fname, ext, directory, fileName;
    bool operator==(const Fields& o) const {
        return drive == o.drive && server == o.server && dir == o.dir && fname == o.fname &&
               ext == o.ext && directory == o.directory && fileName == o.fileName;
    }
};

std::ostream& operator<<(std::ostream& os, const Fields& f) {
    return os << "{drive \"" << f.drive << "\", server \"" << f.server << "\", dir \"" << f.dir
              << "\", fname \"" << f.fname << "\", ext \"" << f.ext << "\", directory \""
              << f.directory << "\", fileName \"" << f.fileName << "\"}";
}

// Reads every field within its buffer: a missing terminator fails here
// instead of running on.
std::string Field(const char* buffer, std::size_t textBytes) {
    const void* end = std::memchr(buffer, '\0', textBytes + 1);
    EXPECT_NE(end, nullptr) << "field not terminated within its buffer";
    return end ? std::string(buffer, static_cast<const char*>(end)) : std::string();
}

Fields FieldsOf(const ISplitPath& s) {
    const std::size_t piece = ISplitPath::kPieceBytes;
    const std::size_t whole = ISplitPath::kPathBytes;
    return Fields{Field(s.drive, piece),   Field(s.server, piece), Field(s.dir, piece),
                  Field(s.fname, piece),   Field(s.ext, piece),    Field(s.directory, whole),
                  Field(s.fileName, whole)};
}

const Fields kEmpty{};

struct SplitCase {
    std::string input;
    Fields fields;
};

void ExpectSplits(const std::vector<SplitCase>& cases) {
    for (const SplitCase& c : cases) {
        SCOPED_TRACE("input \"" + c.input + "\"");
        // An exact-size copy, so that a read past the terminator is caught.
        std::vector<char> input(c.input.begin(), c.input.end());
        input.push_back('\0');
        ISplitPath s(input.data());
        EXPECT_EQ(FieldsOf(s), c.fields);
        EXPECT_EQ(Field(s.path, ISplitPath::kPathBytes), c.input.substr(0, 260));
    }
}

TEST(ISplitPath, WorkedSplits) {
    ExpectSplits({
        {"C:\\Users\\me\\file.txt",
         {"C:", "", "\\Users\\me\\", "file", ".txt", "C:\\Users\\me\\", "file.txt"}},
        {"\\\\srv\\share\\logs\\a.log",
         {"\\\\srv", "srv", "\\share\\logs\\", "a", ".log", "\\\\srv\\share\\logs\\", "a.log"}},
        {"\\\\srv\\share", {"\\\\srv", "srv", "\\", "share", "", "\\\\srv\\", "share"}},
        {"\\\\srv", {"", "", "", "srv", "", "", "srv"}},
        {"logs\\a", {"", "", "logs\\", "a", "", "logs\\", "a"}},
        {"C:/tmp/a.tar.gz", {"C:", "", "/tmp/", "a.tar", ".gz", "C:/tmp/", "a.tar.gz"}},
        {"//srv/share/x", {"", "", "//srv/share/", "x", "", "//srv/share/", "x"}},
    });
}

TEST(ISplitPath, DoubleByteCharactersEndingInTheBackslashByte) {
    ExpectSplits({
        // A folder named 表: its 0x5C is not a separator.
        {"C:\\" HYO "\\a.txt", {"C:", "", "\\" HYO "\\", "a", ".txt", "C:\\" HYO "\\", "a.txt"}},
        {"C:\\data" HYO "\\log" HYO ".txt",
         {"C:", "", "\\data" HYO "\\", "log" HYO, ".txt", "C:\\data" HYO "\\", "log" HYO ".txt"}},
        {"C:\\x" HYO, {"C:", "", "\\", "x" HYO, "", "C:\\", "x" HYO}},
        {HYO, {"", "", "", HYO, "", "", HYO}},
        {"\\\\srv\\" HYO "\\a",
         {"\\\\srv", "srv", "\\" HYO "\\", "a", "", "\\\\srv\\" HYO "\\", "a"}},
        // 表 in the server name: the search for its end skips the 0x5C.
        {"\\\\" HYO "\\share", {"\\\\" HYO, HYO, "\\", "share", "", "\\\\" HYO "\\", "share"}},
        {"\\\\srv" HYO "\\s\\f",
         {"\\\\srv" HYO, "srv" HYO, "\\s\\", "f", "", "\\\\srv" HYO "\\s\\", "f"}},
        // A lead byte with nothing after it stands alone.
        {"a\\\x95", {"", "", "a\\", "\x95", "", "a\\", "\x95"}},
    });
}

TEST(ISplitPath, ServerShareVariants) {
    ExpectSplits({
        {"\\\\srv/share", {"\\\\srv/", "srv/", "", "share", "", "\\\\srv/", "share"}},
        {"\\\\srv\\", {"\\\\srv", "srv", "\\", "", "", "\\\\srv\\", ""}},
        {"\\\\srv\\share\\", {"\\\\srv", "srv", "\\share\\", "", "", "\\\\srv\\share\\", ""}},
        {"\\\\srv.dom\\share\\f.tar.gz",
         {"\\\\srv.dom", "srv.dom", "\\share\\", "f.tar", ".gz", "\\\\srv.dom\\share\\",
          "f.tar.gz"}},
        {"\\\\\\share\\x", {"\\\\", "", "\\share\\", "x", "", "\\\\\\share\\", "x"}},
        {"\\\\srv\\share/sub/x",
         {"\\\\srv", "srv", "\\share/sub/", "x", "", "\\\\srv\\share/sub/", "x"}},
        {"/\\srv\\x", {"", "", "/\\srv\\", "x", "", "/\\srv\\", "x"}},
        {"\\/srv\\x", {"", "", "\\/srv\\", "x", "", "\\/srv\\", "x"}},
        {"C:\\\\srv\\x", {"C:", "", "\\\\srv\\", "x", "", "C:\\\\srv\\", "x"}},
        {"\\\\", kEmpty},
        {"\\\\x", {"", "", "", "x", "", "", "x"}},
    });
}

TEST(ISplitPath, DrivesNamesAndExtensions) {
    ExpectSplits({
        {"", kEmpty},
        {"C:", {"C:", "", "", "", "", "C:", ""}},
        {"C:file", {"C:", "", "", "file", "", "C:", "file"}},
        {"a:b:c", {"a:", "", "", "b:c", "", "a:", "b:c"}},
        {":x", {"", "", "", ":x", "", "", ":x"}},
        {"C:\\", {"C:", "", "\\", "", "", "C:\\", ""}},
        {"C:\\a.b\\c", {"C:", "", "\\a.b\\", "c", "", "C:\\a.b\\", "c"}},
        {"file.", {"", "", "", "file", ".", "", "file."}},
        {".profile", {"", "", "", "", ".profile", "", ".profile"}},
        {"a..b", {"", "", "", "a.", ".b", "", "a..b"}},
        {"\\", {"", "", "\\", "", "", "\\", ""}},
    });
}

TEST(ISplitPath, LongInputsAndComponents) {
    const std::string a252(252, 'a'), a253(253, 'a'), d254(254, 'd'), d255(255, 'd');
    const std::string d257(257, 'd'), f256(256, 'f'), f257(257, 'f'), e255(255, 'e');
    ExpectSplits({
        // 300 bytes: the first 260 are split.
        {"C:\\logs\\" + std::string(292, 'a'),
         {"C:", "", "\\logs\\", a252, "", "C:\\logs\\", a252}},
        // A name of more than 255 bytes keeps its first 256.
        {"C:\\" + f257, {"C:", "", "\\", f256, "", "C:\\", f256}},
        // So does an extension.
        {"C:\\." + std::string(257, 'e'), {"C:", "", "\\", "", "." + e255, "C:\\", "." + e255}},
        // A directory of 259 bytes: cut to 256, without its last separator.
        {"\\" + d257 + "\\x", {"", "", "\\" + d255, "x", "", "\\" + d255, "x"}},
        // ... and one byte shorter when 256 would split a double-byte character.
        {"\\" + d254 + HYO "\\x", {"", "", "\\" + d254, "x", "", "\\" + d254, "x"}},
    });
}

TEST(ISplitPath, ADoubleByteCharacterAcrossTheLimitIsLeftOutWhole) {
    const std::string prefix = "C:\\d\\" + std::string(254, 'a');  // 259 bytes
    ASSERT_EQ(prefix.size(), 259u);
    ISplitPath straddling((prefix + HYO "zz").c_str());
    EXPECT_EQ(Field(straddling.path, ISplitPath::kPathBytes), prefix);
    EXPECT_EQ(Field(straddling.fname, ISplitPath::kPieceBytes), std::string(254, 'a'));

    const std::string fits = "C:\\d\\" + std::string(253, 'a') + HYO;  // 260 bytes
    ASSERT_EQ(fits.size(), 260u);
    ISplitPath whole((fits + "b").c_str());
    EXPECT_EQ(Field(whole.path, ISplitPath::kPathBytes), fits);
    EXPECT_EQ(Field(whole.fname, ISplitPath::kPieceBytes), std::string(253, 'a') + HYO);
}

TEST(ISplitPath, NullAndRepeatedSplits) {
    ISplitPath none;
    EXPECT_EQ(FieldsOf(none), kEmpty);
    ISplitPath null(nullptr);
    EXPECT_EQ(FieldsOf(null), kEmpty);

    ISplitPath s("\\\\srv\\share\\a.log");
    EXPECT_EQ(s.Split(nullptr), 0);
    EXPECT_EQ(FieldsOf(s).server, "srv");  // untouched
    EXPECT_EQ(s.Split("C:\\b.txt"), 1);
    EXPECT_EQ(FieldsOf(s), (Fields{"C:", "", "\\", "b", ".txt", "C:\\", "b.txt"}));
    EXPECT_EQ(s.Split(""), 1);
    EXPECT_EQ(FieldsOf(s), kEmpty);
}

TEST(ISplitPath, SplitsOneOfItsOwnFields) {
    ISplitPath s("C:\\logs\\app\\a.txt");
    ASSERT_EQ(s.Split(s.directory), 1);
    EXPECT_EQ(FieldsOf(s), (Fields{"C:", "", "\\logs\\app\\", "", "", "C:\\logs\\app\\", ""}));
    ASSERT_EQ(s.Split(s.path), 1);
    EXPECT_EQ(FieldsOf(s).dir, "\\logs\\app\\");
}

TEST(ISplitPath, AMissingBufferFailsTheSplitAndWritesNothing) {
    char* ISplitPath::*const buffers[] = {
        &ISplitPath::path,  &ISplitPath::drive, &ISplitPath::server,    &ISplitPath::dir,
        &ISplitPath::fname, &ISplitPath::ext,   &ISplitPath::directory, &ISplitPath::fileName};
    for (char* ISplitPath::*missing : buffers) {
        ISplitPath s;
        char* const kept = s.*missing;
        s.*missing = nullptr;
        EXPECT_EQ(s.Split("C:\\x\\y.z"), 0);
        s.*missing = kept;
        EXPECT_EQ(FieldsOf(s), kEmpty);
        EXPECT_EQ(Field(s.path, ISplitPath::kPathBytes), "");
    }
}

// SplitPathBounded into exact-size heap buffers, so that any overrun is caught.
struct Bounded {
    std::vector<char> drive, dir, fname, ext;
    Bounded(std::size_t driveSize, std::size_t dirSize, std::size_t fnameSize, std::size_t extSize)
        : drive(driveSize, '#'), dir(dirSize, '#'), fname(fnameSize, '#'), ext(extSize, '#') {}
    void Split(const char* path) {
        const PathPieces pieces = {Data(drive), drive.size(), Data(dir), dir.size(),
                                   Data(fname), fname.size(), Data(ext), ext.size()};
        SplitPathBounded(path, pieces);
    }
    static char* Data(std::vector<char>& v) { return v.empty() ? nullptr : v.data(); }
    static std::string Of(const std::vector<char>& v) {
        return v.empty() ? std::string("<none>") : Field(v.data(), v.size() - 1);
    }
    std::vector<std::string> Pieces() const { return {Of(drive), Of(dir), Of(fname), Of(ext)}; }
};

TEST(SplitPathBounded, TheModulePathOfTheBootstrap) {
    Bounded b(3, 256, 256, 256);
    b.Split("C:\\Program Files\\Orvak\\ONumra16LINK14.exe");
    EXPECT_EQ(b.Pieces(), (std::vector<std::string>{"C:", "\\Program Files\\Orvak\\",
                                                    "ONumra16LINK14", ".exe"}));
}

TEST(SplitPathBounded, AppliesNoServerShareRule) {
    Bounded b(3, 256, 256, 256);
    b.Split("\\\\srv\\share");
    EXPECT_EQ(b.Pieces(), (std::vector<std::string>{"", "\\\\srv\\", "share", ""}));
}

TEST(SplitPathBounded, SmallBuffersKeepWholeCharacters) {
    const struct {
        const char* path;
        std::size_t size;  // of every buffer
        std::vector<std::string> pieces;
    } cases[] = {
        {"C:\\" HYO "\\" HYO "." HYO, 1, {"", "", "", ""}},
        {"C:\\" HYO "\\" HYO "." HYO, 2, {"C", "\\", "", "."}},
        {"C:\\" HYO "\\" HYO "." HYO, 3, {"C:", "\\", HYO, "."}},
        {"C:\\" HYO "\\" HYO "." HYO, 4, {"C:", "\\" HYO, HYO, "." HYO}},
        {"C:\\" HYO "\\" HYO "." HYO, 5, {"C:", "\\" HYO "\\", HYO, "." HYO}},
        {"abcdef.ghijk", 4, {"", "", "abc", ".gh"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        Bounded b(c.size, c.size, c.size, c.size);
        b.Split(c.path);
        EXPECT_EQ(b.Pieces(), c.pieces);
    }
}

TEST(SplitPathBounded, SkipsMissingBuffersAndEmptiesForANullPath) {
    Bounded b(0, 8, 0, 8);  // no drive and no name buffer
    b.Split("C:\\dir\\name.ext");
    EXPECT_EQ(b.Pieces(), (std::vector<std::string>{"<none>", "\\dir\\", "<none>", ".ext"}));

    char untouched[4] = {'#', '#', '#', '#'};
    const PathPieces zeroSizes = {untouched, 0, untouched, 0, untouched, 0, untouched, 0};
    SplitPathBounded("C:\\dir\\name.ext", zeroSizes);
    EXPECT_EQ(std::string(untouched, 4), "####");

    Bounded n(3, 8, 8, 8);
    n.Split(nullptr);
    EXPECT_EQ(n.Pieces(), (std::vector<std::string>{"", "", "", ""}));
}

}  // namespace
}  // namespace link14
