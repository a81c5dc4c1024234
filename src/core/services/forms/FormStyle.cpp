#include "core/services/forms/FormStyle.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTextEdit>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QWidget>
#include <mutex>

// The icon lives in this library's resources; a static library must register them itself.
static void initServiceResources() { Q_INIT_RESOURCE(services); }

namespace tarnis {

namespace {

// System colours used by the forms, as palette roles.
QPalette::ColorRole systemColorRole(quint32 index) {
    switch (index) {
    case 5: return QPalette::Base;
    case 8: return QPalette::WindowText;
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;
    case 16: return QPalette::Dark;
    case 18: return QPalette::ButtonText;
    case 20: return QPalette::Light;
    case 21: return QPalette::Shadow;
    case 22: return QPalette::Midlight;
    case 23: return QPalette::ToolTipText;
    case 24: return QPalette::ToolTipBase;
    default: return QPalette::Window;
    }
}

constexpr quint32 kWindowText = 0x80000008;
constexpr quint32 kHighlight = 0x8000000D;
constexpr quint32 kButtonFace = 0x8000000F;
constexpr quint32 kButtonText = 0x80000012;
constexpr int kGridRowHeightTwips = 239;

void setRole(QWidget *w, QPalette::ColorRole role, const QColor &color) {
    QPalette pal = w->palette();
    pal.setColor(role, color);
    w->setPalette(pal);
}

void setBackColor(QWidget *w, const QColor &color) {
    setRole(w, QPalette::Window, color);
    w->setAutoFillBackground(true);
}

// Controls whose inner widgets are their own business, not separate controls.
bool isCompound(const QWidget *w) {
    return qobject_cast<const QAbstractScrollArea *>(w) || qobject_cast<const QAbstractSpinBox *>(w) ||
           qobject_cast<const QComboBox *>(w) || qobject_cast<const QAbstractButton *>(w) ||
           qobject_cast<const QLineEdit *>(w) || qobject_cast<const QToolBar *>(w) ||
           qobject_cast<const QMenuBar *>(w) || qobject_cast<const QAbstractSlider *>(w) ||
           qobject_cast<const QProgressBar *>(w) || qobject_cast<const QTabBar *>(w);
}

// What a control showed before styling, so that colours and fonts a styled frame
// passes down to its children do not change controls the table leaves alone.
struct Before {
    QPointer<QWidget> widget;
    QColor windowText, text;
    QFont font;
    bool setsText = false, setsFont = false;
};

void collect(QWidget *parent, QList<QWidget *> &out) {
    for (QObject *child : parent->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (!w || w->isWindow()) continue;
        out << w;
        if (!isCompound(w)) collect(w, out);
    }
}

// Styles one control; returns which of its text colours and font it set itself.
void styleControl(QWidget *form, QWidget *w, Before &before) {
    const QColor back = form->palette().color(QPalette::Window);
    if (auto *button = qobject_cast<QPushButton *>(w)) {
        QFont font = button->font();
        font.setFamily(QStringLiteral("Arial"));
        button->setFont(font);
        setRole(button, QPalette::ButtonText, vbColorToQColor(kButtonText));
        before.setsFont = true;
    } else if (auto *frame = qobject_cast<QGroupBox *>(w)) {
        const QColor highlight = vbColorToQColor(kHighlight);
        QPalette pal = frame->palette();
        pal.setColor(QPalette::WindowText, highlight);
        pal.setColor(QPalette::Text, highlight);  // the title colour of several styles
        frame->setPalette(pal);
        QFont font = frame->font();
        font.setBold(false);
        frame->setFont(font);
        setBackColor(frame, back);
        before.setsText = before.setsFont = true;
    } else if (qobject_cast<QLabel *>(w)) {
        setBackColor(w, back);
    } else if (auto *grid = qobject_cast<QTableView *>(w)) {
        // The header's own minimum follows its font and would keep the rows taller.
        const int rowHeight = twipsToPixels(grid, kGridRowHeightTwips);
        grid->verticalHeader()->setMinimumSectionSize(rowHeight);
        grid->verticalHeader()->setDefaultSectionSize(rowHeight);
        setRole(grid, QPalette::Button, back);
    } else if (qobject_cast<QToolBar *>(w) || qobject_cast<QMenuBar *>(w)) {
        setBackColor(w, vbColorToQColor(kButtonFace));
    } else if (qstrcmp(w->metaObject()->className(), "QFrame") == 0) {
        setBackColor(w, back);
    } else if (qobject_cast<QLineEdit *>(w) || qobject_cast<QTextEdit *>(w) ||
               qobject_cast<QPlainTextEdit *>(w)) {
        // text boxes keep their own look
    } else if (!w->objectName().startsWith(QLatin1String("qt_"))) {
        const QColor text = vbColorToQColor(kWindowText);
        QPalette pal = w->palette();
        pal.setColor(QPalette::WindowText, text);
        pal.setColor(QPalette::Text, text);
        w->setPalette(pal);
        before.setsText = true;
    }
}

}  // namespace

QColor vbColorToQColor(quint32 color) {
    if ((color & 0xFF000000u) == 0x80000000u)
        return QGuiApplication::palette().color(systemColorRole(color & 0x00FFFFFFu));
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

int twipsToPixels(const QWidget *widget, int twips) {
    const int dpi = widget ? widget->logicalDpiY() : 96;
    return qRound(double(twips) * dpi / 1440.0);
}

void ApplyFormStyle(QWidget *form) {
    if (!form) return;
    try {
        SetFormIcons(form, QStringLiteral("A00"));
        QList<QWidget *> controls;
        collect(form, controls);
        QList<Before> before;
        for (QWidget *w : controls)
            before.append({w, w->palette().color(QPalette::WindowText), w->palette().color(QPalette::Text),
                           w->font()});
        for (Before &b : before) {
            if (b.widget->property("tag").toString() == QLatin1String("#")) continue;
            styleControl(form, b.widget, b);
        }
        for (const Before &b : before) {
            if (!b.widget) continue;
            QWidget *w = b.widget;
            if (!b.setsText && (w->palette().color(QPalette::WindowText) != b.windowText ||
                                w->palette().color(QPalette::Text) != b.text)) {
                QPalette pal = w->palette();
                pal.setColor(QPalette::WindowText, b.windowText);
                pal.setColor(QPalette::Text, b.text);
                w->setPalette(pal);
            }
            if (!b.setsFont && w->font() != b.font) w->setFont(b.font);
        }
    } catch (...) {
        // styling is cosmetic and never stops a window from opening
    }
}

namespace {
QIcon resourceIcon(const QString &resource) {
    static std::once_flag registered;
    std::call_once(registered, initServiceResources);
    // One image per size, so that a small icon is drawn at its size rather than scaled down.
    QIcon icon;
    for (const int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/%1/%2").arg(resource).arg(size), QSize(size, size));
    return icon;
}
}  // namespace

QIcon programIcon() { return resourceIcon(QStringLiteral("A00")); }

void SetFormIcons(QWidget *window, const QString &resource) {
    if (!window) return;
    const QIcon icon = resourceIcon(resource);
    window = window->window();
    window->setWindowIcon(icon);
    QWidget *lastOwner = nullptr;
    for (QWidget *owner = window->parentWidget(); owner; owner = owner->parentWidget())
        lastOwner = owner->window();
    if (lastOwner) lastOwner->setWindowIcon(icon);
}

void GradientFillObject(QWidget *object, quint32 color1, quint32 color2, int mode) {
    if (!object || (mode != 0 && mode != 1)) return;
    // Object coordinates: the gradient spans the widget whatever its size.
    QLinearGradient gradient(0, 0, mode == 0 ? 1 : 0, mode == 1 ? 1 : 0);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(0, vbColorToQColor(color1));
    gradient.setColorAt(1, vbColorToQColor(color2));
    QPalette pal = object->palette();
    pal.setBrush(QPalette::Window, QBrush(gradient));
    object->setPalette(pal);
    object->setAutoFillBackground(true);
    object->update();
}

}  // namespace tarnis
