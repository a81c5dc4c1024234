#pragma once
// The command table of the tool dispatcher: which procedure a tool ID runs, and
// how a failure of that procedure is handled.
#include "core/services/MainWindowApi.h"

#include <QString>
#include <functional>

namespace tarnis {

using Command = std::function<void(MainWindowApi &)>;

// The name of the command procedure of a tool ID (as the error dialog names it);
// empty for IDs that run nothing.
QString CommandProcedure(int id);

// True for commands whose failure goes to the error dialog instead of ending the
// command silently: every command whose work the organiser relies on.
bool CommandReportsFailure(int id);

// The procedure for an ID that runs without a window of its own; empty for IDs the window runs itself
// (help, about box, print mode, hardcopy, printer dialogs,
// preferences) and for IDs that run nothing.
Command LogicCommand(int id);

// Runs one command with the dispatcher's failure rule: an error of a command that
// reports failures goes to ShowError("", procedure); any other error ends the
// command silently. Never throws.
void RunCommand(int id, const std::function<void()> &command);

}  // namespace tarnis
