// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChildRun.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fstream>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace wendaro::bench {

namespace {

double nowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// wendaro-cli puts the kind of error on one line and the reason on the next.
std::string firstLines(const std::string &path)
{
    std::ifstream in(path);
    std::string lines;
    std::string line;
    for (int n = 0; n < 2 && std::getline(in, line); ++n)
        lines += (lines.empty() ? "" : " ") + line;
    return lines;
}

// Starts argv[0] with the options' environment and output; -1 and *failure
// when it could not. With untilLine, *out is the read end of its stdout.
// *start is the time of the spawn itself, which the figures count from.
pid_t spawnChild(const std::vector<std::string> &argv, const ChildOptions &options, int *out, double *start,
                 std::string *failure)
{
    std::vector<char *> args;
    for (const std::string &arg : argv)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);
    std::vector<char *> env;
    for (char **e = environ; *e; ++e)
        env.push_back(*e);
    for (const std::string &e : options.environment)
        env.push_back(const_cast<char *>(e.c_str()));
    env.push_back(nullptr);

    int pipeEnds[2] = {-1, -1};
    if (options.untilLine && pipe2(pipeEnds, O_CLOEXEC) != 0) {
        *failure = std::strerror(errno);
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (options.untilLine)
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const std::string errPath = options.stderrPath.empty() ? "/dev/null" : options.stderrPath;
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

    *start = nowMs();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (pipeEnds[1] >= 0)
        close(pipeEnds[1]);
    if (spawned != 0) {
        if (pipeEnds[0] >= 0)
            close(pipeEnds[0]);
        *failure = argv[0] + ": " + std::strerror(spawned);
        return -1;
    }
    *out = pipeEnds[0];
    return pid;
}

struct Waited
{
    bool lineSeen = false;
    double lineMs = 0; // from start, when the line was seen
    bool timedOut = false;
};

// Waits for the child's exit, its first line on out (closed here), or the
// timeout. A pidfd lets one poll() wait for all three at once; without one
// (an old kernel) the wait has no timeout.
Waited waitForChild(pid_t pid, int out, double start, double timeoutSeconds)
{
    Waited waited;
    const int pidfd = int(syscall(SYS_pidfd_open, pid, 0));
    bool exited = false;
    std::string printed;
    for (;;) {
        pollfd fds[2];
        nfds_t count = 0;
        if (pidfd >= 0 && !exited)
            fds[count++] = {pidfd, POLLIN, 0};
        if (out >= 0)
            fds[count++] = {out, POLLIN, 0};
        if (count == 0)
            break;
        const double left = timeoutSeconds * 1e3 - (nowMs() - start);
        if (left <= 0 || poll(fds, count, int(left) + 1) == 0) {
            waited.timedOut = true;
            break;
        }
        if (out >= 0 && fds[count - 1].revents) {
            char chunk[256];
            const ssize_t got = read(out, chunk, sizeof chunk);
            if (got > 0)
                printed.append(chunk, size_t(got));
            if (!waited.lineSeen && printed.find('\n') != std::string::npos) {
                waited.lineMs = nowMs() - start;
                waited.lineSeen = true;
            }
            if (got <= 0) {
                close(out);
                out = -1;
            }
        }
        // What it printed before it exited is still read.
        if (pidfd >= 0 && !exited && fds[0].revents)
            exited = true;
    }
    if (pidfd >= 0)
        close(pidfd);
    if (out >= 0)
        close(out);
    return waited;
}

} // namespace

ChildRun runChild(const std::vector<std::string> &argv, const ChildOptions &options)
{
    ChildRun result;
    // What the runs before wrote goes to the disk first: its writeback
    // would otherwise fall inside this run's time, a different share in
    // each, and one program's figures would carry another's output.
    sync();
    int out = -1;
    double start = 0;
    const pid_t pid = spawnChild(argv, options, &out, &start, &result.failure);
    if (pid < 0)
        return result;
    const Waited waited = waitForChild(pid, out, start, options.timeoutSeconds);
    if (waited.timedOut)
        kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    const double end = nowMs();

    result.peakBytes = (long long)usage.ru_maxrss * 1024;
    const auto msOf = [](const timeval &time) { return double(time.tv_sec) * 1000 + double(time.tv_usec) / 1000; };
    result.userMs = msOf(usage.ru_utime);
    result.systemMs = msOf(usage.ru_stime);
    result.ms = options.untilLine ? waited.lineMs : end - start;
    if (waited.timedOut) {
        result.failure = "nothing within " + std::to_string(int(options.timeoutSeconds)) + " s";
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        result.failure = WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                                           : "killed by signal " + std::to_string(WTERMSIG(status));
        const std::string line = options.stderrPath.empty() ? std::string() : firstLines(options.stderrPath);
        if (!line.empty())
            result.failure += ": " + line;
    } else if (options.untilLine && !waited.lineSeen) {
        result.failure = "exited without printing a line";
    } else {
        result.ok = true;
    }
    return result;
}

} // namespace wendaro::bench
