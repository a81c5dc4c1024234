#pragma once
// The one way a file that the user would miss is written: under a temporary name beside
// the target, flushed, checked, synced and only then renamed over the target. Any failure
// removes the temporary file and leaves the target byte for byte as it was.
#include <QByteArray>
#include <QString>

namespace tarnis {

class SafeFileWriter {
public:
    explicit SafeFileWriter(QString target);
    ~SafeFileWriter();  // a writer never committed removes its temporary file
    SafeFileWriter(const SafeFileWriter &) = delete;
    SafeFileWriter &operator=(const SafeFileWriter &) = delete;

    // Creates the temporary file beside the target, after removing the ones a killed
    // earlier write left; false with errorString() set, also for a write-protected target.
    // The path is followed as the system follows it: a target that is a symbolic link is
    // written through its chain of links, which stay, and a chain that ends in a missing
    // file creates it there; where that file's folder is missing too, a chain of two or
    // more links has its last link replaced. Links that loop or are more than the system
    // follows are refused, and so is a link that a slash follows at the chain's end.
    bool open();
    // Buffered; false once any write failed (the failure sticks until discard()).
    bool write(const char *data, qint64 size);
    bool write(const QByteArray &bytes) { return write(bytes.constData(), bytes.size()); }
    // With true, commit() fails instead of replacing a target that exists by then.
    void setKeepExisting(bool keep) { keepExisting_ = keep; }
    // Flushes, syncs, checks the size on disk and renames over the target.
    // False (target untouched, temporary file removed) on any failure.
    bool commit();
    // Removes the temporary file; the target stays as it was.
    void discard();

    bool isOpen() const { return fd_ >= 0; }
    const QString &target() const { return target_; }
    // The system's reason of the first failure, in German where we word it ourselves.
    const QString &errorString() const { return error_; }

private:
    bool flushBuffer();
    bool fail(const QString &what, int errnum);
    bool putInPlace();

    QString target_;
    QString realTarget_;  // where the system's resolution of the target leads
    QString tempPath_;
    QByteArray buffer_;
    QString error_;
    qint64 written_ = 0;
    int fd_ = -1;
    bool failed_ = false;
    bool keepExisting_ = false;
};

// Writes bytes to target through a SafeFileWriter; false (error set when given) on failure.
bool writeFileSafely(const QString &target, const QByteArray &bytes, QString *error = nullptr);

// The temporaries that a writer of one target makes, known by the whole name it gives
// them in the real folder where it writes: beside the file a symbolic link stands for (the
// chain followed as the writer follows it), a target name longer than 200 bytes shortened
// as it is there. Built once, it compares many names without looking at the disk.
class WriterTemporaries {
public:
    explicit WriterTemporaries(const QString &target);
    const QString &folder() const { return folder_; }
    // Whether the file at path has the whole name of one of them.
    bool has(const QString &path) const;
    // Removes those of them that are this user's regular files (see removeOwnFile).
    void removeLeftovers() const;

private:
    QString folder_;
    QString namePrefix_;
};

// Removes what a writer of target left behind when the program was killed mid-write.
// Only for targets that no other process writes at the same time.
void removeStaleTemporaries(const QString &target);
// WriterTemporaries(target).has(path), for a single look.
bool isWriterTemporaryOf(const QString &path, const QString &target);

// Removes the file at path only when it is this user's regular file: a link, pipe or
// folder is nothing a writer leaves, and another user's program may write in a shared
// folder.
void removeOwnFile(const QString &path);

// The name, as a temporary's name holds it, of the target whose writer's temporary a
// whole file name could be (".name.tmp-" and six letters or digits of mkstemp give
// "name"); empty for a name of another form. A target name longer than 200 bytes is
// shortened in its temporary's name.
QString writerTemporaryTarget(const QString &fileName);

// The German reason why an existing target must not be replaced: its mode allows no
// writing (a rename would need only the folder's permission). Empty when it may be.
QString writeProtectionReason(const QString &target);

// For tests: the call that makes a written file durable (fsync); returns the one replaced.
using FileSyncCall = int (*)(int fd);
FileSyncCall setFileSyncCall(FileSyncCall call);

}  // namespace tarnis
