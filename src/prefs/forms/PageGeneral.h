#pragma once
// Page "Grundeinstellungen": scoring mode, counts, century, the database path with
// the creation button, and the two table grids.
#include "prefs/PrefsState.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace tarnis::prefs {

class AgeClassModel;
class PointsModel;

class PageGeneral : public QWidget {
    Q_OBJECT
public:
    explicit PageGeneral(QWidget *parent = nullptr);

    // LoadGrundeinstellungen: fills the age-class order, binds both grids to the open
    // series and shows the stored values. A series the grids cannot read is
    // reported ("Form_Load") and leaves them disabled.
    void load();
    void read(GeneralPage &page) const;
    QLineEdit *databaseField() const { return edtDatabase_; }
    QTableView *ageClassGrid() const { return dbgAltersklassen_; }
    QTableView *pointsGrid() const { return dbgPlatzverteilung_; }
    AgeClassModel *ageClassModel() const { return akl_; }
    PointsModel *pointsModel() const { return points_; }

    void cmdGenDatabase_Click();
    void cmdDelAK_Click();
    void SSCPlPu_Click();

signals:
    // "..." beside the database path: the dialog's shared file dialog, index 1.
    void databaseFileRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QRadioButton *optZeit_, *optPunkte_;
    QLineEdit *edtMaxLaufErf_, *edtAnzForEW_, *edtMaxAnzForEW_, *edtJahrhundert_, *edtDatabase_;
    QCheckBox *SSCPlPu_;
    QPushButton *cmdGenDatabase_, *cmdDelAK_;
    QTableView *dbgAltersklassen_, *dbgPlatzverteilung_;
    AgeClassModel *akl_ = nullptr;
    PointsModel *points_ = nullptr;
    bool gridsUsable_ = false;
};

}  // namespace tarnis::prefs
