#include "about/forms/frmSplash.h"

#include "about/AboutTexts.h"
#include "about/forms/Logo.h"

#include "core/services/forms/FormStyle.h"
#include "platform/files/FileUtils.h"
#include "platform/files/ProgramFolder.h"
#include "platform/settings/Settings.h"
#include "platform/text/Clock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace tarnis {

namespace {

constexpr int kPictureWidth = 480;
constexpr int kPictureHeight = 300;

// Runs a step of the splash's loading; a step that fails leaves its control as designed.
template <typename Step>
void skipErrors(Step step) {
    try {
        step();
    } catch (...) {
    }
}

QPixmap splashPicture() {
    QPixmap picture(kPictureWidth, kPictureHeight);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 0, kPictureHeight);
    gradient.setColorAt(0, QColor(255, 231, 162));
    gradient.setColorAt(1, QColor(255, 172, 66));
    painter.fillRect(picture.rect(), gradient);
    painter.setPen(QColor(120, 80, 20));
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    return picture;
}

// Waits without letting user input through, so that the window can still paint.
void pauseFor(int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
        QThread::msleep(static_cast<unsigned long>(std::clamp<qint64>(deadline.remainingTime(), 0, 10)));
    }
}

}  // namespace

void FadeOut(QWidget *frm, int pause) {
    if (!frm) return;
    try {
        for (int alpha = 255; alpha >= 0; alpha -= 10) {
            frm->setWindowOpacity(alpha / 255.0);
            if (alpha == 255) {
                frm->repaint();
                if (pause > 0) pauseFor(pause);
            }
        }
    } catch (...) {
        // The fade is decoration; the caller closes the window either way.
    }
}

frmSplash::frmSplash(int pause, QWidget *parent) : QDialog(parent), pause_(pause) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(kAppTitle);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowModality(Qt::ApplicationModal);

    Picture1 = new QFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    auto *background = new QLabel(Picture1);
    background->setPixmap(splashPicture());
    background->setGeometry(0, 0, kPictureWidth, kPictureHeight);
    Picture1->setGeometry(20, 20, kPictureWidth, kPictureHeight);

    imgLogo = new QLabel(Picture1);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(logoPicture());
    imgLogo->setGeometry(20, 20, 64, 64);

    lblProductName = new QLabel(QStringLiteral("Produkt"), Picture1);
    lblProductName->setObjectName(QStringLiteral("lblProductName"));
    lblProductName->setFrameStyle(QFrame::Panel | QFrame::Raised);
    lblProductName->setAlignment(Qt::AlignCenter);
    QFont titleFont = lblProductName->font();
    titleFont.setPointSize(18);
    titleFont.setBold(true);
    lblProductName->setFont(titleFont);
    lblProductName->setGeometry(100, 24, 360, 44);

    lblBeschraenkung = new QLabel(QStringLiteral("Produktname"), Picture1);
    lblBeschraenkung->setObjectName(QStringLiteral("lblBeschraenkung"));
    lblBeschraenkung->setGeometry(100, 76, 360, 20);

    lblVersion = new QLabel(QStringLiteral("Version"), Picture1);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setGeometry(100, 100, 360, 20);

    lblFiletime = new QLabel(QStringLiteral("Dateidatum"), Picture1);
    lblFiletime->setObjectName(QStringLiteral("lblFiletime"));
    lblFiletime->setGeometry(100, 124, 360, 20);

    auto *sales = new QGroupBox(QStringLiteral("Vertrieb"), Picture1);
    sales->setObjectName(QStringLiteral("fraVertrieb"));
    auto *salesLines = new QVBoxLayout(sales);
    for (const char *line : {"Lrv. Tarnis Vertrieb", "Laufweg 1", "12345 Musterstadt",
                             "E-Mail: vertrieb@example.org", "Telefon: 01234 567890",
                             "Fax: 01234 567891"})
        salesLines->addWidget(new QLabel(QString::fromUtf8(line), sales));
    salesLines->setSpacing(0);
    sales->setGeometry(20, 152, 440, 136);

    Form_Load();
}

void frmSplash::Form_Load() {
    skipErrors([&] {
        lblVersion->setText(ProgramVersionText());
    });
    skipErrors([&] { lblProductName->setText(kAppTitle); });
    skipErrors([&] { lblBeschraenkung->setText(ProgramProductName()); });
    skipErrors([&] { lblFiletime->setText(ProgramFileTimeText()); });
    skipErrors([&] { Picture1->move(0, 0); });
    skipErrors([&] {
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, Qt::white);
        setPalette(palette);
        setAutoFillBackground(true);
    });
    skipErrors([&] { setFixedSize(Picture1->size()); });
    skipErrors([&] {
        if (IsCompiled()) SaveSetting(QStringLiteral("LastUser"), QStringLiteral("AppPath"), ProgramFolder());
    });
    skipErrors([&] { ApplyFormStyle(this); });
}

void frmSplash::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // Started from the first show rather than from activation: a window manager that
    // refuses focus (or the offscreen platform) never activates the splash, and the
    // modal call would not return. The call is queued so that the window is up first;
    // bound to this window, it is dropped if the window goes away before.
    if (!activated_) {
        activated_ = true;
        QTimer::singleShot(0, this, [this] { Form_Activate(); });
    }
}

void frmSplash::Form_Activate() {
    FadeOut(this, pause_);
    done(QDialog::Accepted);
}

}  // namespace tarnis
