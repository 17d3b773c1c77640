#include "logging/bootstrap.h"

namespace link14 {

void InitLogging() {}

}  // namespace link14
