#pragma once
// The participant grid's model: a complete snapshot of the record source, shown
// with the column state (captions, alignment).
#include "mainwin/GridSetup.h"
#include "mainwin/GridSnapshot.h"

#include <QAbstractTableModel>
#include <vector>

namespace tarnis {

class ParticipantModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ParticipantModel(const std::vector<GridColumn> &columns, QObject *parent = nullptr)
        : QAbstractTableModel(parent), columns_(columns) {}

    void setSnapshot(GridSnapshot rows);
    void clear() { setSnapshot(GridSnapshot()); }
    const GridSnapshot &snapshot() const { return rows_; }
    // Captions or alignment changed in the column state.
    void columnsChanged();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const std::vector<GridColumn> &columns_;
    GridSnapshot rows_;
};

}  // namespace tarnis
