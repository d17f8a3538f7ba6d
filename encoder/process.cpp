// SPDX-License-Identifier: GPL-3.0-or-later
#include "process.h"

#include <QElapsedTimer>

#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
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

// A descriptor of ours, closed when its owner ends.
class Fd
{
public:
    Fd() = default;
    explicit Fd(int fd) : fd(fd) {}
    Fd(Fd &&other) noexcept : fd(std::exchange(other.fd, -1)) {}
    Fd &operator=(Fd &&other) noexcept
    {
        if (this != &other) {
            reset();
            fd = std::exchange(other.fd, -1);
        }
        return *this;
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    ~Fd() { reset(); }

    int get() const { return fd; }
    bool isOpen() const { return fd >= 0; }
    void reset()
    {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }

private:
    int fd = -1;
};

// Both ends of a pipe, closed on exec.
struct Pipe {
    Fd read;
    Fd write;
    // False, with errno set, when it cannot be made.
    bool open()
    {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            return false;
        read = Fd(fds[0]);
        write = Fd(fds[1]);
        return true;
    }
};

// A started child and what is left to read of it.
struct Running {
    const ChildCommand *command = nullptr;
    pid_t pid = -1;
    Fd out;
    Fd err;
    Fd progress;
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

// The file PROGRAM runs, looked up on PATH as execvp does when it names no
// directory; empty, with errno set, when there is none to run.
QByteArray programPath(const QByteArray &program)
{
    if (program.contains('/'))
        return program;
    int error = ENOENT;
    if (!program.isEmpty()) {
        const QByteArray path =
            qEnvironmentVariableIsSet("PATH") ? qgetenv("PATH") : QByteArray("/bin:/usr/bin");
        for (const QByteArray &dir : path.split(':')) {
            const QByteArray file = (dir.isEmpty() ? QByteArray(".") : dir) + '/' + program;
            struct stat st;
            if (stat(file.constData(), &st) != 0)
                continue;
            if (S_ISREG(st.st_mode) && access(file.constData(), X_OK) == 0)
                return file;
            error = EACCES;
        }
    }
    errno = error;
    return QByteArray();
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
    const QByteArray program = programPath(words.empty() ? QByteArray() : words.front());
    if (program.isEmpty()) {
        result.startError = QString::fromLocal8Bit(strerror(errno));
        return r;
    }
    // A file that is no program (a script without "#!") is run by the
    // shell, as execvp would.
    QByteArray shell("/bin/sh");
    std::vector<char *> shellArgv{shell.data(), const_cast<char *>(program.constData())};
    shellArgv.insert(shellArgv.end(), argv.begin() + 1, argv.end());

    Pipe out, err, exec, progress;
    if ((command.onStdout && !out.open()) || !err.open() || !exec.open() ||
        (command.onProgress && !progress.open())) {
        result.startError = QString::fromLocal8Bit(strerror(errno));
        return r;
    }
    Fd devNull(open("/dev/null", O_RDWR | O_CLOEXEC));
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
            dup2(devNull.get(), STDIN_FILENO);
        if (out.write.isOpen())
            dup2(out.write.get(), STDOUT_FILENO);
        else if (!command.passStdout)
            dup2(devNull.get(), STDOUT_FILENO);
        dup2(err.write.get(), STDERR_FILENO);
        if (progress.write.get() == 3)
            fcntl(3, F_SETFD, 0);
        else if (progress.write.isOpen())
            dup2(progress.write.get(), 3);
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
        execv(program.constData(), argv.data());
        const int error = errno;
        if (error == ENOEXEC)
            execv(shell.constData(), shellArgv.data());
        [[maybe_unused]] ssize_t n = write(exec.write.get(), &error, sizeof error);
        _exit(127);
    }

    const int forkErrno = errno;
    out.write.reset();
    err.write.reset();
    exec.write.reset();
    progress.write.reset();
    devNull.reset();
    if (pid < 0) {
        result.startError = QString::fromLocal8Bit(strerror(forkErrno));
        return r;
    }

