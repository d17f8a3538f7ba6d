#include "process.h"

#include <QElapsedTimer>

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <poll.h>
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

ChildResult runChild(const ChildCommand &command)
{
    ChildResult result;

    // Everything the child needs is made before fork.
    std::vector<QByteArray> words;
    for (const QString &w : command.argv)
        words.push_back(w.toLocal8Bit());
    std::vector<char *> argv;
    for (auto &w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    int outPipe[2], errPipe[2], execPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0)
        return {QString::fromLocal8Bit(strerror(errno))};
    if (pipe2(errPipe, O_CLOEXEC) != 0 || pipe2(execPipe, O_CLOEXEC) != 0) {
        const QString err = QString::fromLocal8Bit(strerror(errno));
        close(outPipe[0]);
        close(outPipe[1]);
        return {err};
    }
    const int devNull = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const pid_t parent = getpid();

    const pid_t pid = fork();
    if (pid == 0) {
        // A group of its own: a Ctrl-C at a terminal reaches only us, and we
        // pass on exactly one stop request.
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(127);
        dup2(devNull, STDIN_FILENO);
        dup2(outPipe[1], STDOUT_FILENO);
        dup2(errPipe[1], STDERR_FILENO);
        signal(SIGPIPE, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        if (command.nice)
            setpriority(PRIO_PROCESS, 0, *command.nice);
        execvp(argv[0], argv.data());
        const int err = errno;
        [[maybe_unused]] ssize_t n = write(execPipe[1], &err, sizeof err);
        _exit(127);
    }

    const int forkErrno = errno;
    close(outPipe[1]);
    close(errPipe[1]);
    close(execPipe[1]);
    if (devNull >= 0)
        close(devNull);
    if (pid < 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        close(execPipe[0]);
        return {QString::fromLocal8Bit(strerror(forkErrno))};
    }

    int execErrno = 0;
    ssize_t got;
    do
        got = read(execPipe[0], &execErrno, sizeof execErrno);
    while (got < 0 && errno == EINTR);
    close(execPipe[0]);
    if (got == sizeof execErrno) {
        close(outPipe[0]);
        close(errPipe[0]);
        while (waitpid(pid, &result.status, 0) < 0 && errno == EINTR) {
        }
        result.startError = QString::fromLocal8Bit(strerror(execErrno));
        return result;
    }
    if (command.nice) {
        errno = 0;
        const int now = getpriority(PRIO_PROCESS, pid);
        if (errno == 0)
            result.niceness = now;
    }

    int outFd = outPipe[0];
    int errFd = errPipe[0];
    fcntl(outFd, F_SETFL, O_NONBLOCK);
    fcntl(errFd, F_SETFL, O_NONBLOCK);

    int requests = 0; // stop requests passed on to the child so far
    QElapsedTimer sinceStop;
    auto passOnStops = [&] {
        unsigned char sig;
        while (read(signalPipe[0], &sig, 1) == 1) {
            ++requests;
            if (requests == 1) {
                result.stopped = true;
                kill(pid, command.stopWith);
                sinceStop.start();
            } else {
                kill(pid, SIGKILL);
            }
        }
    };
    bool killed = false;
    while (outFd >= 0 || errFd >= 0) {
        pollfd fds[3];
        int count = 0;
        fds[count++] = {signalPipe[0], POLLIN, 0};
        if (outFd >= 0)
            fds[count++] = {outFd, POLLIN, 0};
        if (errFd >= 0)
            fds[count++] = {errFd, POLLIN, 0};
        int timeout = -1;
        if (requests && !killed)
            timeout = std::max<qint64>(0, command.graceMs - sinceStop.elapsed());
        const int ready = poll(fds, count, timeout);
        if (ready < 0 && errno != EINTR)
            break;
        passOnStops();
        if (requests && !killed && sinceStop.elapsed() >= command.graceMs) {
            kill(pid, SIGKILL);
            killed = true;
        }
        for (int i = 1; i < count; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const bool isOut = fds[i].fd == outFd;
            int &fd = isOut ? outFd : errFd;
            if (!drain(fd, isOut ? command.onStdout : command.onStderr))
                closeFd(fd);
        }
    }
    closeFd(outFd);
    closeFd(errFd);

    while (waitpid(pid, &result.status, 0) < 0) {
        if (errno != EINTR)
            break;
        passOnStops();
    }
    return result;
}
