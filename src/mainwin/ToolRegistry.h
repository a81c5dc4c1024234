#pragma once
// Every band and tool of the main window's menus and toolbar, with the states a
// tool carries (checked, enabled), and the layout file USERLAYOUT.TB as bytes.
//
// Commands are found by tool ID. IDs are not unique (two menu-bar tools share
// 20068) and names are not unique either ("mnuDrucken" is in two bands, the report
// tools share their names), but band and name together are.
#include "platform/errors/AppError.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace tarnis {

enum class BandKind { MenuBar, Popup, Toolbar };

struct Band {
    QString name;
    BandKind kind;
};

struct Tool {
    int id = 0;
    QString name;
    QString caption;
    QString band;            // the band that holds the tool
    QString opens;           // the popup band it opens; empty for a command tool
    bool separatorBefore = false;
    bool checkable = false;  // only the print-mode pair
    bool checked = false;
    bool enabled = true;
};

// The states of one tool as a layout file carries them.
struct ToolState {
    QString band;
    QString name;
    int id = 0;
    bool checked = false;
    bool enabled = true;
};

// A parsed layout file: the window's toolbar arrangement and the tool states.
struct Layout {
    QByteArray windowState;  // QMainWindow::saveState() data; may be empty
    std::vector<ToolState> tools;
};

// Error numbers of the layout file.
namespace err {
constexpr int LayoutSaveFailed = 2000;
constexpr int LayoutDamaged = 2001;
}  // namespace err

class ToolRegistry {
public:
    // The designed layout: "Vorschau" checked, "Drucken" unchecked; the three tools
    // that the load sequence enables ("&Serienbrief exportieren", the menu-bar entry
    // "D&rucken - HTML" and "Löschen") start disabled.
    ToolRegistry();

    // The bands in their designed order.
    static const std::vector<Band> &bands();

    const std::vector<Tool> &tools() const { return tools_; }

    // Lookup by band and tool name (unique); nullptr when there is none.
    const Tool *find(const QString &band, const QString &name) const;
    // The first tool in band order that carries the ID; nullptr when none does.
    const Tool *findById(int id) const;
    // Every tool that carries the ID.
    std::vector<const Tool *> allWithId(int id) const;

    // State changes; raise 3265 when band and name name no tool.
    void setChecked(const QString &band, const QString &name, bool checked);
    void setEnabled(const QString &band, const QString &name, bool enabled);

    // The layout file's bytes (UTF-8, LF) for the given window state.
    QByteArray saveLayout(const QByteArray &windowState) const;
    // Reads a layout file without changing anything; raises err::LayoutDamaged with a
    // German description when the bytes are not a layout file of a version we read.
    static Layout parseLayout(const QByteArray &bytes);
    // Applies a parsed layout. Tools the file does not know are ignored; tools the
    // file lacks keep their state. A tool that is enabled now stays enabled: the load
    // sequence enables its tools before the layout is loaded, and an older file must
    // not switch them off again.
    void applyLayout(const Layout &layout);

private:
    Tool *findMutable(const QString &band, const QString &name);
    std::vector<Tool> tools_;
};

}  // namespace tarnis
