#include "season_case.h"

#include "season_archive.h"
#include "season_files.h"
#include "season_newdb.h"

#include "TestServer.h"
#include "about/forms/frmAbout.h"

#include "core/db/Create.h"
#include "core/db/Globals.h"
#include "mainwin/forms/frmSerienwertung.h"
#include "platform/engine/Database.h"
#include "platform/printing/PageDump.h"
#include "platform/settings/Settings.h"
#include "platform/text/Clock.h"
#include "platform/ui/ScriptedUi.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <QWidget>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>
#include <memory>

namespace seasons {

using namespace tarnis;

namespace {

const QDateTime kDefaultNow(QDate(2026, 12, 5), QTime(12, 0));
const QString kSeriesFile = QStringLiteral("series.mdb");
bool databaseDialogShown = false;

// A failed step: the message names it.
struct StepFailure {
    QString why;
};

// What a downloaded program writes must not take the runner's memory: its peak use may
// grow by this much during an update.
constexpr qint64 kUpdateMemoryKb = 128 << 10;

// A "Vm…:" line of /proc/self/status in kB; -1 when there is none.
qint64 memoryKb(const QByteArray &key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key + ':')) return line.mid(key.size() + 1).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// The memory the peak is measured from: the peak is set back to the present use, or
// where that cannot be done, the peak so far.
qint64 startPeakMemory() {
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    const bool reset = clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
    clearRefs.close();
    return memoryKb(reset ? "VmRSS" : "VmHWM");
}

class SeasonCase {
public:
    SeasonCase(const QString &workDir) : work_(QDir(workDir).absolutePath()) {
        ui_.setWorkFolder(work_);
        setUi(&ui_);
    }

    ~SeasonCase() {
        // The window goes without its shutdown: the case is over and compared.
        window_.reset();
        gDB.reset();
        gDBPath.clear();
        frmSerienwertung::setDatabaseDialogHook({});
        frmSerienwertung::setSplashHook({});
    }

    void run(const QString &step, const QString &argument) {
        if (step == QLatin1String("now")) now(argument);
        else if (step == QLatin1String("setting")) setting(argument);
        else if (step == QLatin1String("database")) database(argument);
        else if (step == QLatin1String("sql")) sql(argument);
        else if (step == QLatin1String("answer")) answer(argument);
        else if (step == QLatin1String("select")) select(argument);
        else if (step == QLatin1String("tool")) tool(argument);
        else if (step == QLatin1String("dump")) dump(argument);
        else if (step == QLatin1String("messages")) messages(argument);
        else if (step == QLatin1String("pages")) pages(argument);
        else if (step == QLatin1String("settings")) settings(argument);
        else if (step == QLatin1String("archive")) archive(argument);
        else if (step == QLatin1String("update")) update(argument);
        else throw StepFailure{QStringLiteral("unknown step \"%1\"").arg(step)};
        checkDialogs();
    }

    // Answers queued but never asked for.
    void checkLeftovers() {
        const QStringList left = ui_.leftoverAnswers() + leftoverNewDatabases();
        if (!left.isEmpty())
            throw StepFailure{QStringLiteral("answers left over: %1").arg(left.join(QStringLiteral(", ")))};
    }

private:
    void now(const QString &text) {
        QDateTime value = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!value.isValid()) {
            const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
            if (date.isValid()) value = QDateTime(date, QTime(0, 0));
        }
        if (!value.isValid()) throw StepFailure{QStringLiteral("not a time: \"%1\"").arg(text)};
        setFixedNow(value);
    }

    void setting(const QString &text) {
        const QStringList parts = text.split(QLatin1Char('|'));
        if (parts.size() < 3) throw StepFailure{QStringLiteral("expected \"Section | Key | Value\"")};
        QString value = parts.mid(2).join(QLatin1Char('|'));
        if (value.startsWith(QLatin1Char(' '))) value.remove(0, 1);  // the blank after "|"
        SaveSetting(parts[0].trimmed(), parts[1].trimmed(), value);
    }

