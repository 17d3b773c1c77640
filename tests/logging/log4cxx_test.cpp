// The generated configuration read by the real logging library on the host.
#include <gtest/gtest.h>

#include <log4cxx/logger.h>
#include <log4cxx/logmanager.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "logging/log4cxx_handoff.h"
#include "logging/properties.h"

namespace link14 {
namespace log4cxx_test {

// Outside the anonymous namespace, whose name the library's %M cannot parse.
void LogOneOfEach(const log4cxx::LoggerPtr& logger) {
    LOG4CXX_DEBUG(logger, "a debug record");
    LOG4CXX_INFO(logger, "an info record");
    LOG4CXX_WARN(logger, "a warning record");
}

}  // namespace log4cxx_test

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

long long SizeOf(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

// The file as the target's text-mode stream leaves it: CR LF line ends.
void WriteAsOnTarget(const std::string& path, const IString& text) {
    std::string bytes;
    for (const char* p = text.CStr(); *p; ++p) {
        if (*p == '\n') bytes += '\r';
        bytes += *p;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

class Log4cxxConfiguration : public ::testing::Test {
protected:
    void SetUp() override {
        if (!LogLibraryLinked()) GTEST_SKIP() << "built without the logging library";
        static int counter = 0;
        dir_ = "/tmp/link14-log4cxx-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
        ASSERT_EQ(0, std::system(("rm -rf '" + dir_ + "' && mkdir -p '" + dir_ + "'").c_str()));
    }
    void TearDown() override {
        // Closes the appender's file before the folder goes.
        log4cxx::LogManager::resetConfiguration();
        if (!dir_.empty()) std::system(("rm -rf '" + dir_ + "'").c_str());
    }

    // Writes the configuration with `logFile` as the appender's file value
    // and hands it to the library as the bootstrap does.
    void Configure(const std::string& logFile) {
        const std::string properties = dir_ + "/ONumra16LINK14.ini";
        WriteAsOnTarget(properties, PropertiesText(logFile.c_str()));
        HandOffLogConfiguration(properties.c_str());
    }

    std::string dir_;
};

TEST_F(Log4cxxConfiguration, InfoRecordsLandInTheFileWithThePatternAndDebugDoesNot) {
    const std::string logFile = dir_ + "/ONumra16LINK14.1.0.0Log_20160114.txt";
    Configure(logFile);
    log4cxx::LoggerPtr logger = log4cxx::Logger::getLogger("link14.test");
    EXPECT_TRUE(logger->isInfoEnabled());
    EXPECT_FALSE(logger->isDebugEnabled());

    log4cxx_test::LogOneOfEach(logger);

    const std::string written = ReadBytes(logFile);
    // %d{yyyy-MM-dd HH:mm:ss} [%5p] %l %M - %m%n
    const std::regex infoLine(
        R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d \[ INFO\] \S*log4cxx_test\.cpp\(\d+\) LogOneOfEach - an info record\n)");
    const std::regex warnLine(
        R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d \[ WARN\] \S*log4cxx_test\.cpp\(\d+\) LogOneOfEach - a warning record\n)");
    std::smatch m;
    EXPECT_TRUE(std::regex_search(written, m, infoLine)) << written;
    EXPECT_EQ(0, m.position()) << "the info record comes first: " << written;
    EXPECT_TRUE(std::regex_search(written, warnLine)) << written;
    EXPECT_EQ(std::string::npos, written.find("debug")) << written;
}

TEST_F(Log4cxxConfiguration, RollsOverAtFiveMegabytesKeepingOneBackup) {
    const std::string logFile = dir_ + "/ONumra16LINK14.1.0.0Log_20160114.txt";
    Configure(logFile);
    log4cxx::LoggerPtr logger = log4cxx::Logger::getLogger("link14.rolling");
    const std::string payload(1000, 'r');
    const long long limit = 5LL * 1024 * 1024;
    // Enough for two rollovers: a second backup would appear if more were kept.
    for (int i = 0; i < 12000; ++i) LOG4CXX_INFO(logger, payload);

    EXPECT_TRUE(Exists(logFile));
    EXPECT_TRUE(Exists(logFile + ".1"));
    EXPECT_FALSE(Exists(logFile + ".2"));
    EXPECT_LE(SizeOf(logFile), limit + 2048);
    EXPECT_GE(SizeOf(logFile + ".1"), limit);
    EXPECT_LE(SizeOf(logFile + ".1"), limit + 2048);
    // Nothing else appeared beside them.
    int entries = 0;
    const std::string list = dir_ + "/list.txt";
    ASSERT_EQ(0, std::system(("ls -A '" + dir_ + "' > '" + list + "'").c_str()));
    std::ifstream names(list);
    for (std::string name; std::getline(names, name);) ++entries;
    EXPECT_EQ(4, entries);  // the properties, the log, its backup, the listing
}

// The escaped program log folder comes back from the library as the folder
// itself: each doubled backslash is read as one.
TEST_F(Log4cxxConfiguration, EscapedFolderIsReadBackUnescaped) {
    const IString logFolder = (dir_ + "/SystemLog").c_str();
    const IString text = ComposeLogProperties("ONumra16LINK14", logFolder, 1, 0, 0, 0, "20160114");
    ASSERT_EQ(0, std::system(("mkdir -p '" + dir_ + "/SystemLog'").c_str()));
    const std::string properties = dir_ + "/SystemLog/ONumra16LINK14.ini";
    WriteAsOnTarget(properties, text);
    HandOffLogConfiguration(properties.c_str());
    LOG4CXX_INFO(log4cxx::Logger::getLogger("link14.escape"), "through the escaped name");

    // On this host a backslash is an ordinary file name character, so the
    // library's file is one entry whose name holds the unescaped text.
    const std::string expected = std::string(ProgramLogFolder(logFolder, "ONumra16LINK14").CStr()) +
                                 "ONumra16LINK14.1.0.0Log_20160114.txt";
    EXPECT_NE(std::string::npos, ReadBytes(expected).find("through the escaped name")) << expected;
}

// What the bootstrap may hand over besides a good file: none of it throws,
// and the library stays without appenders.
TEST_F(Log4cxxConfiguration, UnusableConfigurationsAreSilent) {
    ASSERT_EQ(0, std::system(("mkdir -p '" + dir_ + "/ODefault.ini'").c_str()));
    {
        std::ofstream garbage(dir_ + "/garbage.ini", std::ios::binary);
        garbage << "\x01\x02\xff=\\\n log4j.rootLogger = , \n=\n\\";
    }
    const std::string cases[] = {dir_ + "/missing.ini", dir_ + "/ODefault.ini",
                                 dir_ + "/garbage.ini", ""};
    for (const std::string& path : cases) {
        EXPECT_NO_THROW(HandOffLogConfiguration(path.c_str())) << path;
        EXPECT_TRUE(log4cxx::Logger::getRootLogger()->getAllAppenders().empty()) << path;
        log4cxx::LogManager::resetConfiguration();
    }
    EXPECT_NO_THROW(HandOffLogConfiguration(nullptr));
}

}  // namespace
}  // namespace link14
