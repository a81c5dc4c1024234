#pragma once
// The help command and the help texts of the windows' info bands.
#include <QString>

namespace tarnis {

// The help command. No help file is configured, so it only tells the user so.
void ShowHelp();
// Closes the help viewer at shutdown; nothing to do without a help file.
void QuitHelp();

// The help text of a window's info band for `id` (the window's tag).
QString GetHelpText(const QString &id);

}  // namespace tarnis