    void database(const QString &text) {
        bool ok = false;
        const int races = text.trimmed().toInt(&ok);
        if (!ok || races < 1) throw StepFailure{QStringLiteral("not a race count: \"%1\"").arg(text)};
        const QString path = QDir(work_).filePath(kSeriesFile);
        // A new series replaces the one the window has open.
        if (gDB) gDB->close();
        if (QFileInfo::exists(path) && !QFile::remove(path))
            throw StepFailure{QStringLiteral("cannot replace %1").arg(kSeriesFile)};
        CreateSeriesFile(path, races);
        SaveSetting(QStringLiteral("LastUser"), QStringLiteral("Datenbank"), path);
        SaveSetting(QStringLiteral("LastUser"), QStringLiteral("MaxLaufErf"), QString::number(races));

        if (window_ && window_->isVisible()) {
            window_->reload();
        } else {
            window_ = std::make_unique<frmSerienwertung>();
            window_->start();
        }
        if (databaseDialogShown)
            throw StepFailure{QStringLiteral("the database dialog was shown: the series file did not open")};
        if (window_->programEnded()) throw StepFailure{QStringLiteral("the program ended while loading")};
        checkLeftovers();
    }

    void sql(const QString &statement) { db().execute(statement); }

    void answer(const QString &text) {
        QString why;
        if (text.startsWith(QLatin1String("newdb "))) {
            if (!queueNewDatabase(text.mid(6), work_, &why)) throw StepFailure{why};
            return;
        }
        if (!ui_.answer(text)) throw StepFailure{QStringLiteral("unknown answer \"%1\"").arg(text)};
    }

    // Grid row n (from 1) becomes the current and only selected row; 0 clears.
    void select(const QString &text) {
        bool ok = false;
        const int row = text.trimmed().toInt(&ok);
        if (!window_) throw StepFailure{QStringLiteral("no main window yet (a \"database\" step starts it)")};
        if (!ok || row < 0 || row > window_->gridRowCount())
            throw StepFailure{QStringLiteral("no grid row \"%1\" (the grid has %2)").arg(text).arg(window_->gridRowCount())};
        window_->selectGridRow(row - 1);
    }

