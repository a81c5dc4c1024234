#pragma once
// Where the system's own resolution of a path leads, as open() with O_CREAT follows it:
// name by name, each link's text read against the real folder the link lies in. A ".."
// after a folder link therefore climbs out of the folder the link points to, not out of
// the link's own, and links in the folders count towards the system's limit too.
#include <QString>

namespace tarnis {

struct PathResolution {
    enum class End {
        Exists,   // path: the real path, as realpath(3) gives it
        Missing,  // path: the first name on the way that does not exist, in its real folder
        Refused,  // error: what the system answers (ELOOP, ENOTDIR, EACCES, EISDIR, …)
    };
    End end = End::Refused;
    QString path;
    int error = 0;
    // Missing: only the last name is missing, so that an open with O_CREAT makes it there.
    bool folderExists = false;
    // Missing: the missing name is one a link holds, not one of the path as given.
    bool nameFromLink = false;
    // The links met at the path's end, not in its folders; the real place of the last.
    int endLinks = 0;
    QString lastLink;
    // The real folder that holds the path's own last name; empty when it is not reached.
    QString folder;
};

PathResolution resolvePath(const QString &path);

// Whether the folder that holds path's last name is reached as the system resolves it.
bool folderReached(const QString &path);

// The path with its folder as the system resolves it and its own last name kept, link or
// not; made absolute as text where the folder cannot be reached.
QString inRealFolder(const QString &path);

// The file the system opens for path: its real path where it exists, else inRealFolder.
QString openedFile(const QString &path);

// Why path leads nowhere through its symbolic links, in German: links that loop or are
// more than the system follows, or a link to a file or folder that does not exist. Empty
// otherwise, also for a missing file that no link names.
QString brokenLinkReason(const QString &path);

}  // namespace tarnis
