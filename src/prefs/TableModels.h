#pragma once
// The two table grids of the general page over the one series connection: the
// age-class order (AKLSortIndex) and the points per place (Punkteverteilung). Each
// model holds a complete snapshot; an edit is written at once with bound values.
// An edit the engine refuses goes to the error dialog and the row shows the stored
// value again.
#include "platform/engine/Database.h"

#include <QAbstractTableModel>
#include <functional>
#include <optional>
#include <vector>

namespace tarnis::prefs {

// A whole number as the grid editors take it (blanks around allowed); nothing else.
std::optional<std::int32_t> wholeNumberCell(const QString &text);

class SnapshotTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    SnapshotTableModel(Database &database, QString table, QStringList fields, bool &sortFlag,
                       QString procedure, QObject *parent = nullptr);

    // Reads the rows in the given order (a field of the table, or none for the
    // table's own order). Raises what the engine raises.
    void load(const QString &orderField = QString(), bool ascending = true);
    // Reads again in the current order.
    void refresh();
    // A header click: flips the grid's sort flag (kept for the run) and orders by the
    // column, ascending when the flag is now set.
    void headClick(int column);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const Value &cell(int row, int column) const { return rows_.at(row).at(column); }
    int storedRowCount() const { return int(rows_.size()); }

protected:
    // Runs a write; a refusal is reported and the grid rereads what is stored. A
    // write that went through is shown by `shown` where it was made, without
    // rereading: the rows stay in place while the organiser works down the grid.
    bool write(const QString &sql, const Params &params, const std::function<void()> &shown = {});
    void cellWritten(int row, int column, const Value &value);
    Database &db_;
    QString table_;
    QStringList fields_;
    std::vector<std::vector<Value>> rows_;

private:
    bool &sortFlag_;
    QString procedure_;
    QString orderField_;
    bool ascending_ = true;
};

// AKLSortIndex: only the Index column can be edited; rows come from the participants
// and go through "&Altersklasse löschen".
class AgeClassModel : public SnapshotTableModel {
    Q_OBJECT
public:
    explicit AgeClassModel(Database &database, QObject *parent = nullptr);
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
};

// Punkteverteilung: both columns editable; the last row is the empty row where a
// new place is entered; selected rows can be deleted.
class PointsModel : public SnapshotTableModel {
    Q_OBJECT
public:
    explicit PointsModel(Database &database, QObject *parent = nullptr);
    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    // Deletes the stored places of these rows; a failure is reported.
    void deleteRows(const QList<int> &rows);

private:
    Value pendingPunkte_;  // points typed into the new row before its place
};

// True when no participant has this age class (compared as the engine compares).
bool AKLHasNoTeilnehmer(Database &database, const QString &ageClass);

// "&Altersklasse löschen" for the class of the current row: refuses a class still
// in use, asks, deletes and says how it went. Errors go to the error dialog.
// True when a row was deleted.
bool DeleteAgeClass(Database &database, const QString &ageClass);

// The sort flags of the two grids, kept for the whole run.
bool &ageClassSortFlag();
bool &pointsSortFlag();

}  // namespace tarnis::prefs
