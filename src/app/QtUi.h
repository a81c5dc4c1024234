#pragma once
// The real side of the Ui interface: message boxes, file dialogs, the pickers,
// the error dialog, the progress window, the busy pointer and the end of the program.
#include "platform/ui/Ui.h"

#include <QPointer>

class QApplication;
class QWidget;

namespace tarnis {

class frmWorking;

// Loads Qt's German translation so that standard buttons read "Ja" and "Nein".
// Returns false when it could not be loaded (the buttons then stay English).
bool installGermanTranslation(QApplication &app);

class QtUi : public Ui {
public:
    QtUi();
    ~QtUi() override;

    // The window that owns the progress window and parents the message boxes
    // (the main window); without one the active window is used.
    void setMainWindow(QWidget *window) { mainWindow_ = window; }

    MsgAnswer message(const QString &text, MsgButtons buttons, MsgIcon icon,
                      const QString &title = QString(), const QString &details = QString()) override;
    QString openFileName(const FileDialogRequest &request) override;
    QString saveFileName(const FileDialogRequest &request) override;
    std::optional<int> pickRace(int maxRace) override;
    std::optional<QString> pickAgeClass(const QStringList &classes) override;
    std::optional<QString> inputText(const QString &prompt, const QString &title,
                                     const QString &fallback) override;
    std::optional<quint32> chooseColour(quint32 preset) override;
    std::optional<FontChoice> chooseFont(const FontChoice &preset) override;
    ErrorChoice errorDialog(const ErrorReport &report) override;
    void showProgress(int maximum) override;
    void stepProgress() override;
    void hideProgress() override;
    void showImportNote() override;
    void setImportNoteLine(int line) override;
    void hideImportNote() override;
    void setBusy(bool busy) override;
    [[noreturn]] void endProgram() override;

    // The progress window while it is shown (for tests).
    frmWorking *progressWindow() const;

private:
    QWidget *owner() const;
    QString fileDialog(const FileDialogRequest &request, bool save);

    QPointer<QWidget> mainWindow_;
    // Held as a plain widget so that this header needs no complete frmWorking.
    QPointer<QWidget> progress_;
    bool busy_ = false;
};

}  // namespace tarnis
