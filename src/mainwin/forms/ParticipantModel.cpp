#include "mainwin/forms/ParticipantModel.h"

namespace tarnis {

void ParticipantModel::setSnapshot(GridSnapshot rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void ParticipantModel::columnsChanged() {
    if (columnCount() > 0) {
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
        if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

int ParticipantModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : rows_.rowCount();
}

int ParticipantModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : rows_.columnCount();
}

QVariant ParticipantModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    switch (role) {
    case Qt::DisplayRole: return rows_.text(index.row(), index.column());
    case Qt::TextAlignmentRole: {
        const bool centred = index.column() < int(columns_.size()) &&
                             columns_[index.column()].align == ColumnAlign::Center;
        return QVariant::fromValue(Qt::AlignVCenter | (centred ? Qt::AlignHCenter : Qt::AlignLeft));
    }
    default: return {};
    }
}

QVariant ParticipantModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0) return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole) {
        if (section < int(columns_.size())) return columns_[section].caption;
        return section < rows_.columnCount() ? rows_.fieldNames().at(section) : QString();
    }
    if (role == Qt::TextAlignmentRole && section < int(columns_.size()))
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (columns_[section].align == ColumnAlign::Center ? Qt::AlignHCenter : Qt::AlignLeft));
    return {};
}

}  // namespace tarnis
