#pragma once
// What the command procedures need of the main window. The window implements it;
// logic tests use a fake. Everything here is callable from logic (Qt Core only).
#include "platform/engine/Database.h"

#include <QString>
#include <QStringList>

namespace tarnis {

class MainWindowApi {
public:
    virtual ~MainWindowApi() = default;

    // --- the participant grid (dbgTeilnehmer over datTeilnehmer) ---
    // Sets the grid's record source (values bound to ?1..?n) and reads it again.
    virtual void setRecordSource(const QString &sql, const Params &params = {}) = 0;
    // Reads the current record source again (datTeilnehmer.Refresh).
    virtual void refreshGrid() = 0;
    // Rows and columns of the snapshot the grid shows.
    virtual int gridRowCount() const = 0;
    virtual int gridColumnCount() const = 0;
    virtual QString gridColumnCaption(int column) const = 0;
    virtual bool gridColumnVisible(int column) const = 0;
    // A cell as text; a Null is the empty text.
    virtual QString gridCell(int row, int column) const = 0;
    // A cell as stored: Null, a number or a text (the stored table allows no empty text).
    virtual Value gridValue(int row, int column) const {
        const QString text = gridCell(row, column);
        return text.isEmpty() ? Value() : Value(text);
    }
    // The field a column shows ("Lauf_3_Punkte"); empty outside the grid.
    virtual QString gridFieldName(int column) const {
        (void)column;
        return {};
    }
    // The current row (-1 when there is none) and the number of selected rows.
    virtual int gridCurrentRow() const = 0;
    virtual int gridSelectedRowCount() const = 0;
    // The selected row a command for one participant works on: the current row when it
    // is selected, else the first selected one; -1 when no row is selected.
    virtual int gridSelectedRow() const { return gridSelectedRowCount() > 0 ? gridCurrentRow() : -1; }
    // Makes a row the current one; the selection stays (the grid page and the grid
    // list leave the grid on its first row).
    virtual void setGridCurrentRow(int row) { (void)row; }
    // Paints the grid anew from the rows it holds, without reading them again.
    virtual void redrawGrid() {}
    // Top, left, height and width of the grid in twips.
    virtual int gridTop() const = 0;
    virtual int gridLeft() const = 0;
    virtual int gridHeight() const = 0;
    virtual int gridWidth() const = 0;

    // --- the window ---
    // The participant count in the caption bar, the three tools and the club list.
    virtual void UpdateTeilnehmerAnzahl() = 0;
    // The load sequence again (reopens the series file, rereads the settings).
    virtual void Form_Load() = 0;
    // Sets the grid columns up again (captions, widths, race count).
    virtual void SetupGrid() = 0;
    // The inner width of the window in twips (scale width).
    virtual int innerWidth() const = 0;
    // Unloads the window: the shutdown follows, as for the close box.
    virtual void unloadWindow() = 0;
    // Repaints the window and shows the preferences dialog modally over it.
    virtual void showPreferencesDialog() {}
    // Shows the database dialog modally over the window; true when "&Fertig" stored
    // its path and race count.
    virtual bool showDatabaseDialog() { return false; }

    // --- tools of the menus and toolbar (found by band and name) ---
    virtual bool toolChecked(const QString &band, const QString &name) const { (void)band; (void)name; return false; }
    virtual void setToolChecked(const QString &band, const QString &name, bool checked) { (void)band; (void)name; (void)checked; }

    // --- printing ---
    // True when "Drucken" (mnuDrucken in PopDruckenModus) is checked: print directly.
    virtual bool printDirect() const = 0;
    // Lays the preview pane over the grid, hides fraMain and shows fraEinstellungen.
    virtual void showPreview() = 0;
    virtual bool previewVisible() const = 0;
    // cmdClosePreview_Click.
    virtual void closePreview() = 0;
    // "Seite <n> von <count>" in lblPageCount.
    virtual void ShowPageCount() = 0;

    // --- edtTrigger: the hidden field the age-class picker writes ---
    virtual QString edtTrigger() const = 0;
    virtual void setEdtTrigger(const QString &text) = 0;
};

}  // namespace tarnis
