#pragma once
// Writes that fail part-way, without touching the machine: the work runs in a child
// process in which no file may grow beyond a limit (a write past it fails with EFBIG,
// since SIGXFSZ is ignored), or on a small tmpfs mounted in the child's own mount
// namespace where the system allows it. The child's answer comes back as text.
#include <QString>

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace tarnis::testing {

// Runs work in a forked child with files limited to fileSizeLimit bytes; returns what work
// returned, or how the child ended when it did not return.
inline std::string inChild(const std::function<std::string()> &work, rlim_t fileSizeLimit = RLIM_INFINITY) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return "no pipe";
    const pid_t pid = ::fork();
    if (pid < 0) return "no fork";
    if (pid == 0) {
        ::close(pipeFds[0]);
        // A child stuck on a lock some other thread held at the fork fails the test
        // instead of hanging it; the limit is far beyond any real run, even under load.
        ::alarm(300);
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{fileSizeLimit, fileSizeLimit};
        std::string answer;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) answer = "no limit";
        else {
            try {
                answer = work();
            } catch (const std::exception &e) {
                answer = std::string("exception: ") + e.what();
            }
        }
        for (size_t done = 0; done < answer.size();) {
            const ssize_t n = ::write(pipeFds[1], answer.data() + done, answer.size() - done);
            if (n <= 0) break;
            done += size_t(n);
        }
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string answer;
    char chunk[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], chunk, sizeof chunk)) > 0;) answer.append(chunk, size_t(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status)) return "child ended by signal " + std::to_string(WTERMSIG(status));
    return answer;
}

// Inside a child only: mounts a tmpfs of the given size on folder, seen by this process
// alone. False where the system does not allow it (no privilege, no namespaces).
inline bool mountSmallDisk(const QString &folder, qint64 bytes) {
    if (::unshare(CLONE_NEWNS) != 0) return false;
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
    const std::string options = "size=" + std::to_string(bytes);
    return ::mount("tmpfs", folder.toLocal8Bit().constData(), "tmpfs", 0, options.c_str()) == 0;
}

}  // namespace tarnis::testing
