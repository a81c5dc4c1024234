#include "prefs/TableModels.h"

#include "core/services/ShowError.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"

#include <limits>

namespace tarnis::prefs {

std::optional<std::int32_t> wholeNumberCell(const QString &text) {
    QString t = text.trimmed();
    if (t.startsWith(u'-') || t.startsWith(u'+')) t = t.mid(1);
    if (t.isEmpty()) return std::nullopt;
    for (QChar c : t)
        if (c < u'0' || c > u'9') return std::nullopt;
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return std::int32_t(v);
}

bool &ageClassSortFlag() {
    static bool flag = false;
    return flag;
}

bool &pointsSortFlag() {
    static bool flag = false;
    return flag;
}

SnapshotTableModel::SnapshotTableModel(Database &database, QString table, QStringList fields, bool &sortFlag,
                                       QString procedure, QObject *parent)
    : QAbstractTableModel(parent), db_(database), table_(std::move(table)), fields_(std::move(fields)),
      sortFlag_(sortFlag), procedure_(std::move(procedure)) {}

void SnapshotTableModel::load(const QString &orderField, bool ascending) {
    QString sql = QStringLiteral("SELECT %1, %2 FROM %3")
                      .arg(quoteIdentifier(fields_[0]), quoteIdentifier(fields_[1]), table_);
    if (!orderField.isEmpty())
        sql += QStringLiteral(" ORDER BY %1 %2").arg(quoteIdentifier(orderField), ascending ? "ASC" : "DESC");
    Recordset rs = db_.openRecordset(sql);
    std::vector<std::vector<Value>> fresh = rs.rows();
    // Rows are added or dropped at the end (after an empty new row, if any) and the
    // rest is marked changed, so the grid keeps its current cell: a place typed and
    // left with Tab goes on to the points of that same row.
    const int before = int(rows_.size());
    const int after = int(fresh.size());
    const int extra = rowCount() - before;
    if (after > before) {
        beginInsertRows({}, before + extra, after + extra - 1);
        rows_ = std::move(fresh);
        endInsertRows();
    } else if (after < before) {
        beginRemoveRows({}, after + extra, before + extra - 1);
        rows_ = std::move(fresh);
        endRemoveRows();
    } else {
        rows_ = std::move(fresh);
    }
    orderField_ = orderField;
    ascending_ = ascending;
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void SnapshotTableModel::refresh() { load(orderField_, ascending_); }

void SnapshotTableModel::headClick(int column) {
    if (column < 0 || column >= fields_.size()) return;
    sortFlag_ = !sortFlag_;
    try {
        load(fields_[column], sortFlag_);
    } catch (...) {
        ShowError(toAppError(std::current_exception()), QString(), procedure_);
    }
}

int SnapshotTableModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int SnapshotTableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(fields_.size()); }

QVariant SnapshotTableModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= int(rows_.size())) return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    const Value &v = rows_[index.row()][index.column()];
    return v.isNull() ? QString() : v.toText();
}

QVariant SnapshotTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return fields_.value(section);
    return {};
}

bool SnapshotTableModel::write(const QString &sql, const Params &params, const std::function<void()> &shown) {
    bool ok = true;
    try {
        db_.execute(sql, params);
    } catch (...) {
        ok = false;
        ShowError(toAppError(std::current_exception()), QString(), procedure_);
    }
    if (ok && shown) {
        shown();
        return true;
    }
    try {
        refresh();
    } catch (...) {
        ShowError(toAppError(std::current_exception()), QString(), procedure_);
    }
    return ok;
}

void SnapshotTableModel::cellWritten(int row, int column, const Value &value) {
    rows_[row][column] = value;
    emit dataChanged(index(row, column), index(row, column));
}

// ---------------------------------------------------------------- age classes

AgeClassModel::AgeClassModel(Database &database, QObject *parent)
    : SnapshotTableModel(database, QStringLiteral("AKLSortIndex"),
                         {QStringLiteral("Altersklasse"), QStringLiteral("Index")}, ageClassSortFlag(),
                         QStringLiteral("dbgAltersklassen"), parent) {}

Qt::ItemFlags AgeClassModel::flags(const QModelIndex &index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == 1) f |= Qt::ItemIsEditable;
    return f;
}

bool AgeClassModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::EditRole || index.column() != 1 || index.row() >= int(rows_.size())) return false;
    const auto number = wholeNumberCell(value.toString());
    if (!number) return false;
    const Value v{std::int64_t(*number)};
    return write(QStringLiteral("UPDATE AKLSortIndex SET \"Index\" = ?1 WHERE Altersklasse = ?2"),
                 {v, rows_[index.row()][0]}, [&] { cellWritten(index.row(), 1, v); });
}

