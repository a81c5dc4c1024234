// The season runner: drives the real main window through the case folders it is
// given and compares what they wrote with their expected files.
//
//   season_runner CASE...            runs the case folders
//   season_runner --all DIR          runs every case folder below DIR
//   season_runner --keep DIR CASE    runs CASE with DIR as its work folder and leaves it there
#include "season_case.h"

#include "mainwin/InstanceLock.h"
#include "platform/settings/Settings.h"
#include "platform/text/Locale.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: season_runner CASE...\n"
                 "       season_runner --all DIR\n"
                 "       season_runner --keep DIR CASE\n");
    return 2;
}

QStringList casesBelow(const QString &root) {
    QStringList cases;
    QDirIterator it(root, {QStringLiteral("case.txt")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) cases << QFileInfo(it.next()).absolutePath();
    std::sort(cases.begin(), cases.end());
    return cases;
}

// `root`: the folder the case names are given relative to.
bool report(const QString &root, const QString &caseDir, const seasons::CaseResult &result) {
    const QByteArray name = QDir(root).relativeFilePath(caseDir).toUtf8();
    if (result.ok) std::printf("ok    %s\n", name.constData());
    else std::printf("FAIL  %s: %s\n", name.constData(), result.reason.toUtf8().constData());
    std::fflush(stdout);
    return result.ok;
}

// The offscreen platform reports every window feature it lacks; those lines would
// bury the one line per case.
void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    if (type == QtFatalMsg) std::abort();
}

}  // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The runner's own runtime folder: a copy of the program running on this desktop
    // must not make every case meet "läuft bereits".
    QTemporaryDir runtimeDir;
    qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toUtf8());
    qunsetenv("TARNIS_TEST_MODIFIERS");
    qunsetenv("TARNIS_TEST_NOW");
    qunsetenv("TARNIS_TEST_UPDATE_URL");
    QTemporaryDir scratch;
    qputenv("TARNIS_PRINT_PDF", scratch.filePath(QStringLiteral("printed.pdf")).toUtf8());
    qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    QApplication::setApplicationName(tarnis::kAppTitle);
    tarnis::UseGermanLocale();

    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) return usage();

    if (args[0] == QLatin1String("--keep")) {
        if (args.size() != 3) return usage();
        const QString work = QFileInfo(args[1]).absoluteFilePath();
        if (QDir(work).exists() && !QDir(work).isEmpty()) {
            std::fprintf(stderr, "season_runner: %s is not empty\n", work.toUtf8().constData());
            return 2;
        }
        QTemporaryDir config;
        config.setAutoRemove(false);
        const QString caseDir = QFileInfo(args[2]).absoluteFilePath();
        const bool ok = report(QDir::currentPath(), caseDir, seasons::runCase(caseDir, work, config.path()));
        tarnis::ReleaseInstanceLock();
        std::printf("work folder: %s\nsettings:    %s\n", work.toUtf8().constData(),
                    config.path().toUtf8().constData());
        return ok ? 0 : 1;
    }

    QStringList cases;
    QString root = QDir::currentPath();
    if (args[0] == QLatin1String("--all")) {
        if (args.size() != 2) return usage();
        root = QFileInfo(args[1]).absoluteFilePath();
        cases = casesBelow(root);
        if (cases.isEmpty()) {
            std::fprintf(stderr, "season_runner: no case below %s\n", args[1].toUtf8().constData());
            return 1;
        }
    } else {
        for (const QString &arg : args) cases << QFileInfo(arg).absoluteFilePath();
    }

    int failed = 0;
    for (const QString &caseDir : cases) {
        QTemporaryDir work, config;
        if (!report(root, caseDir, seasons::runCase(caseDir, work.path(), config.path()))) ++failed;
    }
    tarnis::ReleaseInstanceLock();  // before its runtime folder goes
    std::printf("%lld cases, %d failed\n", static_cast<long long>(cases.size()), failed);
    return failed == 0 ? 0 : 1;
}
