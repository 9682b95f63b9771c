// Carries out the commands of a scripted run that act on the dialog the
// same way in every backend (click, command, dump), and the events that
// report them.
#pragma once

#include <windows.h>

#include "common/event_log.h"

#include "windowing/script/script_reader.h"

namespace kx {

// Performs a click, command or dump on the active modal dialog. Anything
// that cannot be done is reported as an "error" event.
void performScriptCommand(const ScriptCommand& command);
// Reports a line that could not be carried out.
void reportScriptError(int line, const std::string& message);
// The state of a dialog: title, styles and controls in creation order.
Event dumpDialog(HWND dialog);

} // namespace kx
