#pragma once
// The interfaces through which logic talks to the user. The Qt side implements
// them with real windows; tests and the season runner use ScriptedUi, which
// records every message and answers every question from a script.
#include "platform/errors/AppError.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace tarnis {

enum class MsgIcon { None, Information, Question, Critical, Exclamation };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct FileDialogRequest {
    QString title;
    QString filter;       // Qt syntax: "Access (*.mdb);;Alle Dateien (*)"
    QString fileName;     // default name offered
    QString directory;    // initial folder; empty: the current one
    bool confirmOverwrite = false;  // the save dialog's own question before it returns an existing file
};

// What the user chose in the error dialog.
enum class ErrorChoice { Continue, EndProgram };

// A font as the font dialog presets and returns it.
struct FontChoice {
    QString name;
    double size = 12;  // points
    bool bold = false;
};

struct ErrorReport {
    AppError error;
    QString hint;       // "Zusatz"
    QString procedure;  // "Funktion"
};

class Ui {
public:
    virtual ~Ui() = default;

    // A message box titled with the application title (or the given title); `details`, when
    // given, is a longer text the user can unfold, read and copy.
    virtual MsgAnswer message(const QString &text, MsgButtons buttons, MsgIcon icon,
                              const QString &title = QString(), const QString &details = QString()) = 0;
    // File dialogs; the empty text means cancelled. The save dialog asks about
    // overwriting only when the request says so; most callers ask themselves.
    virtual QString openFileName(const FileDialogRequest &request) = 0;
    virtual QString saveFileName(const FileDialogRequest &request) = 0;
    // The race picker: races 1..maxRace; nothing when cancelled or closed.
    virtual std::optional<int> pickRace(int maxRace) = 0;
    // The age-class picker: one of the classes; nothing (or empty) when cancelled or closed.
    virtual std::optional<QString> pickAgeClass(const QStringList &classes) = 0;
    // A one-line text input; nothing when cancelled.
    virtual std::optional<QString> inputText(const QString &prompt, const QString &title,
                                             const QString &fallback) = 0;
    // The colour dialog preset with `preset` (0x00BBGGRR); nothing when cancelled.
    virtual std::optional<quint32> chooseColour(quint32 preset) {
        (void)preset;
        return std::nullopt;
    }
    // The font dialog preset with `preset`; nothing when cancelled.
    virtual std::optional<FontChoice> chooseFont(const FontChoice &preset) {
        (void)preset;
        return std::nullopt;
    }
    // The preferences dialog once its pages have loaded. The scripted side clicks
    // the dialog's tools itself through `click` (a tool ID, or 0 for the close box;
    // it returns true while the dialog stays open) and returns true; the real side
    // returns false and leaves the dialog to the user.
    virtual bool drivePreferences(const std::function<bool(int)> &click) {
        (void)click;
        return false;
    }
    // The modal error dialog (its "&speichern" is handled inside).
    virtual ErrorChoice errorDialog(const ErrorReport &report) = 0;

    // The modeless progress window.
    virtual void showProgress(int maximum) = 0;
    virtual void stepProgress() = 0;
    virtual void hideProgress() = 0;

    // The import's modeless note window ("Import läuft ... <line>"), repainted at once.
    virtual void showImportNote() {}
    virtual void setImportNoteLine(int line) { (void)line; }
    virtual void hideImportNote() {}

    // The hourglass pointer; calls do not stack.
    virtual void setBusy(bool busy) = 0;
    // Ends the program at once, without any shutdown step.
    virtual void endProgram() = 0;
};

// The interface in use; set by main() or by a test.
Ui &ui();
void setUi(Ui *ui);
// Whether an interface is set, for the few routines that may run before one is.
bool uiAvailable();

}  // namespace tarnis
