#include "core/import/forms/frmImport.h"

#include "platform/settings/Settings.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QStyle>

namespace tarnis {

frmImport::frmImport(QWidget *owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(kAppTitle);
    setModal(false);

    auto *layout = new QHBoxLayout(this);
    fraInfo = new QFrame(this);
    fraInfo->setObjectName(QStringLiteral("fraInfo"));
    fraInfo->setFrameShape(QFrame::StyledPanel);
    auto *row = new QHBoxLayout(fraInfo);
    Picture2 = new QLabel(fraInfo);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setPixmap(style()->standardIcon(QStyle::SP_FileDialogContentsView).pixmap(32, 32));
    row->addWidget(Picture2);
    lblInfo = new QLabel(QStringLiteral("Import läuft..."), fraInfo);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setTextFormat(Qt::PlainText);
    lblInfo->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Import läuft ... 0000000")));
    row->addWidget(lblInfo, 1);
    layout->addWidget(fraInfo);
}

void frmImport::showLine(int line) {
    lblInfo->setText(QStringLiteral("Import läuft ... ") + QString::number(line));
    // Drawing every one of many thousand lines would cost more than the import itself;
    // the counter is redrawn a few dozen times a second.
    if (!sincePaint_.isValid() || sincePaint_.elapsed() >= 40) paintNow();
}

void frmImport::paintNow() {
    repaint();
    // Lets the window system map and draw the window; user input stays queued.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sincePaint_.start();
}

namespace {
QPointer<frmImport> current;
}

void showImportNoteWindow(QWidget *owner) {
    hideImportNoteWindow();
    current = new frmImport(owner ? owner : QApplication::activeWindow());
    current->show();
    current->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void setImportNoteWindowLine(int line) {
    if (current) current->showLine(line);
}

void hideImportNoteWindow() {
    if (current) {
        current->hide();
        delete current.data();
    }
}

frmImport *importNoteWindow() { return current.data(); }

}  // namespace tarnis
