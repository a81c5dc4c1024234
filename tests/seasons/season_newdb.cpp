#include "season_newdb.h"

#include "core/dialogs/forms/frmGetDatabase.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <deque>

namespace seasons {

namespace {

struct NewDatabase {
    QString races, path, asWritten;
};

std::deque<NewDatabase> &queue() {
    static std::deque<NewDatabase> answers;
    return answers;
}

}  // namespace

bool queueNewDatabase(const QString &argument, const QString &work, QString *why) {
    const QString text = argument.trimmed();
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    if (blank < 0) {
        *why = QStringLiteral("expected \"newdb <races> <path>\"");
        return false;
    }
    const QString path = text.mid(blank + 1).trimmed();
    queue().push_back({text.left(blank), QDir(work).absoluteFilePath(path),
                       QStringLiteral("newdb %1 %2").arg(text.left(blank), path)});
    return true;
}

std::optional<bool> answerDatabaseDialog(QWidget *owner) {
    if (queue().empty()) return std::nullopt;
    const NewDatabase answer = queue().front();
    queue().pop_front();
    // The dialog is driven without being shown, so it never waits for a user.
    tarnis::frmGetDatabase dialog(owner);
    dialog.edtDatabase->setText(answer.path);
    for (const QString &races : answer.races.split(QLatin1Char('|'))) {
        dialog.edtMaxLaufErf->setText(races);
        dialog.cmdGenDatabase->click();
    }
    dialog.cmdOK->click();
    return dialog.result() == QDialog::Accepted;
}

QStringList leftoverNewDatabases() {
    QStringList out;
    for (const NewDatabase &a : queue()) out << a.asWritten;
    return out;
}

void forgetNewDatabases() { queue().clear(); }

}  // namespace seasons
