#include "platform/engine/EngineInternals.h"

#include <QDir>

namespace tarnis::engine {

QString nativePath(const QString &path) {
    return QDir::toNativeSeparators(path);
}

[[noreturn]] void raise(int number, const QString &source, const QString &description) {
    throw AppError(number, source, description);
}

[[noreturn]] void raiseInvalidPath(const QString &path, const QString &source) {
    raise(err::InvalidPath, source, QStringLiteral("'%1' ist kein zulässiger Pfad.").arg(nativePath(path)));
}

[[noreturn]] void raiseExists(const QString &path, const QString &source) {
    raise(err::DatabaseExists, source, QStringLiteral("Die Datenbank '%1' existiert bereits.").arg(nativePath(path)));
}

[[noreturn]] void raiseNotOpen(const QString &source) {
    raise(err::ObjectNotSet, source, QStringLiteral("Die Datenbank ist nicht geöffnet."));
}

[[noreturn]] void raiseNotWritten(const QString &path) {
    raise(err::EngineGeneric, kSourceEngine,
          QStringLiteral("Die Datei '%1' konnte nicht auf den Datenträger geschrieben werden.").arg(nativePath(path)));
}

[[noreturn]] void raiseNoCurrentRecord() {
    raise(err::NoCurrentRecord, kSourceRecordset, QStringLiteral("Kein aktueller Datensatz."));
}

[[noreturn]] void raiseItemNotFound(const QString &item, const QString &source) {
    raise(err::ItemNotFound, source, QStringLiteral("Element '%1' wurde in dieser Auflistung nicht gefunden.").arg(item));
}

namespace {

// The part of an SQLite message after "...: ", e.g. the constraint or column name.
QString messageSubject(const QString &message) {
    const int colon = message.indexOf(QLatin1String(": "));
    return colon < 0 ? QString() : message.mid(colon + 2).trimmed();
}

// The field of a column named like "Teilnehmer.Vorname".
QString columnOf(const QString &subject) {
    return subject.mid(subject.lastIndexOf(QLatin1Char('.')) + 1);
}

// The field of a CHECK named like "zls_Vorname".
QString checkedField(const QString &constraint) {
    return constraint.mid(4);
}

}  // namespace

AppError engineError(sqlite3 *db, int rc, const QString &source) {
    const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const int extended = db ? sqlite3_extended_errcode(db) : rc;
    const QString subject = messageSubject(message);
    switch (extended) {
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE:
        return AppError(err::DuplicateKey, source,
                        QStringLiteral("Die Änderungen wurden nicht übernommen, weil sie im Primärschlüssel "
                                       "oder in einem eindeutigen Index doppelte Werte erzeugen würden."));
    case SQLITE_CONSTRAINT_NOTNULL:
        return AppError(err::NullInKey, source,
                        QStringLiteral("Das Feld '%1' darf keinen Nullwert enthalten.").arg(columnOf(subject)));
    case SQLITE_CONSTRAINT_CHECK:
        if (subject.startsWith(QLatin1String("zls_")))
            return AppError(err::EmptyText, source,
                            QStringLiteral("Das Feld '%1' darf keine leere Zeichenfolge enthalten.")
                                .arg(checkedField(subject)));
        if (subject.startsWith(QLatin1String("len_")))
            return AppError(err::TextTooLong, source,
                            QStringLiteral("Der Text für das Feld '%1' ist zu lang (höchstens 50 Zeichen).")
                                .arg(checkedField(subject)));
        if (subject.startsWith(QLatin1String("rng_")))
            return AppError(err::Overflow, source,
                            QStringLiteral("Überlauf: der Wert passt nicht in das Feld '%1'.").arg(checkedField(subject)));
        break;
    case SQLITE_READONLY_DBMOVED: {
        // SQLite refuses to write to a file that was moved or deleted while it was open:
        // the changes would go to a file that nobody can reach again.
        const char *file = db ? sqlite3_db_filename(db, "main") : nullptr;
        return movedDatabaseError(QString::fromUtf8(file ? file : ""), source);
    }
    case SQLITE_CONSTRAINT_DATATYPE:
        return AppError(err::DataTypeMismatch, source,
                        QStringLiteral("Der Datentyp passt nicht zum Feld (%1).").arg(message));
    default:
        break;
    }
    switch (extended & 0xFF) {
    case SQLITE_NOTADB:
        return AppError(err::NotADatabase, source, QStringLiteral("Unerkanntes Datenbankformat."));
    case SQLITE_CORRUPT:
        return AppError(err::DamagedDatabase, source,
                        QStringLiteral("Die Datenbank ist beschädigt (%1).").arg(message));
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return AppError(err::Locked, source,
                        QStringLiteral("Die Datenbank ist von einem anderen Vorgang gesperrt."));
    case SQLITE_NOMEM:
        return AppError(err::OutOfMemory, source, QStringLiteral("Nicht genügend Speicher"));
    case SQLITE_READONLY:
        return AppError(err::ReadOnly, source,
                        QStringLiteral("Die Datenbank ist schreibgeschützt und kann nicht geändert werden."));
    case SQLITE_CANTOPEN:
        return AppError(err::CannotOpen, source, QStringLiteral("Die Datenbank kann nicht geöffnet werden."));
    case SQLITE_ERROR:
        if (message.startsWith(QLatin1String("no such column")))
            return AppError(err::ItemNotFound, source,
                            QStringLiteral("Element '%1' wurde in dieser Auflistung nicht gefunden.")
                                .arg(columnOf(subject)));
        if (message.startsWith(QLatin1String("no such table")))
            return AppError(err::TableNotFound, source,
                            QStringLiteral("Die Tabelle oder Abfrage '%1' wurde nicht gefunden.").arg(subject));
        break;
    default:
        break;
    }
    return AppError(err::EngineGeneric, source, QStringLiteral("Fehler des Datenbankmoduls: %1").arg(message));
}

}  // namespace tarnis::engine

namespace tarnis {

using namespace engine;

AppError movedDatabaseError(const QString &path, const QString &source) {
    return AppError(err::ReadOnly, source,
                    QStringLiteral("Die Datenbank '%1' wurde verschoben oder gelöscht, während das Programm sie "
                                   "geöffnet hatte; sie kann nicht mehr geändert werden.")
                        .arg(nativePath(path)));
}

void raiseEngineError(sqlite3 *db, int rc, const QString &source) {
    throw engineError(db, rc, source);
}

QString quoteIdentifier(const QString &name) {
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

}  // namespace tarnis
