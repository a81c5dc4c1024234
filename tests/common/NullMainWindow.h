#pragma once
// A main window that does nothing and has no grid: test doubles derive from it and
// override only what their commands use.
#include "core/services/MainWindowApi.h"

namespace tarnis::testing {

class NullMainWindow : public MainWindowApi {
public:
    void setRecordSource(const QString &, const Params &) override {}
    void refreshGrid() override {}
    int gridRowCount() const override { return 0; }
    int gridColumnCount() const override { return 0; }
    QString gridColumnCaption(int) const override { return {}; }
    bool gridColumnVisible(int) const override { return true; }
    QString gridCell(int, int) const override { return {}; }
    int gridCurrentRow() const override { return -1; }
    int gridSelectedRowCount() const override { return 0; }
    int gridTop() const override { return 0; }
    int gridLeft() const override { return 0; }
    int gridHeight() const override { return 0; }
    int gridWidth() const override { return 0; }
    void UpdateTeilnehmerAnzahl() override {}
    void Form_Load() override {}
    void SetupGrid() override {}
    int innerWidth() const override { return 0; }
    void unloadWindow() override {}
    bool printDirect() const override { return false; }
    void showPreview() override {}
    bool previewVisible() const override { return false; }
    void closePreview() override {}
    void ShowPageCount() override {}
    QString edtTrigger() const override { return {}; }
    void setEdtTrigger(const QString &) override {}
};

}  // namespace tarnis::testing
