#include "logging/bootstrap.h"

#include <windows.h>

#include "common/filefind.h"
#include "common/folders.h"
#include "common/splitpath.h"
#include "logging/log4cxx_handoff.h"

namespace link14 {

namespace {

const DWORD kModulePathBytes = 260;
const std::size_t kDriveBytes = 3;
const std::size_t kPieceBytes = 256;

}  // namespace

void InitLogging() {
    char modulePath[kModulePathBytes] = {};
    char drive[kDriveBytes] = {};
    char dir[kPieceBytes] = {};
    char fname[kPieceBytes] = {};
    char ext[kPieceBytes] = {};
    const DWORD length = GetModuleFileNameA(nullptr, modulePath, kModulePathBytes);
    // Older systems leave a truncated path without its terminator.
    modulePath[kModulePathBytes - 1] = '\0';
    if (length != 0) {
        const PathPieces pieces = {drive, sizeof(drive), dir, sizeof(dir),
                                   fname, sizeof(fname), ext, sizeof(ext)};
        SplitPathBounded(modulePath, pieces);
    }
    ConfigureLogging(fname, 1, 0, 0, 0);
}

void ConfigureLogging(const char* moduleName, std::int32_t major, std::int32_t minor,
                      std::int32_t build, std::int32_t revision) {
    char documents[kFolderPathBytes] = {};
    // Without a documents folder the log folder hangs off the current
    // drive's root; start-up goes on either way.
    LookupDocumentsFolder(documents);
    documents[kFolderPathBytes - 1] = '\0';

    IString logFolder(documents);
    logFolder.Append(kLogFolderTail);
    IString configuration(logFolder);
    configuration.Append('\\');
    configuration.Append(kSharedConfigName);

    if (!FileExists(configuration.CStr())) {
        // Usually there already; the failure to create it again is harmless.
        MakeDirectoryTree(logFolder.CStr());
        configuration = WriteLogProperties(moduleName ? moduleName : "", logFolder, major, minor,
                                           build, revision);
    }
    HandOffLogConfiguration(configuration.CStr());
}

}  // namespace link14
