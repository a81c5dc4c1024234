#include "core/dialogs/forms/InfoBand.h"

#include <QFrame>
#include <QLabel>

namespace tarnis {

InfoBand makeInfoBand(QWidget *parent, QStyle::StandardPixmap picture) {
    InfoBand band;
    band.Picture1 = new QFrame(parent);
    band.Picture1->setObjectName(QStringLiteral("Picture1"));
    band.Picture1->setAutoFillBackground(true);
    QPalette white = band.Picture1->palette();
    white.setColor(QPalette::Window, Qt::white);
    band.Picture1->setPalette(white);
    band.Picture2 = new QLabel(band.Picture1);
    band.Picture2->setObjectName(QStringLiteral("Picture2"));
    band.Picture2->setPixmap(parent->style()->standardIcon(picture).pixmap(32, 32));
    band.Picture2->setAlignment(Qt::AlignTop);
    return band;
}

}  // namespace tarnis
