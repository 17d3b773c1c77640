// Diagnostic logging bootstrap, run first thing at start-up.
#pragma once

namespace link14 {

// Configures the logging library for the process from the shared or a
// freshly written per-program configuration. Silent; never stops start-up.
void InitLogging();

}  // namespace link14