    void tool(const QString &text) {
        bool ok = false;
        const int id = text.trimmed().toInt(&ok);
        if (!ok) throw StepFailure{QStringLiteral("not a tool ID: \"%1\"").arg(text)};
        if (!window_) throw StepFailure{QStringLiteral("no main window yet (a \"database\" step starts it)")};
        // A window of its own that a command shows modally would wait for a user
        // forever: close it and fail the case.
        QString unscripted;
        QTimer watchdog;
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                unscripted = modal->objectName().isEmpty() ? QString::fromLatin1(modal->metaObject()->className())
                                                           : modal->objectName();
                modal->close();
            }
        });
        watchdog.start(200);
        databaseDialogShown = false;
        window_->clickTool(id);
        QCoreApplication::processEvents();
        watchdog.stop();
        if (!unscripted.isEmpty())
            throw StepFailure{QStringLiteral("tool %1 showed the window %2, which no answer can reach").arg(id).arg(unscripted)};
        if (databaseDialogShown)
            throw StepFailure{QStringLiteral("tool %1 showed the database dialog, which no answer can reach").arg(id)};
        checkDialogs();
        checkLeftovers();
    }

    void dump(const QString &text) {
        const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.size() != 2) throw StepFailure{QStringLiteral("expected \"dump <table> <file>\"")};
        QStringList lines;
        if (gDB && gDB->isOpen()) {
            lines = dumpTable(*gDB, parts[0]);
        } else {
            // After the shutdown the series file is closed; read what it stored.
            const QString path = gDBPath.isEmpty() ? QDir(work_).filePath(kSeriesFile) : gDBPath;
            lines = dumpTable(*Database::open(path), parts[0]);
        }
        write(parts[1], lines);
    }

    // The date that ends an overwrite question is the file's own time, which no
    // fixed clock reaches.
    void messages(const QString &file) {
        static const QRegularExpression fileDate(QStringLiteral("(Erstellungsdatum: ).+$"));
        QStringList lines = ui_.messages();
        for (QString &line : lines) line.replace(fileDate, QStringLiteral("\\1<date>"));
        write(file.trimmed(), lines);
    }

    void pages(const QString &file) {
        const auto doc = print::lastFinishedDocument();
        if (!doc) throw StepFailure{QStringLiteral("no document has been finished")};
        QString text = print::dumpPages(*doc);
        if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
        write(file.trimmed(), text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n')));
    }

    // Every stored setting, sorted by section, then key, without regard to case; the
    // work folder written as "<work>" so that the expected file does not depend on it.
    void settings(const QString &file) {
        QList<StoredSetting> all = AllSettings();
        std::stable_sort(all.begin(), all.end(), [](const StoredSetting &a, const StoredSetting &b) {
            if (const int c = a.section.compare(b.section, Qt::CaseInsensitive)) return c < 0;
            return a.key.compare(b.key, Qt::CaseInsensitive) < 0;
        });
        QStringList lines;
        for (const StoredSetting &s : all) {
            QString value = s.value;
            value.replace(work_, QStringLiteral("<work>"));
            value.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
            value.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
            lines << s.section + QLatin1Char('\t') + s.key + QLatin1Char('\t') + value;
        }
        write(file.trimmed(), lines);
    }

    // archive <file> <recipe>: see makeUpdateArchive.
    void archive(const QString &text) {
        const QString trimmed = text.trimmed();
        const qsizetype blank = trimmed.indexOf(QLatin1Char(' '));
        if (blank < 0) throw StepFailure{QStringLiteral("expected \"archive <file> <recipe>\"")};
        QString why;
        if (!makeUpdateArchive(QDir(work_).absoluteFilePath(trimmed.left(blank)), trimmed.mid(blank + 1), work_, &why))
            throw StepFailure{why};
    }

    // Serves the folder's version list and archive on 127.0.0.1 and clicks the about
    // box's "neue Version?"; the program file it replaces is "<work>/tarnis". Fails
    // when a process of the update is left running, or when the update took memory.
    void update(const QString &text) {
        const QString folder = QDir(work_).absoluteFilePath(text.trimmed());
        if (text.trimmed().isEmpty() || !QFileInfo(folder).isDir())
            throw StepFailure{QStringLiteral("no folder \"%1\"").arg(text.trimmed())};
        tarnis::test::HttpTestServer server;
        for (const QString &name : {QStringLiteral("versions.txt"), QStringLiteral("tarnis.zip")}) {
            QFile file(QDir(folder).filePath(name));
            if (file.open(QIODevice::ReadOnly)) server.reply(u'/' + name, 200, file.readAll());
        }
        qputenv("TARNIS_TEST_UPDATE_URL", server.base().toUtf8());
        const qint64 memoryBefore = startPeakMemory();
        {
            frmAbout box;
            box.show();
            box.findChild<QPushButton *>(QStringLiteral("cmdCheckNewVersion"))->click();
            box.findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
        }
        qunsetenv("TARNIS_TEST_UPDATE_URL");
        const qint64 grown = memoryKb("VmHWM") - memoryBefore;
        if (memoryBefore >= 0 && grown > kUpdateMemoryKb)
            throw StepFailure{QStringLiteral("the update took %1 MiB of memory").arg(grown >> 10)};
        // A checked program runs in the work folder (the current one): nothing it
        // started may outlive the update.
        const QList<qint64> left = tarnis::test::processesLeftIn(work_, 2000);
        if (!left.isEmpty())
            throw StepFailure{QStringLiteral("%1 process(es) of the update left running").arg(left.size())};
        checkDialogs();
        checkLeftovers();
    }

    void write(const QString &file, const QStringList &lines) {
        QString why;
        if (file.isEmpty()) throw StepFailure{QStringLiteral("no file named")};
        if (!writeLines(QDir(work_).absoluteFilePath(file), lines, &why)) throw StepFailure{why};
    }

    void checkDialogs() {
        if (!ui_.failures().isEmpty()) throw StepFailure{ui_.failures().join(QStringLiteral("; "))};
        if (ui_.endProgramCalls() > 0) throw StepFailure{QStringLiteral("the program was ended")};
    }

    QString work_;
    ScriptedUi ui_;
    std::unique_ptr<frmSerienwertung> window_;
};

}  // namespace

