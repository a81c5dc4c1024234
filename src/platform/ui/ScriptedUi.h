#pragma once
// The scripted side of the Ui interface, used by the test programs and the season
// runner: answers come from a queue, every message is recorded as a line.
//
//   ScriptedUi ui; setUi(&ui);
//   ui.answer("yes"); ui.answer("file /tmp/out.txt");
//   ...
//   EXPECT_THAT(ui.messages(), ElementsAre("question\tSoll ...", ...));
//   EXPECT_TRUE(ui.failures().isEmpty());
#include "platform/ui/Ui.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>

namespace tarnis {

class ScriptedUi : public Ui {
public:
    // Queues one answer: "<kind> <value>" with kind yes, no, ok, file, race, class,
    // text, colour ("colour 255"; empty cancels), font ("font Arial|12|bold"; empty
    // cancels) or prefs (the preferences dialog's tools: "prefs 20002,close"). An empty "file" cancels, an empty "race" closes the picker and "race 0"
    // leaves it without a choice; an empty "class" is the picker's cancel. Returns false (and records a failure)
    // for an unknown kind.
    bool answer(const QString &line);
    bool answer(const QString &kind, const QString &value);

    // The path written as "<work>" in the recorded lines; relative file answers are
    // taken relative to it.
    void setWorkFolder(const QString &path);
    // How the error dialog is answered (by default "&weiter").
    void setErrorChoice(ErrorChoice choice) { errorChoice_ = choice; }

    // Every message box and error dialog, one line each (see recordLine()).
    const QStringList &messages() const { return messages_; }
    // The title of each message box, in step with its line in messages(); the
    // error dialog's entries are empty.
    const QStringList &messageTitles() const { return titles_; }
    // Dialogs that found no fitting answer, and unknown answer kinds.
    const QStringList &failures() const { return failures_; }
    // Answers still queued, as "<kind> <value>".
    QStringList leftoverAnswers() const;
    // Progress calls: "show N", "step N" (the value after the step), "hide".
    const QStringList &progressCalls() const { return progress_; }
    // Error dialogs shown, in order.
    const QList<ErrorReport> &errorReports() const { return reports_; }
    // File dialogs shown, in order.
    const QList<FileDialogRequest> &fileRequests() const { return fileRequests_; }
    int endProgramCalls() const { return endCalls_; }
    bool busy() const { return busy_; }
    // Forgets the recorded lines and calls (not the queued answers).
    void clearRecords();

    // Ui
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
    bool drivePreferences(const std::function<bool(int)> &click) override;
    ErrorChoice errorDialog(const ErrorReport &report) override;
    // The presets the colour and font dialogs were shown with, in order.
    const QList<quint32> &colourPresets() const { return colourPresets_; }
    const QList<FontChoice> &fontPresets() const { return fontPresets_; }
    void showProgress(int maximum) override;
    void stepProgress() override;
    void hideProgress() override;
    void setBusy(bool busy) override { busy_ = busy; }
    void endProgram() override { ++endCalls_; }

private:
    struct Answer {
        QString kind;
        QString value;
    };
    // Takes the next answer when it is one of `kinds`; otherwise records a failure
    // naming `dialog` and returns nothing.
    std::optional<Answer> take(std::initializer_list<const char *> kinds, const QString &dialog);
    QString fileAnswer(const FileDialogRequest &request, const char *dialog);
    // One recorded line: line breaks as "\n", the work folder as "<work>".
    QString recordLine(const QString &text) const;

    std::deque<Answer> queue_;
    QString workFolder_;
    ErrorChoice errorChoice_ = ErrorChoice::Continue;
    QStringList messages_, titles_, failures_, progress_;
    QList<ErrorReport> reports_;
    QList<FileDialogRequest> fileRequests_;
    QList<quint32> colourPresets_;
    QList<FontChoice> fontPresets_;
    int progressMax_ = 0, progressValue_ = 0, endCalls_ = 0;
    bool busy_ = false;
};

}  // namespace tarnis
