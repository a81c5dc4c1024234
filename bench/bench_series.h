#pragma once
// A generated series of finishers for the benchmarks, opened as the program's
// database, with a user interface that offers one file, gives one answer to every
// message and counts error dialogs.
#include "core/db/Create.h"
#include "core/db/Globals.h"
#include "platform/settings/Settings.h"
#include "platform/ui/Ui.h"

#include <QTemporaryDir>

namespace tarnis::bench {

class QuietUi : public Ui {
public:
    int errors = 0;
    QString file;                      // the open dialog's answer
    MsgAnswer answer = MsgAnswer::Ok;  // every message box's answer
    MsgAnswer message(const QString &, MsgButtons, MsgIcon, const QString &, const QString &) override { return answer; }
    QString openFileName(const FileDialogRequest &) override { return file; }
    QString saveFileName(const FileDialogRequest &) override { return {}; }
    std::optional<int> pickRace(int) override { return std::nullopt; }
    std::optional<QString> pickAgeClass(const QStringList &) override { return std::nullopt; }
    std::optional<QString> inputText(const QString &, const QString &, const QString &) override { return std::nullopt; }
    ErrorChoice errorDialog(const ErrorReport &) override {
        ++errors;
        return ErrorChoice::Continue;
    }
    void showProgress(int) override {}
    void stepProgress() override {}
    void hideProgress() override {}
    void setBusy(bool) override {}
    void endProgram() override {}
};

// `finishers` participants with a final total in `classes` classes of the class order.
struct FinisherSeries {
    QTemporaryDir dir;
    QuietUi quiet;

    FinisherSeries(int finishers, int classes, int races) {
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
        reloadSettings();
        setUi(&quiet);
        const QString path = dir.filePath(QStringLiteral("series.mdb"));
        CreateSeriesFile(path, races);
        gDB = Database::open(path);
        gDB->beginTrans();
        Statement order = gDB->prepare(QStringLiteral("INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES (?1, ?2)"));
        for (int c = 0; c < classes; ++c) order.execute({QStringLiteral("K%1").arg(c), c});
        Statement add = gDB->prepare(QStringLiteral(
            "INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Endwertung, Zwischenwertung)"
            " VALUES (?1, ?2, ?3, ?4, ?5, ?6, 0)"));
        for (int i = 0; i < finishers; ++i)
            add.execute({QStringLiteral("Läuferin %1").arg(i), QStringLiteral("Eva"), 1950 + i % 50,
                         QStringLiteral("K%1").arg(i % classes), QStringLiteral("LG Süd %1").arg(i % 300),
                         std::int64_t(1 + (i * 7919) % 5000)});
        gDB->commitTrans();
    }
    ~FinisherSeries() {
        gDB.reset();
        setUi(nullptr);
    }
};

}  // namespace tarnis::bench
