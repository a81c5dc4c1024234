#include "about/ProgramCheck.h"

#include "platform/settings/Settings.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <elf.h>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnis {
namespace {

// The ELF identification and the machine field: what must match for the file to run here.
struct ElfKind {
    unsigned char elfClass = 0;
    unsigned char byteOrder = 0;
    quint16 type = 0;
    quint16 machine = 0;
};

bool readElfKind(const QString &path, ElfKind *kind) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = file.read(EI_NIDENT + 4);
    if (head.size() < EI_NIDENT + 4 || !head.startsWith(QByteArray(ELFMAG, SELFMAG))) return false;
    kind->elfClass = static_cast<unsigned char>(head[EI_CLASS]);
    kind->byteOrder = static_cast<unsigned char>(head[EI_DATA]);
    const auto byte = [&](int i) { return static_cast<quint16>(static_cast<unsigned char>(head[i])); };
    const bool little = kind->byteOrder == ELFDATA2LSB;
    kind->type = little ? quint16(byte(16) | byte(17) << 8) : quint16(byte(16) << 8 | byte(17));
    kind->machine = little ? quint16(byte(18) | byte(19) << 8) : quint16(byte(18) << 8 | byte(19));
    return true;
}

// SIGKILL to the checked program's group. The group keeps its number while any member
// lives, even once the leader is reaped, so this reaches what the program left behind.
void endGroup(qint64 leader) {
    if (leader > 1) ::kill(-static_cast<pid_t>(leader), SIGKILL);
}

// Ends a program that is still running: its group, and the program itself in case the
// group could not be made.
void endProgram(QProcess &process, qint64 leader) {
    endGroup(leader);
    process.kill();
    process.waitForFinished(1000);
}

// Only the first line of the answer to "--version" counts; it may hold this many bytes
// before its line end.
constexpr qint64 kAnswerBytes = 4096;

}  // namespace

QString CheckRunnableProgram(const QString &file, const QString &reference, int timeoutMs) {
    struct stat st {};
    if (::lstat(QFile::encodeName(file).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return QStringLiteral("Die Datei fehlt oder ist keine gewöhnliche Datei.");
    ElfKind mine, theirs;
    if (!readElfKind(reference, &mine)) return QStringLiteral("Das laufende Programm kann nicht gelesen werden.");
    if (!readElfKind(file, &theirs)) return QStringLiteral("Die Datei ist kein ausführbares Programm (kein ELF-Format).");
    if (theirs.elfClass != mine.elfClass || theirs.byteOrder != mine.byteOrder || theirs.machine != mine.machine)
        return QStringLiteral("Das Programm ist für eine andere Rechnerarchitektur gebaut.");
    if (theirs.type != ET_EXEC && theirs.type != ET_DYN)
        return QStringLiteral("Die Datei ist kein ausführbares Programm.");
    // Only the owner may run it, and only while it is checked here.
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::SeparateChannels);
    // A group of its own, so that whatever it starts and leaves in the group ends with
    // it. What leaves the group on purpose (setsid) is beyond this check.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.start(file, {QStringLiteral("--version")});
    if (!process.waitForStarted(timeoutMs)) return QStringLiteral("Das Programm lässt sich nicht starten.");
    const qint64 leader = process.processId();
    const QDeadlineTimer deadline(timeoutMs);
    const auto remainingMs = [&] { return static_cast<int>(deadline.remainingTime()); };
    // Of the answer at most one byte more than the first line may hold is taken, and of
    // those only the first line counts. QProcess holds no more than one read of the pipe
    // (a pipe-full) beyond them; once the channel is closed, the rest is dropped as it comes.
    QByteArray answer = process.read(kAnswerBytes + 1);
    while (!answer.contains('\n') && answer.size() <= kAnswerBytes && process.waitForReadyRead(remainingMs()))
        answer += process.read(kAnswerBytes + 1 - answer.size());
    answer += process.read(kAnswerBytes + 1 - answer.size());  // what came with its end
    process.closeReadChannel(QProcess::StandardOutput);
    const qsizetype lineEnd = answer.indexOf('\n');
    if (lineEnd < 0 && answer.size() > kAnswerBytes) {
        endProgram(process, leader);
        return QStringLiteral("Das Programm hat auf \"--version\" mehr als %1 Bytes ohne Zeilenende ausgegeben.")
            .arg(kAnswerBytes);
    }
    if (process.state() != QProcess::NotRunning && !process.waitForFinished(remainingMs())) {
        endProgram(process, leader);
        return QStringLiteral("Das Programm hat auf \"--version\" nicht innerhalb von %1 s geantwortet.")
            .arg(QString::number(timeoutMs / 1000.0, 'g', 3).replace(u'.', u','));
    }
    endGroup(leader);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("Das Programm endete bei \"--version\" mit einem Fehler.");
    const QString firstLine = QString::fromUtf8(lineEnd < 0 ? answer : answer.left(lineEnd));
    static const QRegularExpression anyVersion(QStringLiteral("\\d+\\.\\d+"));
    if (!anyVersion.match(firstLine).hasMatch())
        return QStringLiteral("Das Programm nennt auf \"--version\" keine Version.");
    // Its own name first: any other program of this machine's kind answers with a version too.
    static const QRegularExpression ownName(u'^' + QRegularExpression::escape(kAppTitle) +
                                            QStringLiteral(" \\d+(\\.\\d+)+(\\s|$)"));
    if (!ownName.match(firstLine).hasMatch())
        return QStringLiteral("Das Programm nennt sich auf \"--version\" nicht %1.").arg(kAppTitle);
    return QString();
}

}  // namespace tarnis
