#pragma once
// The progress window: no title bar, a panel with "Bearbeitung läuft ..." and a bar,
// laid over its owner (the main window); without an owner a window of its own.
#include <QWidget>

class QFrame;
class QLabel;
class QProgressBar;

namespace tarnis {

class frmWorking : public QWidget {
    Q_OBJECT
public:
    explicit frmWorking(QWidget *owner = nullptr);

    // Shows the window centred on the screen with the bar at 0 of `maximum` and draws
    // it at once, although the caller does not return to the event loop. Lets no
    // event in: each step repaints the bar.
    void start(int maximum);
    // One step; a step beyond the maximum leaves the bar full.
    void step();

    QProgressBar *bar() const { return ProBar; }

private:
    QFrame *sspWorking;
    QLabel *caption;
    QLabel *Picture1;
    QProgressBar *ProBar;
};

}  // namespace tarnis
