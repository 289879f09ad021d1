#include "reports/ColumnFit.h"

#include <algorithm>
#include <numeric>

namespace corvanta::reports {

ColumnFit::ColumnFit(const std::vector<double>& widths, const std::vector<double>& needs) {
  const size_t n = widths.size();
  if (n == 0 || needs.size() != n) return;
  const double total = std::accumulate(widths.begin(), widths.end(), 0.0);
  double missing = 0, spare = 0, needed = 0;
  for (size_t i = 0; i < n; ++i) {
    missing += std::max(0.0, needs[i] - widths[i]);
    spare += std::max(0.0, widths[i] - needs[i]);
    needed += needs[i];
  }
  std::vector<double> fitted = widths;
  if (missing > 0) {
    if (spare >= missing) {
      for (size_t i = 0; i < n; ++i)
        fitted[i] =
            widths[i] < needs[i] ? needs[i] : widths[i] - (widths[i] - needs[i]) * missing / spare;
    } else {
      // Not even the needs fit: share the line in proportion to them, so each column is cut
      // alike rather than the last ones losing everything.
      for (size_t i = 0; i < n; ++i) fitted[i] = needed > 0 ? total * needs[i] / needed : 0;
    }
  }
  nominal_.assign(1, 0.0);
  fitted_.assign(1, 0.0);
  for (size_t i = 0; i < n; ++i) {
    nominal_.push_back(nominal_.back() + widths[i]);
    fitted_.push_back(fitted_.back() + fitted[i]);
  }
}

double ColumnFit::map(double x) const {
  if (empty()) return x;
  if (x <= 0) return x;
  if (x >= nominal_.back()) return fitted_.back() + (x - nominal_.back());
  const auto hi = std::upper_bound(nominal_.begin(), nominal_.end(), x);
  const size_t i = static_cast<size_t>(hi - nominal_.begin());  // nominal_[i-1] <= x < [i]
  const double from = nominal_[i - 1], to = nominal_[i];
  const double share = to > from ? (x - from) / (to - from) : 0;
  return fitted_[i - 1] + share * (fitted_[i] - fitted_[i - 1]);
}

}  // namespace corvanta::reports
