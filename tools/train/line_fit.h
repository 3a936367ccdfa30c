// A straight line y ≈ slope × x + intercept fitted by least squares, with
// the deviation of the points around it: the trainer's comparison of "狸"
// with exact margins and the ProbCut regressions use it.
#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

namespace kaimo::train {

struct LineFit {
  double slope = 0;
  double intercept = 0;
  double deviation = 0;  // root mean square of the residuals, n − 2 degrees of freedom
  std::size_t count = 0;
};

// Points with x all equal give slope 0 and their mean as the intercept.
inline LineFit fitLine(const std::vector<double>& xs, const std::vector<double>& ys) {
  LineFit fit;
  fit.count = xs.size();
  if (xs.empty()) return fit;
  const double n = static_cast<double>(xs.size());
  double sx = 0, sy = 0;
  for (std::size_t i = 0; i < xs.size(); ++i) {
    sx += xs[i];
    sy += ys[i];
  }
  const double mx = sx / n, my = sy / n;
  double sxx = 0, sxy = 0;
  for (std::size_t i = 0; i < xs.size(); ++i) {
    sxx += (xs[i] - mx) * (xs[i] - mx);
    sxy += (xs[i] - mx) * (ys[i] - my);
  }
  fit.slope = sxx > 0 ? sxy / sxx : 0;
  fit.intercept = my - fit.slope * mx;
  double squares = 0;
  for (std::size_t i = 0; i < xs.size(); ++i) {
    const double residual = ys[i] - (fit.slope * xs[i] + fit.intercept);
    squares += residual * residual;
  }
  fit.deviation = xs.size() > 2 ? std::sqrt(squares / (n - 2)) : 0;
  return fit;
}

}  // namespace kaimo::train
