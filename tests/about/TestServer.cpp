#include "TestServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

namespace tarnis::test {

HttpTestServer::HttpTestServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr *>(&address), sizeof address);
    ::listen(listener_, 8);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

HttpTestServer::~HttpTestServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

QString HttpTestServer::base() const { return QStringLiteral("http://127.0.0.1:%1/").arg(port_); }

void HttpTestServer::reply(const QString &path, int status, const QByteArray &body) {
    std::lock_guard lock(mutex_);
    replies_[path] = {status, body, QByteArray(), 0};
}

void HttpTestServer::trickle(const QString &path, const QByteArray &body, int msPerByte) {
    std::lock_guard lock(mutex_);
    replies_[path] = {200, body, QByteArray(), msPerByte};
}

void HttpTestServer::replyChunked(const QString &path, int status, const QByteArray &body) {
    std::lock_guard lock(mutex_);
    replies_[path] = {status, body, QByteArray(), 0, true};
}

void HttpTestServer::redirect(const QString &path, const QString &to) {
    std::lock_guard lock(mutex_);
    replies_[path] = {302, QByteArray(), to.toLatin1(), 0};
}

QStringList HttpTestServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

QByteArray HttpTestServer::lastHead() const {
    std::lock_guard lock(mutex_);
    return lastHead_;
}

void HttpTestServer::serve() {
    while (!stop_) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        answer(client);
        ::close(client);
    }
}

void HttpTestServer::answer(int client) {
    QByteArray head;
    char buffer[4096];
    while (!head.contains("\r\n\r\n")) {
        pollfd p{client, POLLIN, 0};
        if (::poll(&p, 1, 10000) <= 0) return;  // a busy machine may be slow to send
        const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        head.append(buffer, n);
    }
    const QList<QByteArray> words = head.left(head.indexOf("\r\n")).split(' ');
    const QString path = words.size() > 1 ? QString::fromLatin1(words.at(1)) : QString();
    Reply r{404, "<html><body>Error code: 404</body></html>", QByteArray(), 0};
    {
        std::lock_guard lock(mutex_);
        requests_ << QStringLiteral("GET %1").arg(path);
        lastHead_ = head;
        if (replies_.contains(path)) r = replies_.value(path);
    }
    QByteArray out = QByteArray("HTTP/1.1 ") + QByteArray::number(r.status) + " X\r\n";
    out += r.chunked ? QByteArray("Transfer-Encoding: chunked\r\n")
                     : "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n";
    out += "Connection: close\r\n";
    if (!r.location.isEmpty()) out += "Location: " + r.location + "\r\n";
    out += "\r\n";
    if (r.chunked) {
        for (qsizetype at = 0; at < r.body.size(); at += 100) {
            const QByteArray chunk = r.body.mid(at, 100);
            out += QByteArray::number(chunk.size(), 16) + "\r\n" + chunk + "\r\n";
        }
        out += "0\r\n\r\n";
        ::send(client, out.constData(), static_cast<size_t>(out.size()), MSG_NOSIGNAL);
        return;
    }
    if (r.msPerByte == 0) {
        out += r.body;
        ::send(client, out.constData(), static_cast<size_t>(out.size()), MSG_NOSIGNAL);
        return;
    }
    if (::send(client, out.constData(), static_cast<size_t>(out.size()), MSG_NOSIGNAL) < 0) return;
    // Until the client gives up (the send fails) or the server stops.
    for (const char byte : r.body) {
        if (stop_) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(r.msPerByte));
        if (::send(client, &byte, 1, MSG_NOSIGNAL) < 0) return;
    }
}

ClosedPort::ClosedPort() {
    socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(socket_, reinterpret_cast<sockaddr *>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(socket_, reinterpret_cast<sockaddr *>(&address), &length);
    port_ = ntohs(address.sin_port);
}

ClosedPort::~ClosedPort() { ::close(socket_); }

bool makeZip(const QString &path, const QList<ZipEntry> &entries) {
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip) return false;
    for (const ZipEntry &e : entries) {
        const QByteArray name = e.name.toUtf8();
        zip_int64_t index = -1;
        if (e.folder) {
            index = zip_dir_add(zip, name.constData(), ZIP_FL_ENC_UTF_8);
        } else {
            // libzip frees a copy only when it keeps it, and it keeps no empty one: an
            // empty entry gets no copy at all.
            void *copy = nullptr;
            if (!e.data.isEmpty()) {
                copy = ::malloc(static_cast<size_t>(e.data.size()));
                ::memcpy(copy, e.data.constData(), static_cast<size_t>(e.data.size()));
            }
            zip_source_t *source = zip_source_buffer(zip, copy, static_cast<zip_uint64_t>(e.data.size()), 1);
            if (!source) ::free(copy);
            else if ((index = zip_file_add(zip, name.constData(), source, ZIP_FL_ENC_UTF_8)) < 0)
                zip_source_free(source);  // not taken over on failure
        }
        if (index < 0) {
            zip_discard(zip);
            return false;
        }
        const auto i = static_cast<zip_uint64_t>(index);
        if (e.mtime) zip_file_set_mtime(zip, i, static_cast<time_t>(e.mtime), 0);
        if (e.symlink) zip_file_set_external_attributes(zip, i, 0, ZIP_OPSYS_UNIX, (S_IFLNK | 0777u) << 16);
        if (e.stored) zip_set_file_compression(zip, i, ZIP_CM_STORE, 0);
        if (!e.password.isEmpty()) zip_file_set_encryption(zip, i, ZIP_EM_AES_256, e.password.constData());
    }
    return zip_close(zip) == 0;
}

namespace {

bool liesIn(const QString &path, const QString &folder) {
    return path == folder || path.startsWith(folder + u'/');
}

QList<qint64> processesIn(const QString &folder) {
    QList<qint64> found;
    const qint64 self = ::getpid();
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid || pid == self) continue;
        const QString proc = QStringLiteral("/proc/") + entry;
        // "pid (name) state ...": a zombie has ended, it only waits for its parent.
        const QByteArray stat = readAll(proc + QStringLiteral("/stat"));
        const qsizetype close = stat.lastIndexOf(')');
        if (close < 0 || stat.mid(close + 2, 1) == "Z") continue;
        if (liesIn(QFile::symLinkTarget(proc + QStringLiteral("/exe")), folder) ||
            liesIn(QFile::symLinkTarget(proc + QStringLiteral("/cwd")), folder))
            found << pid;
    }
    return found;
}

}  // namespace

QList<qint64> processesLeftIn(const QString &folder, int waitMs) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    QList<qint64> left = processesIn(canonical);
    while (!left.isEmpty() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        left = processesIn(canonical);
    }
    for (const qint64 pid : left) ::kill(static_cast<pid_t>(pid), SIGKILL);
    return left;
}

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

}  // namespace tarnis::test
