#include "platform/engine/Ddl.h"

#include "platform/engine/Database.h"

namespace tarnis {

QString textColumnDdl(const QString &name, bool notNull) {
    const QString q = quoteIdentifier(name);
    return QStringLiteral("%1 TEXT%2 COLLATE GENERAL CONSTRAINT %3 CHECK (length(%1) > 0) CONSTRAINT %4 CHECK (length(%1) <= 50)")
        .arg(q, notNull ? QStringLiteral(" NOT NULL") : QString(), quoteIdentifier(QStringLiteral("zls_") + name),
             quoteIdentifier(QStringLiteral("len_") + name));
}

QString longColumnDdl(const QString &name, bool notNull) {
    const QString q = quoteIdentifier(name);
    return QStringLiteral("%1 INTEGER%2 CONSTRAINT %3 CHECK (%1 BETWEEN -2147483648 AND 2147483647)")
        .arg(q, notNull ? QStringLiteral(" NOT NULL") : QString(), quoteIdentifier(QStringLiteral("rng_") + name));
}

QString createTableDdl(const QString &table, const QStringList &columnDdls, const QStringList &keyFields) {
    QStringList keys;
    keys.reserve(keyFields.size());
    for (const QString &k : keyFields)
        keys << quoteIdentifier(k);
    return QStringLiteral("CREATE TABLE %1 (%2, CONSTRAINT PrimaryKey PRIMARY KEY (%3)) STRICT, WITHOUT ROWID")
        .arg(quoteIdentifier(table), columnDdls.join(QStringLiteral(", ")), keys.join(QStringLiteral(", ")));
}

}  // namespace tarnis
