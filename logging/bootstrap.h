// Diagnostic logging bootstrap, run first thing at start-up.
#pragma once

#include <cstdint>

#include "common/istring.h"

namespace link14 {

// The log folder below the documents folder, and the shared configuration
// in it that every program of the package reads when it is there.
const char kLogFolderTail[] = "\\Orvak\\SystemLog";
const char kSharedConfigName[] = "ODefault.ini";

// Configures the logging library for the process from the shared or a
// freshly written per-program configuration, named after the executable's
// base name, version 1.0.0.0. Silent; never stops start-up.
void InitLogging();

// The shared configuration when the log folder holds one; otherwise the log
// folder is created and a per-program one written. Either is handed to the
// logging library. Silent.
void ConfigureLogging(const char* moduleName, std::int32_t major, std::int32_t minor,
                      std::int32_t build, std::int32_t revision);

// Sets the C runtime locale to the user's default, creates the program log
// folder and writes the per-program properties file, whole. Returns the
// file's path whether or not it could be written.
IString WriteLogProperties(const char* moduleName, const IString& logFolder, std::int32_t major,
                           std::int32_t minor, std::int32_t build, std::int32_t revision);

}  // namespace link14
