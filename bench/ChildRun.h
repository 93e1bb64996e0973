// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One run of another program in a fresh process, as a person starts it: the
// wall-clock time from the spawn to its exit (or to the first line it prints,
// for the window), and its peak memory (the maximum resident set).

#include <string>
#include <vector>

namespace wendaro::bench {

struct ChildRun
{
    bool ok = false;
    std::string failure; // why not ok: "exit status 2: <first line of stderr>", "no line within 60 s", ...
    double ms = 0;
    // Of that time, what it spent on the processor in its own code and in
    // the kernel for it: the kernel's share is mostly first touches of
    // memory, whose cost a virtual machine varies from run to run.
    double userMs = 0;
    double systemMs = 0;
    long long peakBytes = 0;
};

struct ChildOptions
{
    std::vector<std::string> environment; // NAME=VALUE added to this process's own
    bool untilLine = false;               // time until the first line on stdout, not until the exit
    double timeoutSeconds = 600;
    std::string stderrPath; // where its stderr goes, read back for a failure
};

ChildRun runChild(const std::vector<std::string> &argv, const ChildOptions &options);

} // namespace wendaro::bench
