// Work spread over child processes. The engine keeps one transposition table
// and one pattern evaluator per process, so parallel searches need processes,
// not threads. Each child reports through a pipe, one line at a time, and is
// killed by the system when this process ends, so a stopped run leaves no
// worker behind.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace kaimo::tools {

// How one child ended.
struct WorkerEnd {
  bool started = false;
  bool exited = false;  // false when a signal killed it
  int code = 0;         // the exit status, or the signal's number
  bool ok() const { return started && exited && code == 0; }
};

// "exited with status 3", "was killed by signal 9 (Killed)".
std::string describeWorkerEnd(const WorkerEnd& end);

// Runs work(job, out) for job = 0..jobs-1, each in its own child process, and
// calls onLine(job, line) in this process for every line a child writes to
// `out` (without the newline), as the lines arrive. The child's exit status
// is work's result. One WorkerEnd per job.
std::vector<WorkerEnd> runInProcesses(int jobs, const std::function<int(int job, std::FILE* out)>& work,
                                      const std::function<void(int job, const std::string& line)>& onLine);

bool allSucceeded(const std::vector<WorkerEnd>& ends);

}  // namespace kaimo::tools
