#pragma once
// The main window: load sequence, participant grid with club filter and sort,
// menus and toolbar, command dispatch, status bar and shutdown.
#include "core/services/MainWindowApi.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class QAbstractItemModel;
class QTableView;
class QComboBox;
class QCheckBox;
class QLabel;
class QFrame;

namespace tarnis {

class frmSerienwertung : public QMainWindow, public MainWindowApi {
    Q_OBJECT
public:
    explicit frmSerienwertung(QWidget *parent = nullptr);
    ~frmSerienwertung() override;

    // Replaces the modal database dialog (tests, the season runner); an empty
    // function restores the real dialog. The argument is the owner window; the
    // result is true when a database path was stored ("&Fertig").
    static void setDatabaseDialogHook(std::function<bool(QWidget *)> hook);
    // Replaces the splash window shown on the first load; an empty function restores it.
    static void setSplashHook(std::function<void()> hook);

    // The first load sequence, then shows the window and runs its first
    // activation. False when the program ends instead (second copy, or the
    // database dialog closed without a usable database).
    bool start();

    // Exactly what a click on the tool does: save the layout, then dispatch.
    void clickTool(int id);
    // The load sequence again.
    void reload() { Form_Load(); }
    // Closes the window with the complete shutdown (column widths, layout,
    // placement, database closed).
    void closeAndShutdown();
    // True once the load sequence ended the program (second copy, no database).
    bool programEnded() const { return ended_; }

    // The grid and its model (a complete snapshot of the record source).
    QTableView *grid() const;
    QAbstractItemModel *gridModel() const;
    // The grid's caption bar, e.g. "3 erfaßte Teilnehmer".
    QString gridCaption() const;
    QComboBox *clubFilter() const;
    QCheckBox *finalOnlyBox() const;
    // The text of status bar panel n (0 time, 1 date, 2 text, 3 Caps, 4 Num, 5 Ins).
    QString statusPanel(int n) const;
    // The current record source (SQL text) of datTeilnehmer.
    QString recordSource() const;
    // Makes grid row `row` (from 0, in the grid's order) the current and only
    // selected row; a row outside the grid clears selection and current row.
    void selectGridRow(int row);

    // MainWindowApi
    void setRecordSource(const QString &sql, const Params &params = {}) override;
    void refreshGrid() override;
    int gridRowCount() const override;
    int gridColumnCount() const override;
    QString gridColumnCaption(int column) const override;
    bool gridColumnVisible(int column) const override;
    QString gridCell(int row, int column) const override;
    Value gridValue(int row, int column) const override;
    QString gridFieldName(int column) const override;
    int gridCurrentRow() const override;
    int gridSelectedRowCount() const override;
    int gridSelectedRow() const override;
    void setGridCurrentRow(int row) override;
    void redrawGrid() override;
    int gridTop() const override;
    int gridLeft() const override;
    int gridHeight() const override;
    int gridWidth() const override;
    void UpdateTeilnehmerAnzahl() override;
    void Form_Load() override;
    void SetupGrid() override;
    int innerWidth() const override;
    void unloadWindow() override;
    void showPreferencesDialog() override;
    bool showDatabaseDialog() override;
    bool toolChecked(const QString &band, const QString &name) const override;
    void setToolChecked(const QString &band, const QString &name, bool checked) override;
    bool printDirect() const override;
    void showPreview() override;
    bool previewVisible() const override;
    void closePreview() override;
    void ShowPageCount() override;
    QString edtTrigger() const override;
    void setEdtTrigger(const QString &text) override;

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    bool ended_ = false;
    friend struct Impl;
};

}  // namespace tarnis
