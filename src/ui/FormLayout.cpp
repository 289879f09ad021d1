#include "ui/FormLayout.h"

namespace corvanta {

int layFieldRows(std::initializer_list<FieldRow> rows, const FieldColumn& column, int top) {
  for (const FieldRow& row : rows) {
    row.label.setBounds(column.labelLeft, top + 3, column.labelWidth, 20);
    row.field.setBounds(column.fieldLeft, top, row.fieldWidth, 24);
    top += column.rowHeight;
  }
  return top;
}

int layButtonColumn(std::initializer_list<Control*> buttons, int left, int top, int width,
                    int height, int step) {
  for (Control* b : buttons) {
    b->setBounds(left, top, width, height);
    top += step;
  }
  return top;
}

}  // namespace corvanta
