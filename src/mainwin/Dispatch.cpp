#include "mainwin/Dispatch.h"

#include "core/services/ShowError.h"
#include "mainwin/commands/CertificateCommands.h"
#include "mainwin/commands/CoreCommands.h"
#include "mainwin/commands/DatabaseCommands.h"
#include "mainwin/commands/ExportCommands.h"
#include "mainwin/commands/ListCommands.h"
#include "mainwin/commands/NotYetBuilt.h"
#include "mainwin/commands/PrefsCommand.h"
#include "mainwin/commands/PrintCommands.h"
#include "mainwin/commands/PrintMode.h"

#include <map>

namespace tarnis {

namespace {

struct Entry {
    const char *procedure;
    bool reportsFailure;
    void (*run)(MainWindowApi &);  // nullptr: the window runs it, or not built yet
    bool built;
};

const std::map<int, Entry> &table() {
    static const std::map<int, Entry> t = {
        {1, {"mnuSortAsc", false, &mnuSortAsc, true}},
        {2, {"mnuSortDesc", false, &mnuSortDesc, true}},
        {3, {"CountWertung", false, &mnuCountWertung, true}},
        {5, {"ShowHelp", false, nullptr, true}},
        {7, {"frmAbout", false, nullptr, true}},
        {10001, {"mnuDateiImport", false, &mnuDateiImport, true}},
        {10002, {"mnuSerExport", false, &mnuSerExport, true}},
        {10003, {"mnuBeenden", false, &mnuBeenden, true}},
        {20011, {"mnuLaufLöschen", true, &mnuLaufLoeschen, true}},
        {20012, {"mnuAllesLöschen", true, &mnuAllesLoeschen, true}},
        {20013, {"mnuPKTloeschen", true, &mnuPKTloeschen, true}},
        {20014, {"mnuAKLLöschen", true, &mnuAKLLoeschen, true}},
        {20020, {"mnuReparieren", true, &mnuReparieren, true}},
        {20030, {"mnuKomprimieren", true, &mnuKomprimieren, true}},
        {20041, {"mnuSichern", true, &mnuSichern, true}},
        {20042, {"mnuRestaurieren", true, &mnuRestaurieren, true}},
        {20043, {"mnuDBErstellen", false, nullptr, true}},
        {30011, {"mnuVorschau", false, &mnuVorschau, true}},
        {30012, {"mnuDrucken", false, &mnuDrucken, true}},
        // A print that fails is reported, never dropped.
        {30020, {"mnuHardcopy", true, nullptr, true}},
        {30031, {"mnuGridDruckerReport", false, &mnuGridDruckerReport, true}},
        {30041, {"mnuVWDruckerReport", false, &mnuVWDruckerReport, true}},
        {30042, {"mnuVWHTMLReport", false, &mnuVWHTMLReport, true}},
        {30051, {"mnuAKLDruckerReport", false, &mnuAKLDruckerReport, true}},
        {30052, {"mnuAKLHTMLReport", false, &mnuAKLHTMLReport, true}},
        {30061, {"mnuZWDruckerReport", false, &mnuZWDruckerReport, true}},
        {30062, {"mnuZWHTMLReport", false, &mnuZWHTMLReport, true}},
        {30063, {"mnuZwPresseliste", false, &mnuZwPresseliste, true}},
        {30071, {"mnuEWDruckerReport", false, &mnuEWDruckerReport, true}},
        {30072, {"mnuEWHTMLReport", false, &mnuEWHTMLReport, true}},
        {30073, {"mnuEwPresseliste", false, &mnuEwPresseliste, true}},
        {30081, {"mnuAlleTNinEW", false, &mnuAlleTNinEW, true}},
        {30082, {"mnuSelTN", false, &mnuSelTN, true}},
        {30083, {"mnuUrkundeAltersklasse", true, &mnuUrkundeAltersklasse, true}},
        {30090, {"mnuGridHTMLReport", false, &mnuGridHTMLReport, true}},
        {40010, {"mnuPrefsDruckerEinst", false, &mnuPrefsDruckerEinst, true}},
        {40020, {"mnuPrefsDruckerPapEinst", false, &mnuPrefsDruckerPapEinst, true}},
        {40030, {"mnuVoreinstellungen", false, &mnuVoreinstellungen, true}},
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
    if (!e->built) return [id](MainWindowApi &) { notYetBuilt(id); };
    if (e->run) return e->run;
    return {};
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
