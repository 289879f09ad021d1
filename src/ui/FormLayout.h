#pragma once
// The two arrangements nearly every window of the shop is made of, so that their geometry is
// said once: a column of captioned fields (each caption left of its field, one row each) and
// a column of command buttons.
#include <initializer_list>

#include "ui/Control.h"

namespace corvanta {

struct FieldRow {
  Control& label;
  Control& field;
  int fieldWidth;
};

struct FieldColumn {
  int labelLeft = 12;
  int labelWidth = 110;
  int fieldLeft = 125;
  int rowHeight = 30;
};

// Lays the rows out downwards from top: the caption three pixels lower than its 24-pixel field
// so that their texts share a baseline.  Returns the top of the row after the last.
int layFieldRows(std::initializer_list<FieldRow> rows, const FieldColumn& column, int top);

// Lays the buttons out downwards from top, each width x height, step pixels apart.  Returns
// the top of the place after the last.
int layButtonColumn(std::initializer_list<Control*> buttons, int left, int top, int width,
                    int height, int step);

}  // namespace corvanta