    int execErrno = 0;
    ssize_t got;
    do
        got = read(exec.read.get(), &execErrno, sizeof execErrno);
    while (got < 0 && errno == EINTR);
    exec.read.reset();
    if (got == sizeof execErrno) {
        out.read.reset();
        err.read.reset();
        progress.read.reset();
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
    r.out = std::move(out.read);
    r.err = std::move(err.read);
    r.progress = std::move(progress.read);
    for (const Fd *fd : {&r.out, &r.err, &r.progress})
        if (fd->isOpen())
            fcntl(fd->get(), F_SETFL, O_NONBLOCK);
    return r;
}

// Children run side by side, of the pooled ones at most a number at a time;
// see runChildren.
class Pool
{
public:
    Pool(const QList<ChildCommand> &commands, bool stopOthersOnFailure, int workers)
        : children(commands.size()), stopOthersOnFailure(stopOthersOnFailure), workers(workers)
    {
        clock.start();
        for (int i = 0; i < commands.size(); ++i)
            children[i].command = &commands.at(i);
    }

    QList<ChildResult> run()
    {
        startMore();
        wakeIdleIfFree();
        while (pollOnce()) {
        }
        QList<ChildResult> results;
        for (Running &c : children) {
            c.out.reset();
            c.err.reset();
            c.progress.reset();
            reap(c);
            results << c.result;
        }
        return results;
    }

private:
    // The others, after a failure.
    void killAll()
    {
        for (Running &c : children) {
            if (c.pid > 0 && !c.done && !c.killed) {
                kill(c.pid, SIGKILL);
                c.killed = true;
                c.result.abandoned = true;
            }
        }
    }

    // Starts what may start: every child up to the next pooled one for
    // which no worker is free.
    void startMore()
    {
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
    }

    // An idle child runs as any other once a worker has nothing left to
    // take, or we are asked to stop: it fills that worker's core, and
    // cannot be held back by other programs on a busy machine.
    void wakeIdle()
    {
        for (Running &c : children) {
            if (c.pid > 0 && !c.done && c.command->idle && !c.woken) {
#ifdef SCHED_IDLE
                sched_param none{};
                sched_setscheduler(c.pid, SCHED_OTHER, &none);
#endif
                c.woken = true;
            }
        }
    }

    void wakeIdleIfFree()
    {
        if (next == children.size() && (workers <= 0 || busy < workers))
            wakeIdle();
    }

    void passOnStops()
    {
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
    }

    // A child that has closed both its pipes is waited for.
    void reap(Running &c)
    {
        if (c.done || c.pid <= 0 || c.out.isOpen() || c.err.isOpen() || c.progress.isOpen())
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
    }

    // How long to wait for output: until the grace of a stopped child
    // ends, or for ever.
    int timeout() const
    {
        int timeout = -1;
        if (requests) {
            for (const Running &c : children) {
                if (c.pid > 0 && !c.done && !c.killed) {
                    const int left = std::max<qint64>(0, c.command->graceMs - sinceStop.elapsed());
                    timeout = timeout < 0 ? left : std::min(timeout, left);
                }
            }
        }
        return timeout;
    }

    // Waits for what the children write, and reads it; false when no child
    // has anything left to read.
    bool pollOnce()
    {
        std::vector<pollfd> fds{{signalPipe[0], POLLIN, 0}};
        std::vector<std::pair<Running *, Fd *>> owners{{nullptr, nullptr}}; // child, its fd
        for (Running &c : children) {
            for (Fd *fd : {&c.out, &c.err, &c.progress}) {
                if (fd->isOpen()) {
                    fds.push_back({fd->get(), POLLIN, 0});
                    owners.push_back({&c, fd});
                }
            }
        }
        if (fds.size() == 1)
            return false;
        const int ready = poll(fds.data(), fds.size(), timeout());
        if (ready < 0 && errno != EINTR)
            return false;
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
            Fd &fd = *owners[i].second;
            const auto &sink = &fd == &c.out   ? c.command->onStdout
                               : &fd == &c.err ? c.command->onStderr
                                               : c.command->onProgress;
            if (!drain(fd.get(), sink))
                fd.reset();
            reap(c);
        }
        return true;
    }

    QElapsedTimer clock;
    std::vector<Running> children;
    const bool stopOthersOnFailure;
    const int workers;
    bool failure = false;
    int requests = 0; // stop requests passed on so far
    int busy = 0;     // pooled children running
    size_t next = 0;  // the first child not yet started, or past
    QElapsedTimer sinceStop;
};

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
    return Pool(commands, stopOthersOnFailure, workers).run();
}
