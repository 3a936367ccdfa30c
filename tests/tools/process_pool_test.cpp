#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <string>
#include <vector>

#include "tools/common/process_pool.h"

namespace kaimo::tools {
namespace {

TEST(ProcessPool, DeliversEveryLineOfEveryChild) {
  std::map<int, std::vector<std::string>> lines;
  const std::vector<WorkerEnd> ends = runInProcesses(
      3,
      [](int job, std::FILE* out) {
        for (int i = 0; i < 50; ++i) std::fprintf(out, "%d:%d\n", job, i);
        std::fprintf(out, "last without newline %d", job);
        return 0;
      },
      [&](int job, const std::string& line) { lines[job].push_back(line); });
  EXPECT_TRUE(allSucceeded(ends));
  ASSERT_EQ(lines.size(), 3u);
  for (int job = 0; job < 3; ++job) {
    ASSERT_EQ(lines[job].size(), 51u);
    EXPECT_EQ(lines[job][49], std::to_string(job) + ":49");
    EXPECT_EQ(lines[job][50], "last without newline " + std::to_string(job));
  }
}

TEST(ProcessPool, TellsHowEachChildEnded) {
  const std::vector<WorkerEnd> ends = runInProcesses(
      3,
      [](int job, std::FILE*) {
        if (job == 2) std::raise(SIGKILL);
        return job == 1 ? 3 : 0;
      },
      [](int, const std::string&) {});
  ASSERT_EQ(ends.size(), 3u);
  EXPECT_TRUE(ends[0].ok());
  EXPECT_TRUE(ends[1].exited);
  EXPECT_EQ(ends[1].code, 3);
  EXPECT_FALSE(ends[2].exited);
  EXPECT_EQ(ends[2].code, SIGKILL);
  EXPECT_FALSE(allSucceeded(ends));
}

}  // namespace
}  // namespace kaimo::tools
