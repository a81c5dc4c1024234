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

const std::map<int, Entry> &table() {
    static const std::map<int, Entry> t = {
        {1, {"mnuSortAsc", false, &mnuSortAsc}},
        {2, {"mnuSortDesc", false, &mnuSortDesc}},
        {3, {"CountWertung", false, &mnuCountWertung}},
        {5, {"ShowHelp", false, nullptr}},
        {7, {"frmAbout", false, nullptr}},
        {10001, {"mnuDateiImport", false, &mnuDateiImport}},
        {10002, {"mnuSerExport", false, &mnuSerExport}},
        {10003, {"mnuBeenden", false, &mnuBeenden}},
        {20011, {"mnuLaufLöschen", true, &mnuLaufLoeschen}},
        {20012, {"mnuAllesLöschen", true, &mnuAllesLoeschen}},
        {20013, {"mnuPKTloeschen", true, &mnuPKTloeschen}},
        {20014, {"mnuAKLLöschen", true, &mnuAKLLoeschen}},
        {20020, {"mnuReparieren", true, &mnuReparieren}},
        {20030, {"mnuKomprimieren", true, &mnuKomprimieren}},
        {20041, {"mnuSichern", true, &mnuSichern}},
        {20042, {"mnuRestaurieren", true, &mnuRestaurieren}},
        {20043, {"mnuDBErstellen", false, &mnuDBErstellen}},
        {30011, {"mnuVorschau", false, &mnuVorschau}},
        {30012, {"mnuDrucken", false, &mnuDrucken}},
        // A print that fails is reported, never dropped.
        {30020, {"mnuHardcopy", true, nullptr}},
        {30031, {"mnuGridDruckerReport", false, &mnuGridDruckerReport}},
        {30041, {"mnuVWDruckerReport", false, &mnuVWDruckerReport}},
        {30042, {"mnuVWHTMLReport", false, &mnuVWHTMLReport}},
        {30051, {"mnuAKLDruckerReport", false, &mnuAKLDruckerReport}},
        {30052, {"mnuAKLHTMLReport", false, &mnuAKLHTMLReport}},
        {30061, {"mnuZWDruckerReport", false, &mnuZWDruckerReport}},
        {30062, {"mnuZWHTMLReport", false, &mnuZWHTMLReport}},
        {30063, {"mnuZwPresseliste", false, &mnuZwPresseliste}},
        {30071, {"mnuEWDruckerReport", false, &mnuEWDruckerReport}},
        {30072, {"mnuEWHTMLReport", false, &mnuEWHTMLReport}},
        {30073, {"mnuEwPresseliste", false, &mnuEwPresseliste}},
        {30081, {"mnuAlleTNinEW", false, &mnuAlleTNinEW}},
        {30082, {"mnuSelTN", false, &mnuSelTN}},
        {30083, {"mnuUrkundeAltersklasse", true, &mnuUrkundeAltersklasse}},
        {30090, {"mnuGridHTMLReport", false, &mnuGridHTMLReport}},
        {40010, {"mnuPrefsDruckerEinst", false, &mnuPrefsDruckerEinst}},
        {40020, {"mnuPrefsDruckerPapEinst", false, &mnuPrefsDruckerPapEinst}},
        {40030, {"mnuVoreinstellungen", false, &mnuVoreinstellungen}},
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
