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
    // Over its owner, the owner draws the panel's area again at once.
    ~frmWorking() override;

    // Shows the window centred on the screen with the bar at 0 of `maximum` and draws
    // it at once, although the caller does not return to the event loop. Over its
    // owner it is kept whole inside it as far as the owner's size allows.
    void start(int maximum);
    // One step; a step beyond the maximum leaves the bar full. A step that changes the
    // bar's drawn width draws the whole window, with no event let in.
    void step();

    QProgressBar *bar() const { return ProBar; }

private:
    void fitIntoOwner();
    void drawWhole();
    int filledWidth() const;

    QFrame *sspWorking;
    QLabel *caption;
    QLabel *Picture1;
    QProgressBar *ProBar;
    QPoint wanted_;  // where it was meant to stand in its owner: centred on the screen
};

}  // namespace tarnis
