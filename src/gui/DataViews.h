#pragma once
// Views of the data-aware controls that show more than one value: the record grid (a table
// view over a GridModel) and the record navigator (a row of small tool buttons).
#include <memory>

#include "gui/ControlViews.h"

namespace corvanta {

// control is a DBGrid: rows read by page; a person's click or arrow key on a row makes that
// record current (DBGrid::clickRow); the current record is highlighted and kept in view.
// The grid takes a new generation at the next pass of the event loop, and only while shown.
std::unique_ptr<ControlView> makeGridView(Control& control, QWidget* parent, ActionRunner& runner);
// control is a DBNavigator: one button per visible button, hinted and enabled as the model
// says; a click goes to DBNavigator::click.
std::unique_ptr<ControlView> makeNavigatorView(Control& control, QWidget* parent,
                                               ActionRunner& runner);

}  // namespace corvanta
