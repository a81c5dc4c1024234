#pragma once
// The race picker: which race a following import or deletion applies to.
#include <QDialog>

class QComboBox;
class QPushButton;

namespace tarnis {

class frmLaufauswahl : public QDialog {
    Q_OBJECT
public:
    // Offers the races 1..maxRace; none for 0 or less.
    explicit frmLaufauswahl(int maxRace, QWidget *owner = nullptr);

    // After "Weiter": the chosen race, 0 when none was chosen.
    int chosenRace() const { return chosen_; }

    QComboBox *cboLaufAuswahl = nullptr;
    QPushButton *cmdWeiter = nullptr;

private:
    void cmdWeiter_Click();
    int chosen_ = 0;
};

}  // namespace tarnis
