#pragma once
// A main window whose grid holds a record set, as the real grid holds its snapshot.
#include "print_support.h"

#include "platform/engine/Database.h"

namespace tarnis::printtest {

class GridWindow : public FakeWindow {
public:
    Recordset grid;
    int refreshes = 0, redraws = 0, currentRow = -1;

    int gridRowCount() const override { return grid.recordCount(); }
    int gridColumnCount() const override { return grid.fieldCount(); }
    QString gridCell(int row, int column) const override {
        return grid.rows()[std::size_t(row)][std::size_t(column)].textOrEmpty();
    }
    void refreshGrid() override { ++refreshes; }
    void redrawGrid() override { ++redraws; }
    void setGridCurrentRow(int row) override { currentRow = row; }
};

}  // namespace tarnis::printtest
