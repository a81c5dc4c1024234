#include "prefs/forms/PrefsWidgets.h"

#include "core/services/forms/FormStyle.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"
#include "prefs/FieldRules.h"

#include <QAbstractItemView>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace tarnis::prefs {

ColourSwatch::ColourSwatch(const QString &objectName, QWidget *parent) : QFrame(parent) {
    setObjectName(objectName);
    setFixedSize(48, 20);
    setColour(0);
}

void ColourSwatch::paintEvent(QPaintEvent *) {
    // The shapes of the forms are rounded rectangles, outlined in the text colour.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setBrush(vbColorToQColor(quint32(colour_)));
    const qreal radius = height() / 4.0;
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

void ColourSwatch::setColour(Colour colour) {
    colour_ = colour;
    update();
}

SpinField::SpinField(const QString &objectName, QWidget *parent) : QWidget(parent) {
    setObjectName(objectName + QStringLiteral("_spin"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    edit_ = namedEdit(objectName, this);
    row->addWidget(edit_);
    auto *arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton *b : {up_, down_}) {
        b->setFixedSize(16, 11);
        arrows->addWidget(b);
    }
    row->addLayout(arrows);
    connect(up_, &QToolButton::clicked, this, &SpinField::upClicked);
    connect(down_, &QToolButton::clicked, this, &SpinField::downClicked);
}

bool pickFont(QLineEdit *name, QLineEdit *size, QString *bold, bool reportBadSize) {
    FontChoice preset{name->text(), 12, bold && textrules::readBool(*bold, false)};
    if (textrules::IsNumeric(size->text())) {
        preset.size = textrules::Val(textrules::Trim(size->text()));
    } else if (reportBadSize) {
        ui().message(QStringLiteral("Fehler in Funktion InitFontReq Error: Typen unverträglich"), MsgButtons::Ok,
                     MsgIcon::None);
    }
    const auto chosen = ui().chooseFont(preset);
    if (!chosen) return false;
    name->setText(chosen->name);
    size->setText(numberText(chosen->size));
    if (bold) *bold = chosen->bold ? QStringLiteral("True") : QStringLiteral("False");
    return true;
}

bool pickColour(ColourSwatch *swatch) {
    const auto chosen = ui().chooseColour(quint32(swatch->colour()));
    if (!chosen) return false;
    swatch->setColour(Colour(*chosen));
    return true;
}

QLineEdit *namedEdit(const QString &objectName, QWidget *parent) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    return edit;
}

QGroupBox *framed(const QString &caption, QGridLayout *&grid, QWidget *parent) {
    auto *box = new QGroupBox(caption, parent);
    grid = new QGridLayout(box);
    return box;
}

void setFieldText(QLineEdit *edit, const QString &text) {
    if (edit->text() != text) edit->setText(text);
}

void commitOpenEdits(QWidget *root) {
    for (QAbstractItemView *view : root->findChildren<QAbstractItemView *>()) {
        QWidget *editor = view->indexWidget(view->currentIndex());
        if (!editor) continue;
        // The view's own slots, as its focus handling calls them.
        QMetaObject::invokeMethod(view, "commitData", Q_ARG(QWidget *, editor));
        // A table that reread its rows has closed the editor already.
        if (view->indexWidget(view->currentIndex()) == editor)
            QMetaObject::invokeMethod(view, "closeEditor", Q_ARG(QWidget *, editor),
                                      Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
    }
}

}  // namespace tarnis::prefs
