#pragma once
// Column widths of a list that fit its headings and its short values.
//
// A definition gives its columns as shares of the line ("7%"), chosen on one author's paper in
// one font.  Printed in another font, or with a value longer than the author thought of, a
// share can be too narrow: a heading then runs into its neighbour and a quantity breaks over
// two lines.  Before a list is painted the job measures what each column needs (see
// SectionLayout::measure) and fits the columns once for the whole run, so every page and every
// row section shares the same edges and headings stay above their values.
#include <vector>

namespace corvanta::reports {

class ColumnFit {
 public:
  ColumnFit() = default;
  // `widths`: the columns as the definition gives them, summing to the line's width.
  // `needs`: what each column needs at least (0: nothing measured).  A column short of its
  // need is widened, the room taken from the columns with more than they need, in proportion
  // to what each can spare.  When the line cannot hold every need, every column gets its need
  // scaled down alike.  Both vectors have one entry per column.
  ColumnFit(const std::vector<double>& widths, const std::vector<double>& needs);

  bool empty() const { return nominal_.size() < 2; }
  // The line width the fit was made for.
  double width() const { return empty() ? 0 : nominal_.back(); }
  // Where a position on the line as the definition places it goes: the column edges move
  // to their fitted place, a position between two edges keeps its share of that column.
  // A section whose cells do not follow the grid's edges stays inside the same columns.
  double map(double x) const;
  const std::vector<double>& fittedEdges() const { return fitted_; }

 private:
  std::vector<double> nominal_, fitted_;  // edges, from 0 to the line's width
};

}  // namespace corvanta::reports
