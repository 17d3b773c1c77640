// The one place that talks to the logging library.
#pragma once

namespace link14 {

// Hands the properties file at `path` (8-bit, ANSI code page) to the logging
// library. Whatever the library makes of the file is its own affair; an
// error it raises is swallowed, as start-up must go on without logging.
void HandOffLogConfiguration(const char* path);

// False in a build made without the logging library, where the hand-off
// does nothing (the configuration file is still written).
bool LogLibraryLinked();

}  // namespace link14
