#pragma once
// The age-class picker of the one-class lists, pages and certificates.
#include <QDialog>

class QListWidget;
class QPushButton;

namespace tarnis {

class frmAlterklassen : public QDialog {
    Q_OBJECT
public:
    explicit frmAlterklassen(const QStringList &classes, QWidget *owner = nullptr);

    // The chosen class; "" after "&Abbrechen", the close box or "&Ausgeben" without a choice.
    const QString &answer() const { return answer_; }

    QListWidget *lisAltersgruppen = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdAbbruch = nullptr;

private:
    void cmdOK_Click();
    void cmdAbbruch_Click();
    QString answer_;
};

}  // namespace tarnis
