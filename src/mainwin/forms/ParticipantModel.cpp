#include "mainwin/forms/ParticipantModel.h"

namespace tarnis {

void ParticipantModel::setSnapshot(Recordset rows) {
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

void ParticipantModel::setRowColors(const RowColors &colors) {
    colors_ = colors;
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int ParticipantModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : rows_.recordCount();
}

int ParticipantModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : rows_.fieldCount();
}

QVariant ParticipantModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const bool even = index.row() % 2 == 0;
    switch (role) {
    case Qt::DisplayRole: {
        const Value &v = rows_.rows()[index.row()][index.column()];
        if (v.isReal()) return QString::number(v.toDouble(), 'g', 15);
        return v.textOrEmpty();
    }
    case Qt::TextAlignmentRole: {
        const bool centred = index.column() < int(columns_.size()) &&
                             columns_[index.column()].align == ColumnAlign::Center;
        return QVariant::fromValue(Qt::AlignVCenter | (centred ? Qt::AlignHCenter : Qt::AlignLeft));
    }
    case Qt::BackgroundRole: {
        const QColor &c = even ? colors_.evenBack : colors_.oddBack;
        return c.isValid() ? QVariant(c) : QVariant();
    }
    case Qt::ForegroundRole: {
        const QColor &c = even ? colors_.evenFore : colors_.oddFore;
        return c.isValid() ? QVariant(c) : QVariant();
    }
    case Qt::FontRole: return colors_.font;
    default: return {};
    }
}

QVariant ParticipantModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0) return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole) {
        if (section < int(columns_.size())) return columns_[section].caption;
        return section < rows_.fieldCount() ? rows_.fieldName(section) : QString();
    }
    if (role == Qt::TextAlignmentRole && section < int(columns_.size()))
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (columns_[section].align == ColumnAlign::Center ? Qt::AlignHCenter : Qt::AlignLeft));
    return {};
}

}  // namespace tarnis
