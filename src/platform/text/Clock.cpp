#include "platform/text/Clock.h"

namespace tarnis {
namespace {

QDateTime &fixedNow() {
    static QDateTime value;
    return value;
}

// TARNIS_TEST_NOW: "YYYY-MM-DD hh:mm:ss", or a date alone for midnight.
QDateTime nowFromEnvironment() {
    const QString text = qEnvironmentVariable("TARNIS_TEST_NOW").trimmed();
    if (text.isEmpty()) return QDateTime();
    QDateTime value = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!value.isValid()) {
        const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
        if (date.isValid()) value = QDateTime(date, QTime(0, 0));
    }
    return value;
}

}  // namespace

QDateTime Now() {
    if (fixedNow().isValid()) return fixedNow();
    const QDateTime env = nowFromEnvironment();
    return env.isValid() ? env : QDateTime::currentDateTime();
}

QDate Today() { return Now().date(); }

void setFixedNow(const QDateTime &now) { fixedNow() = now; }

QString formatDate(const QDate &date) { return date.toString(QStringLiteral("dd.MM.yyyy")); }
QString formatTime(const QTime &time) { return time.toString(QStringLiteral("HH:mm:ss")); }
QString formatDateTime(const QDateTime &value) { return value.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")); }

}  // namespace tarnis
