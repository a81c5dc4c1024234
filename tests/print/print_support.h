#pragma once
// Doubles for the print tests: a main window that records what the lists ask of
// it, a print control on a builder with fixed metrics, a fixture over a series file,
// and helpers that read a finished document back.
#include "../common/NullMainWindow.h"
#include "core/db/Create.h"
#include "core/db/Globals.h"
#include "platform/printing/DocumentBuilder.h"
#include "platform/printing/PrintControl.h"
#include "platform/settings/Settings.h"
#include "platform/ui/ScriptedUi.h"

#include "print/forms/PreviewPane.h"

#include <QMap>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <cmath>
#include <gmock/gmock.h>
#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace tarnis::printtest {

class FakeWindow : public tarnis::testing::NullMainWindow {
public:
    bool direct = false;
    bool shown = false;
    int pageCountCalls = 0;

    bool printDirect() const override { return direct; }
    void showPreview() override { shown = true; }
    bool previewVisible() const override { return shown; }
    void closePreview() override { shown = false; }
    void ShowPageCount() override { ++pageCountCalls; }
};

// A4, margins 720; every character 10 twips per point, lines 24 twips per point.
class FakeControl : public print::PrintControl {
public:
    print::FixedTextMetrics metrics;
    print::DocumentBuilder docBuilder{metrics, [] { return print::PageSetup{}; }};
    std::shared_ptr<const print::Document> shownDoc;
    int printed = 0;
    bool printerFails = false;

    print::IDocumentBuilder &builder() override { return docBuilder; }
    void setDocument(std::shared_ptr<const print::Document> doc) override { shownDoc = std::move(doc); }
    std::shared_ptr<const print::Document> document() const override { return shownDoc; }
    int previewPage() const override { return shownDoc ? 1 : 0; }
    void printDocument(const print::Document &) override {
        if (printerFails) throw AppError(print::kPrinterError, "test", "kein Drucker");
        ++printed;
    }
    void printerDialog() override {}
    void pageSetupDialog() override {}
};

// A fresh settings store, the scripted dialogs and a series file of `races` races
// opened as the program's database.
class SeriesPrintTest : public ::testing::Test {
protected:
    QTemporaryDir dir, config;
    ScriptedUi scripted;

    void openSeries(int races) {
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        reloadSettings();
        setUi(&scripted);
        CreateSeriesFile(dir.filePath(QStringLiteral("series.mdb")), races);
        gDB = Database::open(dir.filePath(QStringLiteral("series.mdb")));
    }
    void TearDown() override { gDB.reset(); }
    static void order(const char *klasse, int index) {
        db().execute("INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES (?1, ?2)", {klasse, index});
    }
};

// How often each fill colour is used on one page.
inline QMap<quint32, int> fills(const print::Document &doc, int page) {
    QMap<quint32, int> count;
    for (const auto &op : doc.pages[std::size_t(page)].ops)
        if (const auto *f = std::get_if<print::FillOp>(&op)) ++count[f->bgr];
    return count;
}

// The texts of one page between header and footer, one entry per line of text
// (items on the same y joined by "|"), in drawing order.
inline QStringList bodyRows(const print::Document &doc, int page, double bodyTop, double bodyBottom) {
    QStringList rows;
    QMap<long long, int> rowOfY;
    for (const auto &op : doc.pages[std::size_t(page)].ops) {
        const auto *t = std::get_if<print::TextOp>(&op);
        if (!t || t->topLeft.y() < bodyTop || t->topLeft.y() >= bodyBottom) continue;
        const long long y = std::llround(t->topLeft.y());
        if (!rowOfY.contains(y)) {
            rowOfY.insert(y, int(rows.size()));
            rows.append(t->text);
        } else {
            rows[rowOfY.value(y)] += QLatin1Char('|') + t->text;
        }
    }
    return rows;
}

// Prints directly into the PDF file `pdf` through the real pane and fonts.
template <class Print>
void printToPdf(FakeWindow &window, const QString &pdf, Print print) {
    qputenv("TARNIS_PRINT_PDF", pdf.toUtf8());
    PreviewPane pane(&window);
    window.direct = true;
    print(pane);
    qunsetenv("TARNIS_PRINT_PDF");
}

// What a program (pdfinfo, pdftotext) writes to its standard output.
inline QString programOutput(const QString &program, const QStringList &args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace tarnis::printtest
