// Catalogue strings from the string tables of the module's resource instances.
#pragma once

#include <windows.h>

#include "common/istring.h"
#include "launcher/module_record.h"

namespace link14 {

// The UTF-16 entry `id` of one module's string table, language neutral.
// Returns its length in UTF-16 units and points `text` at it (not
// terminated); 0 when the block is missing, the position lies past the
// block's end, or the entry is empty.
int FindStringEntry(HINSTANCE instance, UINT id, const WCHAR** text);

// The first instance, in list order, with a non-empty entry supplies the
// text, converted to the thread's ANSI code page. Empty when none has it.
IString LoadCatalogString(const ModuleRecord& module, UINT id);

}  // namespace link14
