#pragma once
// Helpers of the update and archive tests: an HTTP server on 127.0.0.1 in a thread
// of the test program, and archives built with libzip.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <atomic>
#include <mutex>
#include <thread>

namespace tarnis::test {

class HttpTestServer {
public:
    struct Reply {
        int status = 200;
        QByteArray body;
        QByteArray location;  // sent as "Location" when not empty
        int msPerByte = 0;     // the body trickles out a byte at a time
        bool chunked = false;  // without Content-Length, in chunks of at most 100 bytes
    };
    HttpTestServer();
    ~HttpTestServer();

    // "http://127.0.0.1:<port>/"
    QString base() const;
    void reply(const QString &path, int status, const QByteArray &body);
    // The same, sent in chunks: the client learns the size only at the end.
    void replyChunked(const QString &path, int status, const QByteArray &body);
    // Answers `path` with `body`, one byte every `msPerByte` milliseconds.
    void trickle(const QString &path, const QByteArray &body, int msPerByte);
    // Answers `path` with 302 and a Location header pointing at `to`.
    void redirect(const QString &path, const QString &to);
    // The request lines ("GET /versions.txt") and the raw request heads, in order.
    QStringList requests() const;
    QByteArray lastHead() const;

private:
    void serve();
    void answer(int client);

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    QMap<QString, Reply> replies_;
    QStringList requests_;
    QByteArray lastHead_;
    std::thread thread_;
};

// A port on 127.0.0.1 that refuses connections: it stays bound (without listening)
// while the object lives, so no other program can take it meanwhile.
class ClosedPort {
public:
    ClosedPort();
    ~ClosedPort();
    ClosedPort(const ClosedPort &) = delete;
    ClosedPort &operator=(const ClosedPort &) = delete;
    int port() const { return port_; }

private:
    int socket_ = -1;
    int port_ = 0;
};

struct ZipEntry {
    ZipEntry(QString name, QByteArray data = {}) : name(std::move(name)), data(std::move(data)) {}
    ZipEntry &at(qint64 seconds) { return mtime = seconds, *this; }
    ZipEntry &asLink() { return symlink = true, *this; }
    ZipEntry &asFolder() { return folder = true, *this; }
    ZipEntry &locked(const QByteArray &with) { return password = with, *this; }
    ZipEntry &asStored() { return stored = true, *this; }

    QString name;
    QByteArray data;
    qint64 mtime = 0;      // seconds since the epoch; 0: now
    bool symlink = false;  // stored as a Unix link to `data`
    bool folder = false;
    QByteArray password;   // AES-256 when not empty
    bool stored = false;   // no compression
};
// Writes an archive of `entries` to `path`; false on failure.
bool makeZip(const QString &path, const QList<ZipEntry> &entries);

// Processes other than this one, zombies aside, whose program file or current folder
// lies in `folder`, still there after up to `waitMs` ms (a killed one takes a moment
// to go). They are killed before the answer, so a failing test leaves none behind.
QList<qint64> processesLeftIn(const QString &folder, int waitMs);

QByteArray readAll(const QString &path);
bool writeAll(const QString &path, const QByteArray &bytes);

}  // namespace tarnis::test
