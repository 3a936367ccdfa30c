#include "tools/common/process_pool.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace kaimo::tools {
namespace {

struct Child {
  pid_t pid = -1;
  int fd = -1;  // read end of its pipe; -1 once it reached end of file
  std::string pending;
};

// The child dies with the process that forked it: a worker left running
// after its parent was killed would go on writing, and a resumed run could
// meet its late output.
void dieWithParent(pid_t parent) {
  if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent) _exit(1);
}

[[noreturn]] void runChild(int job, int writeFd, pid_t parent, const std::function<int(int, std::FILE*)>& work) {
  dieWithParent(parent);
  std::FILE* out = fdopen(writeFd, "w");
  int status = 1;
  if (out != nullptr) {
    std::setvbuf(out, nullptr, _IOLBF, 0);
    try {
      status = work(job, out);
    } catch (...) {
      status = 1;
    }
    std::fflush(out);
  }
  std::fflush(nullptr);
  // Skips the parent's exit handlers: they belong to the parent's objects.
  _exit(status);
}

void deliverLines(Child& child, int job, const std::function<void(int, const std::string&)>& onLine) {
  std::size_t newline;
  while ((newline = child.pending.find('\n')) != std::string::npos) {
    onLine(job, child.pending.substr(0, newline));
    child.pending.erase(0, newline + 1);
  }
}

// Reads what is ready; false once the child closed its end.
bool readAvailable(Child& child) {
  char buffer[4096];
  const ssize_t n = read(child.fd, buffer, sizeof buffer);
  if (n < 0 && errno == EINTR) return true;
  if (n <= 0) return false;
  child.pending.append(buffer, static_cast<std::size_t>(n));
  return true;
}

}  // namespace

std::string describeWorkerEnd(const WorkerEnd& end) {
  if (!end.started) return "could not be started";
  if (end.exited) return "exited with status " + std::to_string(end.code);
  return "was killed by signal " + std::to_string(end.code) + " (" + strsignal(end.code) + ")";
}

bool allSucceeded(const std::vector<WorkerEnd>& ends) {
  for (const WorkerEnd& end : ends) {
    if (!end.ok()) return false;
  }
  return true;
}

std::vector<WorkerEnd> runInProcesses(int jobs, const std::function<int(int job, std::FILE* out)>& work,
                                      const std::function<void(int job, const std::string& line)>& onLine) {
  std::fflush(nullptr);  // a child must not write this process's buffered output again
  std::vector<Child> children(static_cast<std::size_t>(jobs));
  const pid_t parent = ::getpid();
  for (int job = 0; job < jobs; ++job) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) break;
    const pid_t pid = fork();
    if (pid == 0) {
      close(fds[0]);
      for (int earlier = 0; earlier < job; ++earlier) {
        if (children[earlier].fd >= 0) close(children[earlier].fd);
      }
      runChild(job, fds[1], parent, work);
    }
    close(fds[1]);
    if (pid < 0) {
      close(fds[0]);
      break;
    }
    children[job].pid = pid;
    children[job].fd = fds[0];
  }

  for (;;) {
    std::vector<pollfd> polled;
    std::vector<int> owners;
    for (int job = 0; job < jobs; ++job) {
      if (children[job].fd >= 0) {
        polled.push_back({children[job].fd, POLLIN, 0});
        owners.push_back(job);
      }
    }
    if (polled.empty()) break;
    if (poll(polled.data(), polled.size(), -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (std::size_t i = 0; i < polled.size(); ++i) {
      if (polled[i].revents == 0) continue;
      Child& child = children[owners[i]];
      const bool open = readAvailable(child);
      deliverLines(child, owners[i], onLine);
      if (!open) {
        if (!child.pending.empty()) onLine(owners[i], child.pending);
        child.pending.clear();
        close(child.fd);
        child.fd = -1;
      }
    }
  }

  std::vector<WorkerEnd> ends(children.size());
  for (std::size_t job = 0; job < children.size(); ++job) {
    Child& child = children[job];
    if (child.fd >= 0) close(child.fd);
    if (child.pid <= 0) continue;
    int status = 0;
    while (waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
    }
    ends[job].started = true;
    ends[job].exited = WIFEXITED(status);
    ends[job].code = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  }
  return ends;
}

}  // namespace kaimo::tools
