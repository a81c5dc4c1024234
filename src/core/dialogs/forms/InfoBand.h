#pragma once
// The white band at the top of the small dialogs: Picture1 holding the picture Picture2.
#include <QStyle>

class QFrame;
class QLabel;

namespace tarnis {

struct InfoBand {
    QFrame *Picture1 = nullptr;
    QLabel *Picture2 = nullptr;
};

InfoBand makeInfoBand(QWidget *parent, QStyle::StandardPixmap picture);

}  // namespace tarnis
