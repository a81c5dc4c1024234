#pragma once
// Page "Anzeige Bildschirm": the grids' fonts, heading style and colours on a
// preview grid, and the race captions 1 to 30.
#include "prefs/PrefsState.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QStandardItemModel;
class QTableView;

namespace tarnis::prefs {

class ColourSwatch;

class PageGrid : public QWidget {
    Q_OBJECT
public:
    explicit PageGrid(QWidget *parent = nullptr);
    // LoadGridStyle with LoadGridCaptions.
    void load(const GridPage &page);
    void read(GridPage &page) const;

    // cmdSelect(0..2): even rows, odd rows, whole grid.
    void cmdSelect_Click(int index);
    // cmdSelectFont(15) heading, (16) cells.
    void cmdSelectFont_Click(int index);
    void cboFont3D_Click(int row);

    QTableView *previewGrid() const { return dbgAnzeige_; }
    QTableView *captionGrid() const { return dbgCaptions_; }
    QComboBox *styleCombo() const { return cboFont3D_; }
    int headFont3D() const { return headFont3D_; }

signals:
    void fontFieldEdited();

private:
    void applyPreviewStyle();

    QLineEdit *fontName_[2], *fontSize_[2], *fontBold_[2];  // [0] heading (15), [1] cells (16)
    QComboBox *cboFont3D_;
    ColourSwatch *even_, *odd_, *whole_;  // shaFarbe 17, 16, 15
    QTableView *dbgAnzeige_, *dbgCaptions_;
    QStandardItemModel *preview_, *captions_;
    int headFont3D_ = 3;
};

}  // namespace tarnis::prefs
