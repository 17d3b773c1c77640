#include "logging/properties.h"

#ifdef _WIN32
#include <share.h>
#endif

namespace link14 {

namespace {

const char kRootLoggerLine[] = "log4j.rootLogger = ";
const char kRootLevel[] = "Info";
const char kRootAppenders[] = ", oAppender";
const char kAppenderLine[] = "log4j.appender.oAppender = org.apache.log4j.RollingFileAppender";
const char kMaxFileSizeLine[] = "log4j.appender.oAppender.MaxFileSize = 5MB";
const char kMaxBackupLine[] = "log4j.appender.oAppender.MaxBackupIndex = 1";
const char kFileLine[] = "log4j.appender.oAppender.File = ";
const char kLayoutLine[] = "log4j.appender.oAppender.layout = org.apache.log4j.PatternLayout";
const char kPatternLine[] =
    "log4j.appender.oAppender.layout.ConversionPattern = "
    "%d{yyyy-MM-dd HH:mm:ss} [%5p] %l %M - %m%n";

}  // namespace

IString PropertiesPath(const IString& logFolder, const char* moduleName) {
    IString path(logFolder);
    path.Append('\\');
    path.Append(moduleName);
    path.Append(".ini");
    return path;
}

IString ProgramLogFolder(const IString& logFolder, const char* moduleName) {
    IString folder(logFolder);
    folder.Append('\\');
    folder.Append(moduleName);
    folder.Append('\\');
    return folder;
}

IString VersionText(std::int32_t major, std::int32_t minor, std::int32_t build,
                    std::int32_t revision) {
    IString text;
    text.AppendFormat(".%ld.%ld.%ld", static_cast<long>(major), static_cast<long>(minor),
                      static_cast<long>(build));
    if (revision != 0) text.AppendFormat(".%ld", static_cast<long>(revision));
    return text;
}

IString EscapeBackslashes(const IString& text) {
    IString escaped(text);
    escaped.ReplaceAll("\\", "\\\\");
    return escaped;
}

IString LogFileValue(const char* moduleName, const IString& logFolder, std::int32_t major,
                     std::int32_t minor, std::int32_t build, std::int32_t revision,
                     const IString& dateStamp) {
    IString value = EscapeBackslashes(ProgramLogFolder(logFolder, moduleName));
    value.Append(moduleName);
    value.Append(VersionText(major, minor, build, revision));
    value.Append("Log_");
    value.Append(dateStamp);
    value.Append(".txt");
    return value;
}

IString PropertiesText(const IString& logFileValue) {
    IString text;
    text.Append(kRootLoggerLine).Append(kRootLevel).Append(kRootAppenders).Append('\n');
    text.Append(kAppenderLine).Append('\n');
    text.Append(kMaxFileSizeLine).Append('\n');
    text.Append(kMaxBackupLine).Append('\n');
    text.Append(kFileLine).Append(logFileValue).Append('\n');
    text.Append(kLayoutLine).Append('\n');
    text.Append(kPatternLine).Append('\n');
    return text;
}

IString ComposeLogProperties(const char* moduleName, const IString& logFolder, std::int32_t major,
                             std::int32_t minor, std::int32_t build, std::int32_t revision,
                             const IString& dateStamp) {
    return PropertiesText(
        LogFileValue(moduleName, logFolder, major, minor, build, revision, dateStamp));
}

bool TextFileOut::Open(const char* path) {
    Close();
    if (!path) return false;
#ifdef _WIN32
    file_ = _fsopen(path, "wt", _SH_DENYNO);
#else
    file_ = std::fopen(path, "w");
#endif
    return file_ != nullptr;
}

void TextFileOut::Write(const IString& text) {
    if (!file_ || text.IsEmpty()) return;
    std::fwrite(text.CStr(), 1, static_cast<std::size_t>(text.Length()), file_);
}

void TextFileOut::Close() {
    if (!file_) return;
    std::fclose(file_);
    file_ = nullptr;
}

}  // namespace link14
