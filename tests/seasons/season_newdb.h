#pragma once
// The step "answer newdb <races> <path>": a queued answer for the database dialog,
// which fills its path and race count, clicks "Datenbank erstellen", then "&Fertig".
// <races> may name several counts separated by "|" ("1e400|5"): each is typed in
// turn and "Datenbank erstellen" clicked, all in one showing of the dialog; each
// click's message takes its own queued answer.
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace seasons {

// Queues one answer; `argument` is "<races> <path>", the path relative to `work`.
// False with a reason when the argument has no path.
bool queueNewDatabase(const QString &argument, const QString &work, QString *why);

// Answers the database dialog with the next queued answer: the dialog's result
// (true when "&Fertig" stored its fields); nothing when no answer is queued.
std::optional<bool> answerDatabaseDialog(QWidget *owner);

// Answers still queued, as "newdb <races> <path>".
QStringList leftoverNewDatabases();
void forgetNewDatabases();

}  // namespace seasons
