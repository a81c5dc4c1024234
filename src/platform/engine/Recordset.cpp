#include "platform/engine/EngineInternals.h"

namespace tarnis {

using namespace engine;

Recordset::Recordset(QStringList columns, std::vector<std::vector<Value>> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)) {}

void Recordset::setAbsolutePosition(int pos) {
    if (pos < 0 || pos >= int(rows_.size()))
        raiseNoCurrentRecord();
    pos_ = pos;
}

QString Recordset::fieldName(int index) const {
    if (index < 0 || index >= columns_.size())
        raiseItemNotFound(QString::number(index), kSourceRecordset);
    return columns_.at(index);
}

int Recordset::fieldIndex(const QString &name) const {
    // Callers mostly spell the name as the table does: try the cheap exact match first.
    const int exact = int(columns_.indexOf(name));
    if (exact >= 0)
        return exact;
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

const Value &Recordset::field(const QString &name) const {
    const int index = fieldIndex(name);
    if (index < 0)
        raiseItemNotFound(name, kSourceRecordset);
    return field(index);
}

const Value &Recordset::field(int index) const {
    if (index < 0 || index >= columns_.size())
        raiseItemNotFound(QString::number(index), kSourceRecordset);
    if (eof() || bof())
        raiseNoCurrentRecord();
    return rows_[std::size_t(pos_)][std::size_t(index)];
}

}  // namespace tarnis
