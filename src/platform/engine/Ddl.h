#pragma once
// Column and table definitions with the rules every series table follows: texts of
// 1 to 50 characters in the GENERAL order, whole numbers in the signed 32-bit range,
// each rule a named CHECK whose name tells the engine which error to raise
// (zls_ empty text, len_ too long, rng_ out of range).
#include <QString>
#include <QStringList>

namespace tarnis {

// Text(50): Name TEXT [NOT NULL] COLLATE GENERAL with the zls_ and len_ CHECKs.
QString textColumnDdl(const QString &name, bool notNull = false);
// Long: Name INTEGER [NOT NULL] with the rng_ CHECK.
QString longColumnDdl(const QString &name, bool notNull = false);
// CREATE TABLE with the columns in the given order and the key PrimaryKey over keyFields.
QString createTableDdl(const QString &table, const QStringList &columnDdls, const QStringList &keyFields);

}  // namespace tarnis
