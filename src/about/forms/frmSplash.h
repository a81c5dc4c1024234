#pragma once
// The splash window: shown modally on the first load of the main window, it shows
// version, title and the program file's time, stays opaque for a pause, fades out
// and closes itself.
#include <QDialog>

class QFrame;
class QLabel;

namespace tarnis {

// How long the splash stays fully opaque before it fades, in milliseconds.
constexpr int kSplashPause = 2500;

// Makes `frm` transparent step by step (opacity 255, 245, ... 5 of 255). At the first
// step it repaints the window and waits `pause` ms (none when pause <= 0); the other
// steps follow without waiting. The window stays at 5/255; closing it is the
// caller's business. Never throws.
void FadeOut(QWidget *frm, int pause);

class frmSplash : public QDialog {
    Q_OBJECT
public:
    // `pause` is the opaque time; tests pass 0.
    explicit frmSplash(int pause = kSplashPause, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void Form_Activate();

    int pause_;
    bool activated_ = false;
    QFrame *Picture1 = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblProductName = nullptr;
    QLabel *lblBeschraenkung = nullptr;
    QLabel *lblFiletime = nullptr;
    QLabel *imgLogo = nullptr;
};

}  // namespace tarnis
