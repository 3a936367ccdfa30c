#include "tools/train/progress.h"

namespace kaimo::train {
namespace {

// Often enough to see it move, rarely enough not to flood a log.
constexpr std::chrono::seconds kPrintInterval{5};

}  // namespace

Progress::Progress(std::string what, long total, std::FILE* out)
    : what_(std::move(what)), total_(total), out_(out), start_(std::chrono::steady_clock::now()), lastPrint_(start_) {}

void Progress::advance(long count) {
  done_ += count;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastPrint_ >= kPrintInterval) {
    lastPrint_ = now;
    print(false);
  }
}

void Progress::finish() { print(true); }

void Progress::print(bool last) {
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const double rate = seconds > 0 ? done_ / seconds : 0.0;
  std::fprintf(out_, "%s: %ld of %ld, %.2f/s", what_.c_str(), done_, total_, rate);
  if (last) {
    std::fprintf(out_, ", took %s\n", formatDuration(seconds).c_str());
  } else if (rate > 0 && done_ < total_) {
    std::fprintf(out_, ", %s left\n", formatDuration((total_ - done_) / rate).c_str());
  } else {
    std::fprintf(out_, "\n");
  }
  std::fflush(out_);
}

std::string formatDuration(double seconds) {
  const long s = static_cast<long>(seconds + 0.5);
  char text[32];
  if (s >= 3600) {
    std::snprintf(text, sizeof text, "%ldh%02ldm", s / 3600, s / 60 % 60);
  } else if (s >= 60) {
    std::snprintf(text, sizeof text, "%ldm%02lds", s / 60, s % 60);
  } else {
    std::snprintf(text, sizeof text, "%lds", s);
  }
  return text;
}

}  // namespace kaimo::train
