#include "logging/log4cxx_handoff.h"

#if LINK14_WITH_LOG4CXX
#include <log4cxx/file.h>
#include <log4cxx/propertyconfigurator.h>
#endif

namespace link14 {

#if LINK14_WITH_LOG4CXX

void HandOffLogConfiguration(const char* path) {
    try {
        const log4cxx::File file(path ? path : "");
        log4cxx::PropertyConfigurator::configure(file);
    } catch (...) {
        // An unusable configuration must not end the process before the
        // runtime starts.
    }
}

bool LogLibraryLinked() { return true; }

#else

void HandOffLogConfiguration(const char*) {}

bool LogLibraryLinked() { return false; }

#endif

}  // namespace link14
