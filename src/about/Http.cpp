#include "about/Http.h"

#include "platform/settings/Settings.h"

#include <QElapsedTimer>
#include <QFile>
#include <curl/curl.h>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace tarnis {
namespace {

void globalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Sink {
    qint64 limit = 0;
    qint64 total = 0;
    bool overLimit = false;
    QByteArray *memory = nullptr;
    int fd = -1;
    bool writeFailed = false;
};

size_t onData(char *data, size_t size, size_t count, void *user) {
    auto *sink = static_cast<Sink *>(user);
    const size_t bytes = size * count;
    if (sink->total + static_cast<qint64>(bytes) > sink->limit) {
        sink->overLimit = true;
        return 0;  // makes curl stop with a write error
    }
    if (sink->memory) {
        sink->memory->append(data, static_cast<qsizetype>(bytes));
    } else {
        size_t done = 0;
        while (done < bytes) {
            const ssize_t n = ::write(sink->fd, data + done, bytes - done);
            if (n < 0) {
                if (errno == EINTR) continue;
                sink->writeFailed = true;
                return 0;
            }
            done += static_cast<size_t>(n);
        }
    }
    sink->total += static_cast<qint64>(bytes);
    return bytes;
}

// One transfer with the common options; fills status and error.
bool transfer(const QString &url, const HttpLimits &limits, Sink &sink, long *status, QString *error,
              bool *timedOut = nullptr) {
    globalInit();
    CURL *curl = curl_easy_init();
    if (!curl) {
        *error = QStringLiteral("Die Verbindung konnte nicht vorbereitet werden.");
        return false;
    }
    const QByteArray address = url.toUtf8();
    // A https start never follows a redirect to plain http.
    const bool secure = url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
    const QByteArray agent = (kAppTitle + QStringLiteral(" Update")).toUtf8();
    curl_slist *headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
    headers = curl_slist_append(headers, "Pragma: no-cache");
    char message[CURL_ERROR_SIZE] = {};

    curl_easy_setopt(curl, CURLOPT_URL, address.constData());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, agent.constData());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, secure ? "https" : "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, limits.totalMs);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytes);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, limits.lowSpeedSeconds);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &onData);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, message);

    QElapsedTimer clock;
    clock.start();
    const CURLcode rc = curl_easy_perform(curl);
    const qint64 elapsedMs = clock.elapsed();
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, status);
    curl_off_t connectedAfter = 0;
    curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &connectedAfter);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);

    if (rc == CURLE_OK) return true;
    if (sink.overLimit || rc == CURLE_FILESIZE_EXCEEDED)
        *error = QStringLiteral("Die Antwort ist größer als %1 Bytes.").arg(limits.maxBytes);
    else if (rc == CURLE_OPERATION_TIMEDOUT) {
        // curl says only "timed out": the time taken tells the whole-transfer limit
        // from the stall rule (curl may end a few milliseconds early, by timer slack).
        const TimeLimit hit = connectedAfter <= 0                                         ? TimeLimit::Connect
                              : limits.totalMs > 0 && elapsedMs + 50 >= limits.totalMs ? TimeLimit::Whole
                                                                                        : TimeLimit::Stall;
        *error = TimeLimitText(limits, hit, sink.fd >= 0);
        if (timedOut) *timedOut = true;
    } else if (sink.writeFailed)
        *error = QStringLiteral("Die Datei konnte nicht geschrieben werden.");
    else
        *error = QString::fromUtf8(message[0] ? message : curl_easy_strerror(rc));
    return false;
}

// Whole minutes as minutes, anything else in seconds, rounded up.
QString spanText(long ms) {
    if (ms == 60000) return QStringLiteral("1 Minute");
    if (ms > 0 && ms % 60000 == 0) return QStringLiteral("%1 Minuten").arg(ms / 60000);
    return QStringLiteral("%1 s").arg((ms + 999) / 1000);
}

}  // namespace

QString TimeLimitText(const HttpLimits &limits, TimeLimit hit, bool download) {
    switch (hit) {
    case TimeLimit::Connect:
        return QStringLiteral("Der Server hat nicht innerhalb von %1 s geantwortet; der Versuch wurde abgebrochen.")
            .arg(limits.connectSeconds);
    case TimeLimit::Whole:
        if (download)
            return QStringLiteral("Das Herunterladen dauerte länger als %1 und wurde abgebrochen.")
                .arg(spanText(limits.totalMs));
        return QStringLiteral("Die Antwort kam nicht innerhalb von %1 s vollständig an; der Versuch wurde abgebrochen.")
            .arg((limits.totalMs + 999) / 1000);
    case TimeLimit::Stall:
        break;
    }
    return QStringLiteral("Die Übertragung war %1 s lang langsamer als %2 Bytes/s und wurde abgebrochen.")
        .arg(limits.lowSpeedSeconds)
        .arg(limits.lowSpeedBytes);
}

HttpAnswer HttpGet(const QString &url, const HttpLimits &limits) {
    HttpAnswer answer;
    Sink sink;
    sink.limit = limits.maxBytes;
    sink.memory = &answer.body;
    answer.received = transfer(url, limits, sink, &answer.status, &answer.error, &answer.timedOut);
    if (!answer.received) answer.body.clear();
    return answer;
}

bool HttpDownload(const QString &url, const QString &fileName, const HttpLimits &limits, QString *error) {
    QString reason;
    const QByteArray path = QFile::encodeName(fileName);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    bool ok = false;
    if (fd < 0) {
        reason = QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden.").arg(fileName);
    } else {
        Sink sink;
        sink.limit = limits.maxBytes;
        sink.fd = fd;
        long status = 0;
        ok = transfer(url, limits, sink, &status, &reason);
        if (ok && status != 200) {
            ok = false;
            reason = QStringLiteral("Der Server antwortete mit dem Status %1.").arg(status);
        }
        if (::close(fd) != 0 && ok) {
            ok = false;
            reason = QStringLiteral("Die Datei konnte nicht geschrieben werden.");
        }
        if (!ok) ::unlink(path.constData());
    }
    if (error) *error = reason;
    return ok;
}

}  // namespace tarnis
