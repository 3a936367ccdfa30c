#include "tools/common/cpu_deadline.h"

#include <gtest/gtest.h>

namespace kaimo::tools {
namespace {

// Busy until the token stops or `limitMicros` of processor time are spent.
std::int64_t spinUntilStopped(const std::stop_token& stop, std::int64_t limitMicros) {
  const std::int64_t start = processCpuMicros();
  volatile std::uint64_t work = 0;
  while (!stop.stop_requested() && processCpuMicros() - start < limitMicros) {
    for (int i = 0; i < 1000; ++i) work = work + static_cast<std::uint64_t>(i);
  }
  return processCpuMicros() - start;
}

TEST(CpuDeadline, StopsOnceTheProcessorTimeIsSpent) {
  const CpuDeadline deadline(20);
  const std::int64_t spent = spinUntilStopped(deadline.token(), 10000000);
  EXPECT_TRUE(deadline.token().stop_requested());
  EXPECT_GE(spent, 20000 - 1000);  // the clock's grain
}

TEST(CpuDeadline, NeverStopsBeforeItsTimeNorAfterItIsGone) {
  std::stop_token token;
  {
    const CpuDeadline deadline(60000);
    token = deadline.token();
    spinUntilStopped(token, 5000);
    EXPECT_FALSE(token.stop_requested());
  }
  EXPECT_FALSE(token.stop_requested());  // ending the watch requests nothing
}

}  // namespace
}  // namespace kaimo::tools
