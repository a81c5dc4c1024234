#include "mainwin/Dispatch.h"

#include "core/services/ShowError.h"
#include "mainwin/commands/CertificateCommands.h"
#include "mainwin/commands/CoreCommands.h"
#include "mainwin/commands/DatabaseCommands.h"
#include "mainwin/commands/ExportCommands.h"
#include "mainwin/commands/ListCommands.h"
#include "mainwin/commands/PrefsCommand.h"
#include "mainwin/commands/PrintCommands.h"
#include "mainwin/commands/PrintMode.h"

#include <map>

namespace tarnis {

namespace {

struct Entry {
    const char *procedure;
    bool reportsFailure;
    void (*run)(MainWindowApi &);  // nullptr: the window runs it
};

// A failure that escapes a command whose work the organiser relies on (data changed,
// a file, a list or print, settings, the series opened) goes to the error dialog: dropped,
// it would pass for success. Silent stay the commands that leave nothing to believe in:
// help, the about box, exit (its shutdown guards every step), the print-mode toggles and
// the printer dialogs (their choice is taken in memory once the dialog is left).
const std::map<int, Entry> &table() {
    static const std::map<int, Entry> t = {
        {1, {"mnuSortAsc", true, &mnuSortAsc}},
        {2, {"mnuSortDesc", true, &mnuSortDesc}},
        {3, {"CountWertung", true, &mnuCountWertung}},
        {5, {"ShowHelp", false, nullptr}},
        {7, {"frmAbout", false, nullptr}},
        {10001, {"mnuDateiImport", true, &mnuDateiImport}},
        {10002, {"mnuSerExport", true, &mnuSerExport}},
        {10003, {"mnuBeenden", false, &mnuBeenden}},
        {20011, {"mnuLaufLöschen", true, &mnuLaufLoeschen}},
        {20012, {"mnuAllesLöschen", true, &mnuAllesLoeschen}},
        {20013, {"mnuPKTloeschen", true, &mnuPKTloeschen}},
        {20014, {"mnuAKLLöschen", true, &mnuAKLLoeschen}},
        {20020, {"mnuReparieren", true, &mnuReparieren}},
        {20030, {"mnuKomprimieren", true, &mnuKomprimieren}},
        {20041, {"mnuSichern", true, &mnuSichern}},
        {20042, {"mnuRestaurieren", true, &mnuRestaurieren}},
        {20043, {"mnuDBErstellen", true, &mnuDBErstellen}},
        {30011, {"mnuVorschau", false, &mnuVorschau}},
        {30012, {"mnuDrucken", false, &mnuDrucken}},
        {30020, {"mnuHardcopy", true, nullptr}},
        {30031, {"mnuGridDruckerReport", true, &mnuGridDruckerReport}},
        {30041, {"mnuVWDruckerReport", true, &mnuVWDruckerReport}},
        {30042, {"mnuVWHTMLReport", true, &mnuVWHTMLReport}},
        {30051, {"mnuAKLDruckerReport", true, &mnuAKLDruckerReport}},
        {30052, {"mnuAKLHTMLReport", true, &mnuAKLHTMLReport}},
        {30061, {"mnuZWDruckerReport", true, &mnuZWDruckerReport}},
        {30062, {"mnuZWHTMLReport", true, &mnuZWHTMLReport}},
        {30063, {"mnuZwPresseliste", true, &mnuZwPresseliste}},
        {30071, {"mnuEWDruckerReport", true, &mnuEWDruckerReport}},
        {30072, {"mnuEWHTMLReport", true, &mnuEWHTMLReport}},
        {30073, {"mnuEwPresseliste", true, &mnuEwPresseliste}},
        {30081, {"mnuAlleTNinEW", true, &mnuAlleTNinEW}},
        {30082, {"mnuSelTN", true, &mnuSelTN}},
        {30083, {"mnuUrkundeAltersklasse", true, &mnuUrkundeAltersklasse}},
        {30090, {"mnuGridHTMLReport", true, &mnuGridHTMLReport}},
        {40010, {"mnuPrefsDruckerEinst", false, &mnuPrefsDruckerEinst}},
        {40020, {"mnuPrefsDruckerPapEinst", false, &mnuPrefsDruckerPapEinst}},
        {40030, {"mnuVoreinstellungen", true, &mnuVoreinstellungen}},
    };
    return t;
}

const Entry *find(int id) {
    const auto it = table().find(id);
    return it == table().end() ? nullptr : &it->second;
}

}  // namespace

QString CommandProcedure(int id) {
    const Entry *e = find(id);
    return e ? QString::fromUtf8(e->procedure) : QString();
}

bool CommandReportsFailure(int id) {
    const Entry *e = find(id);
    return e && e->reportsFailure;
}

Command LogicCommand(int id) {
    const Entry *e = find(id);
    if (!e) return {};
    return e->run ? Command(e->run) : Command();
}

void RunCommand(int id, const std::function<void()> &command) {
    try {
        command();
    } catch (...) {
        if (!CommandReportsFailure(id)) return;
        try {
            ShowError(toAppError(std::current_exception()), QString(), CommandProcedure(id));
        } catch (...) {
        }
    }
}

}  // namespace tarnis
