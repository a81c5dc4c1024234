#pragma once
// The about box: title, version, product name, the program file's time and a legal
// warning; "neue Version?" runs the online update, "&System Info..." the desktop's
// system-information program, "OK" closes the box. Shown modally without an owner.
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace tarnis {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    void StartSysInfo();

private:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void cmdCheckNewVersion_Click();

    QFrame *SSPanel1 = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDisclaimer = nullptr;
    QLabel *lblFiletime = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;
    QPushButton *cmdCheckNewVersion = nullptr;
};

// The about command: the box, modal, without an owner.
void ShowAboutBox();

}  // namespace tarnis