// ---------------------------------------------------------------- points

PointsModel::PointsModel(Database &database, QObject *parent)
    : SnapshotTableModel(database, QStringLiteral("Punkteverteilung"),
                         {QStringLiteral("Platz"), QStringLiteral("Punkte")}, pointsSortFlag(),
                         QStringLiteral("dbgPlatzverteilung"), parent) {}

int PointsModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(rows_.size()) + 1; }

QVariant PointsModel::data(const QModelIndex &index, int role) const {
    if (index.isValid() && index.row() == int(rows_.size())) {
        if ((role == Qt::DisplayRole || role == Qt::EditRole) && index.column() == 1 && !pendingPunkte_.isNull())
            return pendingPunkte_.toText();
        return {};
    }
    return SnapshotTableModel::data(index, role);
}

Qt::ItemFlags PointsModel::flags(const QModelIndex &index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool PointsModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::EditRole || !index.isValid()) return false;
    const QString text = value.toString();
    const bool empty = text.trimmed().isEmpty();
    const auto number = wholeNumberCell(text);
    if (!empty && !number) return false;
    Value v;
    if (number) v = Value(std::int64_t(*number));
    const bool newRow = index.row() == int(rows_.size());
    if (index.column() == 0) {
        if (empty) return false;  // a place is the row's key
        if (newRow) {
            const Value punkte = pendingPunkte_;
            pendingPunkte_ = Value();
            // The new place stays where it was typed, above the empty row.
            const int row = int(rows_.size());
            return write(QStringLiteral("INSERT INTO Punkteverteilung (Platz, Punkte) VALUES (?1, ?2)"), {v, punkte},
                         [&] {
                             beginInsertRows({}, row + 1, row + 1);
                             rows_.push_back({v, punkte});
                             endInsertRows();
                             emit dataChanged(this->index(row, 0), this->index(row + 1, 1));
                         });
        }
        return write(QStringLiteral("UPDATE Punkteverteilung SET Platz = ?1 WHERE Platz = ?2"), {v, rows_[index.row()][0]},
                     [&] { cellWritten(index.row(), 0, v); });
    }
    if (newRow) {
        // Kept until the place is typed: a row without its place cannot be stored.
        pendingPunkte_ = v;
        emit dataChanged(index, index);
        return true;
    }
    return write(QStringLiteral("UPDATE Punkteverteilung SET Punkte = ?1 WHERE Platz = ?2"), {v, rows_[index.row()][0]},
                 [&] { cellWritten(index.row(), 1, v); });
}

void PointsModel::deleteRows(const QList<int> &rows) {
    Params places;
    for (int row : rows)
        if (row >= 0 && row < int(rows_.size())) places.push_back(rows_[row][0]);
    for (const Value &place : places)
        if (!write(QStringLiteral("DELETE FROM Punkteverteilung WHERE Platz = ?1"), {place})) return;
}

// ---------------------------------------------------------------- deleting a class

bool AKLHasNoTeilnehmer(Database &database, const QString &ageClass) {
    const Recordset rs = database.openRecordset(
        QStringLiteral("SELECT 1 FROM Teilnehmer WHERE Altersklasse = ?1 LIMIT 1"), {Value(ageClass)});
    return rs.recordCount() == 0;
}

bool DeleteAgeClass(Database &database, const QString &ageClass) {
    const QString cls = textrules::Trim(ageClass);
    bool unused = false;
    try {
        unused = AKLHasNoTeilnehmer(database, cls);
    } catch (...) {
        ShowError(toAppError(std::current_exception()), QString(), QStringLiteral("AKLHasNoTeilnehmer"));
        return false;
    }
    if (!unused) {
        ui().message(QStringLiteral("Es gibt noch Teilnehmer für diese Altersklasse!"), MsgButtons::Ok,
                     MsgIcon::Information);
        return false;
    }
    if (ui().message(cls + QStringLiteral(" wirklich löschen?"), MsgButtons::YesNo, MsgIcon::Critical) !=
        MsgAnswer::Yes)
        return false;
    std::int64_t deleted = 0;
    try {
        deleted = database.execute(QStringLiteral("DELETE FROM AKLSortIndex WHERE Altersklasse = ?1"), {Value(cls)});
    } catch (...) {
        ShowError(toAppError(std::current_exception()), QString(), QStringLiteral("cmdDelAK_Click"));
        return false;
    }
    ui().message(deleted < 1 ? QStringLiteral("Daten konnten nicht gelöscht werden!")
                             : QStringLiteral("Datensatz erfolgreich gelöscht!"),
                 MsgButtons::Ok, MsgIcon::Information);
    return deleted > 0;
}

}  // namespace tarnis::prefs
