// The launcher's only report of its own: a modal error box.
#pragma once

#include <windows.h>

#include "common/istring.h"
#include "launcher/module_record.h"

namespace link14 {

// Catalogue text of `id` (or the fallback when it has none), then a line
// feed and the sentence that processing cannot continue; Shift-JIS bytes.
IString ComposeFatalErrorText(const ModuleRecord& module, UINT id);

// Shows the box (error icon, one OK button, default title, owned by the
// active window if any) and returns when the user has closed it.
void ShowFatalError(UINT id);

}  // namespace link14
