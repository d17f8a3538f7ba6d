#include "process.h"

#include <QElapsedTimer>

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

int signalPipe[2] = {-1, -1};
volatile sig_atomic_t firstStopSignal = 0;

void onStopSignal(int sig)
{
    const int saved = errno;
    if (!firstStopSignal)
        firstStopSignal = sig;
    const unsigned char byte = static_cast<unsigned char>(sig);
    [[maybe_unused]] ssize_t n = write(signalPipe[1], &byte, 1);
    errno = saved;
}

void closeFd(int &fd)
{
    if (fd >= 0)
        close(fd);
    fd = -1;
}

// Reads what is there on FD; false at end of file or on error.
bool drain(int fd, const std::function<void(const QByteArray &)> &sink)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            if (sink)
                sink(QByteArray(buffer, static_cast<int>(n)));
            if (static_cast<size_t>(n) < sizeof buffer)
                return true;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return true;
        return false;
    }
}

} // namespace

void installStopHandlers()
{
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0; // no SA_RESTART: a blocking wait must notice the signal
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    // A reader of our standard error that went away must not kill us before
    // the child is stopped.
    signal(SIGPIPE, SIG_IGN);
}

int stopSignal()
{
    return firstStopSignal;
}

namespace
{

// A started child and what is left to read of it.
struct Running {
    const ChildCommand *command = nullptr;
    pid_t pid = -1;
    int outFd = -1;
    int errFd = -1;
    int progressFd = -1;
    bool done = false; // reaped, or never started
    bool killed = false;
    bool woken = false; // an idle child that runs as any other now
    ChildResult result;
};

// Whether a child at niceness NICE that is put on SCHED_IDLE may be made
// ordinary again. Only with the right to raise a priority (CAP_SYS_NICE, or
// an RLIMIT_NICE that allows it), which an ordinary user lacks: that child
// could wait for ever behind other programs. Tried in a child of our own.
bool idleCanEnd(std::optional<int> nice)
{
#ifdef SCHED_IDLE
    const pid_t pid = fork();
    if (pid == 0) {
        if (nice)
            setpriority(PRIO_PROCESS, 0, *nice);
        sched_param none{};
        const bool can = sched_setscheduler(0, SCHED_IDLE, &none) == 0 &&
                         sched_setscheduler(0, SCHED_OTHER, &none) == 0;
        _exit(can ? 0 : 1);
    }
    int status = 0;
    if (pid < 0)
        return false;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
#else
    Q_UNUSED(nice);
    return false;
#endif
}

// Starts COMMAND; when it cannot, the result's startError says why and no
// child is left.
Running spawn(const ChildCommand &command)
{
    Running r;
    r.command = &command;
    ChildResult &result = r.result;

    // Everything the child needs is made before fork.
    std::vector<QByteArray> words;
    for (const QString &w : command.argv)
        words.push_back(w.toLocal8Bit());
    std::vector<char *> argv;
    for (auto &w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    int outPipe[2] = {-1, -1}, errPipe[2] = {-1, -1}, execPipe[2] = {-1, -1},
        progressPipe[2] = {-1, -1};
    auto closeAll = [&] {
        for (int *fds : {outPipe, errPipe, execPipe, progressPipe})
            for (int i : {0, 1})
                closeFd(fds[i]);
    };
    if ((command.onStdout && pipe2(outPipe, O_CLOEXEC) != 0) || pipe2(errPipe, O_CLOEXEC) != 0 ||
        pipe2(execPipe, O_CLOEXEC) != 0 ||
        (command.onProgress && pipe2(progressPipe, O_CLOEXEC) != 0)) {
        result.startError = QString::fromLocal8Bit(strerror(errno));
        closeAll();
        return r;
    }
    const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    const pid_t parent = getpid();
    const bool idle = command.idle && idleCanEnd(command.nice);

    const pid_t pid = fork();
    if (pid == 0) {
        // A group of its own: a Ctrl-C at a terminal reaches only us, and we
        // pass on exactly one stop request.
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(127);
        if (!command.passStdin)
            dup2(devNull, STDIN_FILENO);
        if (outPipe[1] >= 0)
            dup2(outPipe[1], STDOUT_FILENO);
        else if (!command.passStdout)
            dup2(devNull, STDOUT_FILENO);
        dup2(errPipe[1], STDERR_FILENO);
        if (progressPipe[1] == 3)
            fcntl(3, F_SETFD, 0);
        else if (progressPipe[1] >= 0)
            dup2(progressPipe[1], 3);
        signal(SIGPIPE, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        if (command.nice)
            setpriority(PRIO_PROCESS, 0, *command.nice);
#ifdef SCHED_IDLE
        if (idle) {
            sched_param none{};
            sched_setscheduler(0, SCHED_IDLE, &none);
        }
#endif
        execvp(argv[0], argv.data());
        const int err = errno;
        [[maybe_unused]] ssize_t n = write(execPipe[1], &err, sizeof err);
        _exit(127);
    }

    const int forkErrno = errno;
    closeFd(outPipe[1]);
    closeFd(errPipe[1]);
    closeFd(execPipe[1]);
    closeFd(progressPipe[1]);
    if (devNull >= 0)
        close(devNull);
    if (pid < 0) {
        closeAll();
        result.startError = QString::fromLocal8Bit(strerror(forkErrno));
        return r;
    }

    int execErrno = 0;
    ssize_t got;
    do
        got = read(execPipe[0], &execErrno, sizeof execErrno);
    while (got < 0 && errno == EINTR);
    close(execPipe[0]);
    if (got == sizeof execErrno) {
        closeAll();
        while (waitpid(pid, &result.status, 0) < 0 && errno == EINTR) {
        }
        result.startError = QString::fromLocal8Bit(strerror(execErrno));
        return r;
    }
    if (command.nice) {
        errno = 0;
        const int now = getpriority(PRIO_PROCESS, pid);
        if (errno == 0)
            result.niceness = now;
    }
    r.pid = pid;
    r.outFd = outPipe[0];
    r.errFd = errPipe[0];
    r.progressFd = progressPipe[0];
    for (const int fd : {r.outFd, r.errFd, r.progressFd})
        if (fd >= 0)
            fcntl(fd, F_SETFL, O_NONBLOCK);
    return r;
}

} // namespace

bool failed(const ChildResult &result)
{
    return !result.startError.isEmpty() || result.stopped || result.abandoned ||
           !result.rejected.isEmpty() || !WIFEXITED(result.status) ||
           WEXITSTATUS(result.status) != 0;
}

ChildResult runChild(const ChildCommand &command)
{
    return runChildren({command}, false).first();
}

QList<ChildResult> runChildren(const QList<ChildCommand> &commands, bool stopOthersOnFailure,
                               int workers)
{
    QElapsedTimer clock;
    clock.start();
    std::vector<Running> children(commands.size());
    for (int i = 0; i < commands.size(); ++i)
        children[i].command = &commands.at(i);
    bool failure = false;
    int requests = 0;    // stop requests passed on so far
    int busy = 0;        // pooled children running
    size_t next = 0;     // the first child not yet started, or past
    auto killAll = [&] { // the others, after a failure
        for (Running &c : children) {
            if (c.pid > 0 && !c.done && !c.killed) {
                kill(c.pid, SIGKILL);
                c.killed = true;
                c.result.abandoned = true;
            }
        }
    };
    // Starts what may start: every child up to the next pooled one for
    // which no worker is free.
    auto startMore = [&] {
        for (; next < children.size(); ++next) {
            Running &c = children[next];
            if (failure && stopOthersOnFailure) {
                c.result.abandoned = true;
                c.done = true;
                continue;
            }
            if (requests) {
                c.result.stopped = true;
                c.done = true;
                continue;
            }
            if (c.command->pooled && workers > 0 && busy >= workers)
                return;
            c = spawn(*c.command);
            c.result.startMs = clock.elapsed();
            if (!c.result.startError.isEmpty()) {
                c.done = true;
                c.result.endMs = c.result.startMs;
                if (!failure && stopOthersOnFailure)
                    killAll();
                failure = true;
            } else if (c.command->pooled) {
                ++busy;
            }
        }
    };
    // An idle child runs as any other once a worker has nothing left to
    // take, or we are asked to stop: it fills that worker's core, and
    // cannot be held back by other programs on a busy machine.
    auto wakeIdle = [&] {
        for (Running &c : children) {
            if (c.pid > 0 && !c.done && c.command->idle && !c.woken) {
#ifdef SCHED_IDLE
                sched_param none{};
                sched_setscheduler(c.pid, SCHED_OTHER, &none);
#endif
                c.woken = true;
            }
        }
    };
    auto wakeIdleIfFree = [&] {
        if (next == children.size() && (workers <= 0 || busy < workers))
            wakeIdle();
    };
    startMore();
    wakeIdleIfFree();

    QElapsedTimer sinceStop;
    auto passOnStops = [&] {
        unsigned char sig;
        while (read(signalPipe[0], &sig, 1) == 1) {
            ++requests;
            if (requests == 1) {
                sinceStop.start();
                wakeIdle();
            }
            for (Running &c : children) {
                if (c.pid <= 0 || c.done || c.killed)
                    continue;
                if (requests == 1) {
                    c.result.stopped = true;
                    kill(c.pid, c.command->stopWith);
                } else {
                    kill(c.pid, SIGKILL);
                    c.killed = true;
                }
            }
        }
    };
    // A child that has closed both its pipes is waited for.
    auto reap = [&](Running &c) {
        if (c.done || c.pid <= 0 || c.outFd >= 0 || c.errFd >= 0 || c.progressFd >= 0)
            return;
        while (waitpid(c.pid, &c.result.status, 0) < 0) {
            if (errno != EINTR)
                break;
            passOnStops();
        }
        c.done = true;
        c.result.endMs = clock.elapsed();
        if (c.command->pooled)
            --busy;
        if (!failed(c.result) && c.command->onSuccess)
            c.result.rejected = c.command->onSuccess();
        if (stopOthersOnFailure && !failure && !c.result.stopped && failed(c.result)) {
            failure = true;
            killAll();
        }
        startMore();
        wakeIdleIfFree();
    };

    for (;;) {
        std::vector<pollfd> fds{{signalPipe[0], POLLIN, 0}};
        std::vector<std::pair<Running *, int *>> owners{{nullptr, nullptr}}; // child, its fd
        for (Running &c : children) {
            for (int *fd : {&c.outFd, &c.errFd, &c.progressFd}) {
                if (*fd >= 0) {
                    fds.push_back({*fd, POLLIN, 0});
                    owners.push_back({&c, fd});
                }
            }
        }
        if (fds.size() == 1)
            break;
        int timeout = -1;
        if (requests) {
            for (const Running &c : children) {
                if (c.pid > 0 && !c.done && !c.killed) {
                    const int left = std::max<qint64>(0, c.command->graceMs - sinceStop.elapsed());
                    timeout = timeout < 0 ? left : std::min(timeout, left);
                }
            }
        }
        const int ready = poll(fds.data(), fds.size(), timeout);
        if (ready < 0 && errno != EINTR)
            break;
        passOnStops();
        if (requests) {
            for (Running &c : children) {
                if (c.pid > 0 && !c.done && !c.killed &&
                    sinceStop.elapsed() >= c.command->graceMs) {
                    kill(c.pid, SIGKILL);
                    c.killed = true;
                }
            }
        }
        for (size_t i = 1; i < fds.size(); ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            Running &c = *owners[i].first;
            int &fd = *owners[i].second;
            const auto &sink = &fd == &c.outFd   ? c.command->onStdout
                               : &fd == &c.errFd ? c.command->onStderr
                                                 : c.command->onProgress;
            if (!drain(fd, sink))
                closeFd(fd);
            reap(c);
        }
    }

    QList<ChildResult> results;
    for (Running &c : children) {
        closeFd(c.outFd);
        closeFd(c.errFd);
        closeFd(c.progressFd);
        reap(c);
        results << c.result;
    }
    return results;
}
