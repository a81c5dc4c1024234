#include "app/QtUi.h"

#include "core/dialogs/forms/Pickers.h"
#include "core/import/forms/frmImport.h"
#include "core/services/forms/FormStyle.h"
#include "core/services/forms/frmShowError.h"
#include "core/services/forms/frmWorking.h"
#include "platform/qt/CopyableText.h"
#include "platform/qt/DisplayText.h"
#include "platform/settings/Settings.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScreen>
#include <QTranslator>
#include <QTreeView>
#include <cstdlib>

namespace tarnis {

bool installGermanTranslation(QApplication &app) {
    auto *translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QtUi::QtUi() = default;

QtUi::~QtUi() { delete progress_; }

frmWorking *QtUi::progressWindow() const { return qobject_cast<frmWorking *>(progress_.data()); }

QWidget *QtUi::owner() const {
    if (QWidget *active = QApplication::activeWindow()) return active;
    // While a download runs no window is active; a message then belongs to the modal
    // dialog still open (the about box), not to the main window behind it.
    if (QWidget *modal = QApplication::activeModalWidget()) return modal;
    return mainWindow_;
}

MsgAnswer QtUi::message(const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title,
                        const QString &details) {
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
    case MsgIcon::Information: boxIcon = QMessageBox::Information; break;
    case MsgIcon::Question: boxIcon = QMessageBox::Question; break;
    case MsgIcon::Critical: boxIcon = QMessageBox::Critical; break;
    case MsgIcon::Exclamation: boxIcon = QMessageBox::Warning; break;
    case MsgIcon::None: break;
    }
    QMessageBox::StandardButtons standard = QMessageBox::Ok;
    switch (buttons) {
    case MsgButtons::Ok: standard = QMessageBox::Ok; break;
    case MsgButtons::OkCancel: standard = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MsgButtons::YesNo: standard = QMessageBox::Yes | QMessageBox::No; break;
    case MsgButtons::YesNoCancel: standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    QMessageBox box(boxIcon, title.isEmpty() ? kAppTitle : title, displayText(text), standard, owner());
    // A text from outside (a version list, a result line) never renders as mark-up.
    box.setTextFormat(Qt::PlainText);
    // A command or path in the text can be selected and copied with Ctrl+C, also from the
    // keyboard: Tab reaches the text, Ctrl+A selects it, Return still answers the box.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QList<QLabel *> texts;
    for (QLabel *label : box.findChildren<QLabel *>())
        if (label->textInteractionFlags() & Qt::TextSelectableByKeyboard) texts << label;
    // A long list unfolds below the text ("Details einblenden..."), where it can be read and copied.
    if (!details.isEmpty()) box.setDetailedText(displayText(details));
    makeTextCopyable(&box, texts, [&box, &details] {
        return details.isEmpty() ? box.text() : box.text() + QStringLiteral("\n\n") + box.detailedText();
    });
    // The first button is the default, as in the message boxes the users know.
    box.setDefaultButton(buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? QMessageBox::Yes
                                                                                            : QMessageBox::Ok);
    switch (box.exec()) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    default: return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Cancel;
    }
}

namespace {

// The file list's sizes and dates in the program's locale: Qt's model writes them
// in the system's, which is English on many machines ("6 Dec 2026", "9.94 KiB").
class ProgramLocaleColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex &index, int role) const override {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files) return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == 1 && !files->isDir(source)) return QLocale().formattedDataSize(files->size(source));
        if (index.column() == 3) {
            const QDateTime changed = files->lastModified(source);
            return changed.isValid() ? QLocale().toString(changed, QLocale::ShortFormat) : QString();
        }
        return QIdentityProxyModel::data(index, role);
    }
};

// Qt's own dialog opens too small for the German column names and dates: it opens
// large enough (within the screen), the detail columns as wide as what they show.
void sizeFileDialog(QFileDialog &dialog) {
    QSize size(960, 560);
    if (const QScreen *screen = dialog.screen()) size = size.boundedTo(screen->availableGeometry().size());
    dialog.resize(size);
    if (auto *view = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        QHeaderView *header = view->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
}

}  // namespace

QString QtUi::fileDialog(const FileDialogRequest &request, bool save) {
    QFileDialog dialog(owner(), request.title, request.directory, request.filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setProxyModel(new ProgramLocaleColumns(&dialog));
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    sizeFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

QString QtUi::openFileName(const FileDialogRequest &request) { return fileDialog(request, false); }

QString QtUi::saveFileName(const FileDialogRequest &request) { return fileDialog(request, true); }

std::optional<int> QtUi::pickRace(int maxRace) { return showRacePicker(maxRace); }

std::optional<QString> QtUi::pickAgeClass(const QStringList &classes) { return showAgeClassPicker(classes); }

std::optional<QString> QtUi::inputText(const QString &prompt, const QString &title, const QString &fallback) {
    QInputDialog dialog(owner());
    dialog.setWindowTitle(title.isEmpty() ? kAppTitle : title);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(displayText(prompt));
    dialog.setTextValue(fallback);
    for (QLabel *label : dialog.findChildren<QLabel *>()) label->setTextFormat(Qt::PlainText);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

std::optional<quint32> QtUi::chooseColour(quint32 preset) {
    const QColor chosen = QColorDialog::getColor(vbColorToQColor(preset), owner());
    if (!chosen.isValid()) return std::nullopt;
    return quint32(chosen.red()) | quint32(chosen.green()) << 8 | quint32(chosen.blue()) << 16;
}

std::optional<FontChoice> QtUi::chooseFont(const FontChoice &preset) {
    QFont initial(preset.name);
    if (preset.size > 0) initial.setPointSizeF(preset.size);
    initial.setBold(preset.bold);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, owner());
    if (!ok) return std::nullopt;
    return FontChoice{chosen.family(), chosen.pointSizeF(), chosen.bold()};
}

ErrorChoice QtUi::errorDialog(const ErrorReport &report) {
    frmShowError dialog(report);
    dialog.exec();
    return dialog.choice();
}

void QtUi::showProgress(int maximum) {
    // Each showing starts from a fresh window, as after an unload.
    delete progress_;
    auto *window = new frmWorking(mainWindow_ ? mainWindow_.data() : QApplication::activeWindow());
    progress_ = window;
    window->start(maximum);
}

void QtUi::stepProgress() {
    if (frmWorking *window = progressWindow()) window->step();
}

void QtUi::hideProgress() {
    delete progress_;
}

void QtUi::showImportNote() { showImportNoteWindow(mainWindow_); }

void QtUi::setImportNoteLine(int line) { setImportNoteWindowLine(line); }

void QtUi::hideImportNote() { hideImportNoteWindow(); }

void QtUi::setBusy(bool busy) {
    if (busy) {
        if (!busy_) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        busy_ = true;
        return;
    }
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
    busy_ = false;
}

void QtUi::endProgram() { std::_Exit(0); }

}  // namespace tarnis
