#pragma once
// A small HTTP client for the online update: GET only, straight to the server (no
// proxy), bounded in time and size, because the window waits for it.
#include <QByteArray>
#include <QString>

namespace tarnis {

struct HttpLimits {
    qint64 maxBytes = 1 << 20;   // a longer answer is a failure
    long connectSeconds = 15;
    long totalMs = 0;            // the whole transfer within this time; 0: no limit
    long lowSpeedBytes = 1;      // abort when below this many bytes per second ...
    long lowSpeedSeconds = 30;   // ... for this long
};

struct HttpAnswer {
    bool received = false;  // an answer came; false: no connection, time-out, cap, ...
    long status = 0;        // the HTTP status of the final answer
    QByteArray body;
    QString error;          // why nothing (or not all) was received
    bool timedOut = false;  // given up by one of the time limits
};

// Fetches url into memory; the body comes back whatever the status.
HttpAnswer HttpGet(const QString &url, const HttpLimits &limits);

// Fetches url into the file `fileName` (created exclusively; removed again unless the
// answer was complete with status 200). True on success; otherwise `error` says why.
bool HttpDownload(const QString &url, const QString &fileName, const HttpLimits &limits, QString *error);

// Which of `limits`' time limits ended a transfer.
enum class TimeLimit { Connect, Whole, Stall };

// Why a transfer was given up at that limit; `download`: into a file (the archive).
QString TimeLimitText(const HttpLimits &limits, TimeLimit hit, bool download);

}  // namespace tarnis
