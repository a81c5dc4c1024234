#pragma once
// The main window's menu bar, popups and toolbar, built from the ToolRegistry.
// One QAction per tool carries the properties "toolId", "toolName" and "band";
// the registry holds the checked and enabled states, the actions mirror them.
#include "mainwin/ToolRegistry.h"

#include <QObject>
#include <QString>
#include <map>
#include <utility>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace tarnis {

class CommandBars : public QObject {
    Q_OBJECT
public:
    // Builds the menu bar (band mnuGlobal), one QMenu per popup band and the
    // toolbar "Band1" into the window.
    explicit CommandBars(QMainWindow *window);

    const ToolRegistry &registry() const { return registry_; }

    QAction *action(const QString &band, const QString &name) const;
    QAction *actionById(int id) const;  // the first tool with that ID
    QMenu *menu(const QString &band) const;
    QToolBar *toolBar() const { return toolBar_; }

    bool isChecked(const QString &band, const QString &name) const;
    bool isEnabled(const QString &band, const QString &name) const;
    // Both raise 3265 for an unknown tool.
    void setChecked(const QString &band, const QString &name, bool checked);
    void setEnabled(const QString &band, const QString &name, bool enabled);

    // Writes the layout (toolbar arrangement and tool states) atomically; any
    // failure raises err::LayoutSaveFailed (2000).
    void saveLayout(const QString &path) const;
    // Loads a layout file. False when there is no such file; a file that cannot be
    // read or is damaged raises err::LayoutDamaged and changes nothing.
    bool loadLayout(const QString &path);

    // Clicks the first tool with the ID, as the user would (tests, season runner).
    // IDs that no tool carries (4, 5, 6) are reported as clicked all the same.
    void click(int id);

signals:
    // A tool was clicked or a popup opened. A checkable tool's checked state has
    // been put back to its state before the click, so a layout saved now records
    // that state; the command then sets the new one.
    void toolClicked(int id);

private:
    void onTriggered(QAction *action);

    QMainWindow *window_;
    ToolRegistry registry_;
    std::map<std::pair<QString, QString>, QAction *> actions_;
    std::map<QString, QMenu *> menus_;
    QToolBar *toolBar_ = nullptr;
};

}  // namespace tarnis
