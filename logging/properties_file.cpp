// Writing the per-program properties file on the target.
#include <clocale>

#include "calendar/date.h"
#include "common/folders.h"
#include "logging/bootstrap.h"
#include "logging/properties.h"

namespace link14 {

IString WriteLogProperties(const char* moduleName, const IString& logFolder, std::int32_t major,
                           std::int32_t minor, std::int32_t build, std::int32_t revision) {
    // The rest of the process, the runtime included, runs in the user's
    // locale; it is deliberately not restored.
    std::setlocale(LC_ALL, "");

    const IString path = PropertiesPath(logFolder, moduleName);
    MakeDirectoryTree(ProgramLogFolder(logFolder, moduleName).CStr());

    IDate today(0u);
    today.SetToday();
    IString dateStamp;
    FormatDate(today, DF_YEAR | DF_MONTH | DF_DAY, dateStamp);

    const IString text =
        ComposeLogProperties(moduleName, logFolder, major, minor, build, revision, dateStamp);
    TextFileOut file;
    if (file.Open(path.CStr())) file.Write(text);
    return path;
}

}  // namespace link14
