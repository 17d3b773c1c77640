// Objects that live for the whole process. Static initialisation builds them
// in this order before WinMain: the module record, the string memory
// manager, then the era table. Exit tears them down in reverse.
#include "calendar/date.h"
#include "common/string_memory.h"
#include "launcher/module_record.h"

namespace {

struct ProcessObjects {
    ProcessObjects() {
        link14::TheModule();
        link14::StringMemory();
        link14::InitEraTable();
    }
};

const ProcessObjects processObjects;

}  // namespace
