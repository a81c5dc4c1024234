#include "mainwin/forms/CommandBars.h"

#include "platform/files/SafeFile.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace tarnis {

namespace {

const QString kSource = QStringLiteral("CommandBars");
constexpr int kStateVersion = 1;
// A layout file is a few kilobytes; anything far larger is not one of ours.
constexpr qint64 kMaxLayoutSize = 1 << 20;

AppError unknownTool(const QString &band, const QString &name) {
    return AppError(err::ItemNotFound, kSource,
                    QStringLiteral("Das Werkzeug %1 in %2 gibt es nicht.").arg(name, band));
}

QIcon toolbarIcon(const QString &name) {
    QStyle *style = QApplication::style();
    if (name == QLatin1String("mnuSortAsc")) return style->standardIcon(QStyle::SP_ArrowUp);
    if (name == QLatin1String("SortDesc")) return style->standardIcon(QStyle::SP_ArrowDown);
    return style->standardIcon(QStyle::SP_BrowserReload);
}

}  // namespace

CommandBars::CommandBars(QMainWindow *window) : QObject(window), window_(window) {
    // Popups first, so that every opener finds the menu it opens.
    for (const Band &band : ToolRegistry::bands())
        if (band.kind == BandKind::Popup) {
            auto *menu = new QMenu(window);
            menu->setObjectName(band.name);
            menus_[band.name] = menu;
        }

    toolBar_ = new QToolBar(QStringLiteral("Band1"), window);
    toolBar_->setObjectName(QStringLiteral("Band1"));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    window->addToolBar(Qt::TopToolBarArea, toolBar_);

    QMenuBar *menuBar = window->menuBar();
    for (const Tool &tool : registry_.tools()) {
        QAction *action = nullptr;
        if (!tool.opens.isEmpty()) {
            QMenu *popup = menus_.at(tool.opens);
            popup->setTitle(tool.caption);
            action = popup->menuAction();
            const int id = tool.id;
            connect(popup, &QMenu::aboutToShow, this, [this, id] { emit toolClicked(id); });
        } else {
            action = new QAction(tool.caption, window);
            action->setCheckable(tool.checkable);
            connect(action, &QAction::triggered, this, [this, action] { onTriggered(action); });
        }
        action->setProperty("toolId", tool.id);
        action->setProperty("toolName", tool.name);
        action->setProperty("band", tool.band);
        action->setChecked(tool.checked);
        action->setEnabled(tool.enabled);
        actions_[{tool.band, tool.name}] = action;

        if (tool.band == QLatin1String("mnuGlobal")) {
            menuBar->addAction(action);
        } else if (tool.band == QLatin1String("Band1")) {
            action->setIcon(toolbarIcon(tool.name));
            toolBar_->addAction(action);
        } else {
            QMenu *menu = menus_.at(tool.band);
            if (tool.separatorBefore) menu->addSeparator();
            menu->addAction(action);
        }
    }
}

QAction *CommandBars::action(const QString &band, const QString &name) const {
    auto it = actions_.find({band, name});
    return it == actions_.end() ? nullptr : it->second;
}

QAction *CommandBars::actionById(int id) const {
    const Tool *tool = registry_.findById(id);
    return tool ? action(tool->band, tool->name) : nullptr;
}

QMenu *CommandBars::menu(const QString &band) const {
    auto it = menus_.find(band);
    return it == menus_.end() ? nullptr : it->second;
}

bool CommandBars::isChecked(const QString &band, const QString &name) const {
    const Tool *tool = registry_.find(band, name);
    if (!tool) throw unknownTool(band, name);
    return tool->checked;
}

bool CommandBars::isEnabled(const QString &band, const QString &name) const {
    const Tool *tool = registry_.find(band, name);
    if (!tool) throw unknownTool(band, name);
    return tool->enabled;
}

void CommandBars::setChecked(const QString &band, const QString &name, bool checked) {
    registry_.setChecked(band, name, checked);
    action(band, name)->setChecked(checked);
}

void CommandBars::setEnabled(const QString &band, const QString &name, bool enabled) {
    registry_.setEnabled(band, name, enabled);
    action(band, name)->setEnabled(enabled);
}

void CommandBars::saveLayout(const QString &path) const {
    const QByteArray bytes = registry_.saveLayout(window_->saveState(kStateVersion));
    QString error;
    if (!writeFileSafely(path, bytes, &error))
        throw AppError(err::LayoutSaveFailed, kSource,
                       QStringLiteral("Die Menüeinstellungen konnten nicht nach %1 geschrieben "
                                      "werden: %2")
                           .arg(path, error));
}

bool CommandBars::loadLayout(const QString &path) {
    QFile file(path);
    if (!file.exists()) return false;
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(err::LayoutDamaged, kSource,
                       QStringLiteral("Die Menüeinstellungen %1 konnten nicht gelesen werden: %2")
                           .arg(path, file.errorString()));
    if (file.size() > kMaxLayoutSize)
        throw AppError(err::LayoutDamaged, kSource,
                       QStringLiteral("Die Menüeinstellungen %1 sind zu groß und wurden nicht "
                                      "geladen.")
                           .arg(path));
    const Layout layout = ToolRegistry::parseLayout(file.readAll());
    if (!layout.windowState.isEmpty() && !window_->restoreState(layout.windowState, kStateVersion))
        throw AppError(err::LayoutDamaged, kSource,
                       QStringLiteral("Die Menüeinstellungen %1 sind beschädigt und wurden nicht "
                                      "geladen: die Fensteranordnung ist ungültig.")
                           .arg(path));
    registry_.applyLayout(layout);
    for (const Tool &tool : registry_.tools()) {
        QAction *a = action(tool.band, tool.name);
        a->setChecked(tool.checked);
        a->setEnabled(tool.enabled);
    }
    return true;
}

void CommandBars::click(int id) {
    QAction *a = actionById(id);
    if (!a) {
        emit toolClicked(id);
        return;
    }
    if (!a->isEnabled()) return;
    if (const Tool *tool = registry_.findById(id); tool && !tool->opens.isEmpty()) {
        emit menu(tool->opens)->aboutToShow();
        return;
    }
    a->trigger();
}

void CommandBars::onTriggered(QAction *action) {
    const QString band = action->property("band").toString();
    const QString name = action->property("toolName").toString();
    // Qt has already flipped a checkable action; the registry still holds the
    // state before the click, which the layout saved by the dispatcher must record.
    if (const Tool *tool = registry_.find(band, name); tool && action->isCheckable())
        action->setChecked(tool->checked);
    emit toolClicked(action->property("toolId").toInt());
}

}  // namespace tarnis
