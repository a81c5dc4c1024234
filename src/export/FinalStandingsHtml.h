#pragma once
// The final standings as an HTML page, and the main-window command that asks for
// the file and shows the page afterwards.
#include <QString>
#include <QStringList>

namespace tarnis {

// Writes every participant with a final total, one table per age class in the
// stored class order, places 1, 2, 2, 4 within a class. Reports its own failures.
void HTML_ExportEndwertung(const QString &path);

// The command "HTML - Report" of the final standings: the save dialog (default
// "Endwertung.html"), the export, then the viewer step; a viewer that cannot be
// started, or an "Anzeigen" that is no truth value, goes to the error dialog.
void CommandHtmlEndwertung();

// After an HTML export: opens the page in the viewer of "HTML Listen"/"Anzeigeprog"
// when "Anzeigen" is set, or says that no viewer is chosen. A viewer that cannot be
// started raises.
void ShowHtmlInViewer(const QString &path);

// Starts a program without waiting for it; replaceable for tests.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    virtual bool startDetached(const QString &program, const QStringList &arguments) = 0;
};
ProgramStarter &programStarter();
void setProgramStarter(ProgramStarter *starter);  // nullptr: the real one

// Texts shared with the tests.
inline const QString kEndwertungHtmlEmpty =
    QStringLiteral("Keine Teilnehmer in der Endwertungoder kein AKL Sortier Index !!!");
inline const QString kHtmlNotCreated = QStringLiteral("HTML-Datei konnte nicht erstellt werden!");

}  // namespace tarnis