CaseResult runCase(const QString &caseDir, const QString &workDir, const QString &configDir) {
    QString why;
    if (!copyTree(caseDir, workDir, &why)) return {false, why};

    // Every case: an empty settings store, the work folder as program folder and
    // current folder, its "share" folder as the per-user data folder (so the layout
    // file is "share/Lrv. Tarnis/USERLAYOUT.TB"), the default clock, no document printed yet.
    qputenv("XDG_CONFIG_HOME", configDir.toUtf8());
    qputenv("TARNIS_PROGRAM_DIR", QDir(workDir).absolutePath().toUtf8());
    qputenv("XDG_DATA_HOME", QDir(workDir).absoluteFilePath(QStringLiteral("share")).toUtf8());
    reloadSettings();
    setFixedNow(kDefaultNow);
    print::rememberFinishedDocument(nullptr);
    const QString previousDir = QDir::currentPath();
    QDir::setCurrent(workDir);

    QFile script(QDir(caseDir).filePath(QStringLiteral("case.txt")));
    if (!script.open(QIODevice::ReadOnly)) return {false, QStringLiteral("case.txt missing")};
    const QStringList lines = QString::fromUtf8(script.readAll()).split(QLatin1Char('\n'));

    // A temporary folder of the case's own: runs side by side on one machine never
    // meet in each other's update work folders.
    const QByteArray previousTemp = qgetenv("TMPDIR");
    const bool hadTemp = qEnvironmentVariableIsSet("TMPDIR");
    const QString temp = QDir(workDir).absoluteFilePath(QStringLiteral("tmp"));
    QDir().mkpath(temp);
    qputenv("TMPDIR", temp.toUtf8());

    CaseResult result;
    {
        frmSerienwertung::setSplashHook([] {});
        databaseDialogShown = false;
        forgetNewDatabases();
        frmSerienwertung::setDatabaseDialogHook([](QWidget *owner) {
            if (const std::optional<bool> stored = answerDatabaseDialog(owner)) return *stored;
            databaseDialogShown = true;
            return false;
        });
        SeasonCase run(workDir);
        int lineNo = 0;
        try {
            for (QString line : lines) {
                ++lineNo;
                if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
                if (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1Char('#'))) continue;
                const qsizetype blank = line.indexOf(QLatin1Char(' '));
                const QString step = blank < 0 ? line.trimmed() : line.left(blank);
                const QString argument = blank < 0 ? QString() : line.mid(blank + 1);
                try {
                    run.run(step, argument);
                } catch (const AppError &e) {
                    throw StepFailure{QStringLiteral("error %1: %2").arg(e.number).arg(e.description)};
                }
            }
            lineNo = 0;
            run.checkLeftovers();
        } catch (const StepFailure &f) {
            result = {false, lineNo > 0 ? QStringLiteral("case.txt line %1: %2").arg(lineNo).arg(f.why) : f.why};
        }
    }
    QDir::setCurrent(previousDir);
    if (hadTemp) qputenv("TMPDIR", previousTemp);
    else qunsetenv("TMPDIR");
    if (!result.ok) return result;

    const QString expectedDir = QDir(workDir).filePath(QStringLiteral("expected"));
    for (const QString &file : filesBelow(expectedDir)) {
        if (!sameFile(QDir(expectedDir).filePath(file), QDir(workDir).filePath(file), &why))
            return {false, QStringLiteral("%1: %2").arg(file, why)};
    }
    return result;
}

}  // namespace seasons
