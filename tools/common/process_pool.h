// Work spread over child processes. The engine keeps one transposition table
// and one pattern evaluator per process, so parallel searches need processes,
// not threads. Each child reports through a pipe, one line at a time.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace kaimo::tools {

// Runs work(job, out) for job = 0..jobs-1, each in its own child process, and
// calls onLine(job, line) in this process for every line a child writes to
// `out` (without the newline), as the lines arrive. The child's exit status
// is work's result. True when every child exits with 0.
bool runInProcesses(int jobs, const std::function<int(int job, std::FILE* out)>& work,
                    const std::function<void(int job, const std::string& line)>& onLine);

}  // namespace kaimo::tools
