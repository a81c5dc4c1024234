#pragma once
// The common error dialog and the report file it saves. A procedure's error
// handler hides its progress window, rolls back what it opened, then calls
// ShowError with its hint and its own name.
#include "platform/errors/AppError.h"
#include "platform/ui/Ui.h"

#include <QByteArray>
#include <QString>

namespace tarnis {

// Shows the error dialog for `error` and waits for it. Returns after "&weiter"
// (or the close box); after "&beenden" the program ends at once.
void ShowError(const AppError &error, const QString &hint, const QString &procedure);

// The hourglass (true) or the normal pointer (false); calls do not stack.
void SetBusyPointer(bool busy);

// "major.minor.patch" of this build.
QString programVersion();

// The dialog's error description, with bare CR where it breaks its lines.
QString errorText(const AppError &error);

// The four lines of the report file, each ended by CR LF; the dialog copies them too.
QString errorReportText(const ErrorReport &report);
// The same in CP1252, as the file holds them.
QByteArray errorReportBytes(const ErrorReport &report);

// Writes the report file (replacing an existing one); false when it could not be written.
bool writeErrorReport(const QString &path, const ErrorReport &report);

// What "&speichern" of the error dialog does: asks for the file, writes the report
// and tells the user whether it was saved. Never throws.
void SaveErrorReport(const ErrorReport &report);

// Filter of the report's save dialog.
inline const QString kErrorReportFilter = QStringLiteral("Datei (*.log *.txt)");

}  // namespace tarnis
