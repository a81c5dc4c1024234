#include "core/db/Schema.h"

#include "core/services/ShowError.h"
#include "platform/engine/Ddl.h"

namespace tarnis {

namespace {

bool isTextField(const QString &name) {
    return !(name == QLatin1String("Jahrgang") || name == QLatin1String("Endwertung") ||
             name == QLatin1String("Zwischenwertung") || name.endsWith(QLatin1String("_Punkte")));
}

// One table step: the whole definition in one statement, so the table appears
// complete with its key or not at all.
bool createReported(Database &newDb, const QString &ddl) {
    try {
        newDb.execute(ddl);
        return true;
    } catch (const AppError &error) {
        ShowError(error, QString(), QString());
        return false;
    }
}

}  // namespace

QStringList TeilnehmerFields(int races) {
    QStringList fields{QStringLiteral("Vorname"),    QStringLiteral("Zuname"),
                       QStringLiteral("Jahrgang"),   QStringLiteral("Altersklasse"),
                       QStringLiteral("Verein"),     QStringLiteral("Endwertung"),
                       QStringLiteral("Zwischenwertung")};
    for (int n = 1; n <= races; ++n) {
        const QString prefix = QStringLiteral("Lauf_%1_").arg(n);
        fields << prefix + QLatin1String("Ort") << prefix + QLatin1String("Datum")
               << prefix + QLatin1String("Punkte") << prefix + QLatin1String("Zeit");
    }
    return fields;
}

QString AKLSortIndexDdl() {
    return createTableDdl(QStringLiteral("AKLSortIndex"),
                 {textColumnDdl(QStringLiteral("Altersklasse"), true), longColumnDdl(QStringLiteral("Index"), false)},
                 {QStringLiteral("Altersklasse")});
}

QString PunkteverteilungDdl() {
    return createTableDdl(QStringLiteral("Punkteverteilung"),
                 {longColumnDdl(QStringLiteral("Platz"), true), longColumnDdl(QStringLiteral("Punkte"), false)},
                 {QStringLiteral("Platz")});
}

QString TeilnehmerDdl(int races) {
    const QStringList key{QStringLiteral("Vorname"), QStringLiteral("Zuname"), QStringLiteral("Jahrgang"),
                          QStringLiteral("Altersklasse"), QStringLiteral("Verein")};
    QStringList fields;
    for (const QString &name : TeilnehmerFields(races)) {
        const bool inKey = key.contains(name);
        fields << (isTextField(name) ? textColumnDdl(name, inKey) : longColumnDdl(name, inKey));
    }
    return createTableDdl(QStringLiteral("Teilnehmer"), fields, key);
}

bool DB_CreateAKLSortIndex(Database &newDb) { return createReported(newDb, AKLSortIndexDdl()); }

bool DB_CreatePunkteverteilung(Database &newDb) { return createReported(newDb, PunkteverteilungDdl()); }

bool DB_CreateTeilnehmer(Database &newDb, int races) { return createReported(newDb, TeilnehmerDdl(races)); }

}  // namespace tarnis
