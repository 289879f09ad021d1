#include "ui/OptionGroup.h"

#include <stdexcept>

#include "ui/Form.h"

namespace corvanta {

namespace {

// One look for every such dialog: the group box across the top, the options stacked in it,
// OK and Cancel side by side, centred under it.
constexpr int kMargin = 12;
constexpr int kGroupTop = 8;
constexpr int kFirstOptionTop = 24;  // inside the group box, below its caption
constexpr int kOptionPitch = 28;
constexpr int kOptionHeight = 22;
constexpr int kOptionLeft = 16;
constexpr int kButtonWidth = 85;
constexpr int kButtonHeight = 30;
constexpr int kButtonGap = 10;
constexpr int kButtonsBelowGroup = 14;
constexpr int kBottomMargin = 14;

}  // namespace

OptionGroup::OptionGroup(GroupBox& box, std::vector<OptionButton*> options, Button& ok,
                         Button& cancel, OptionGroupLayout layout)
    : options_(std::move(options)) {
  Form& form = box.form();
  if (options_.empty()) throw std::logic_error(form.name() + ": an option group without options");
  for (OptionButton* o : options_)
    if (!o || o->parent() != &box || &o->form() != &form)
      throw std::logic_error(form.name() + ": option " + (o ? o->name() : "(null)") +
                             " is not in group box " + box.name());
  if (&ok.form() != &form || &cancel.form() != &form)
    throw std::logic_error(form.name() + ": OK and Cancel of another window");

  const int n = static_cast<int>(options_.size());
  const int groupWidth = layout.width - 2 * kMargin;
  const int groupHeight = kFirstOptionTop + n * kOptionPitch + 4;
  box.setBounds(kMargin, kGroupTop, groupWidth, groupHeight);
  for (int i = 0; i < n; ++i)
    options_[static_cast<size_t>(i)]->setBounds(kOptionLeft, kFirstOptionTop + i * kOptionPitch,
                                                groupWidth - kOptionLeft - 20, kOptionHeight);

  const int buttonsTop = kGroupTop + groupHeight + kButtonsBelowGroup;
  const int buttonsLeft = (layout.width - 2 * kButtonWidth - kButtonGap) / 2;
  ok.setBounds(buttonsLeft, buttonsTop, kButtonWidth, kButtonHeight);
  cancel.setBounds(buttonsLeft + kButtonWidth + kButtonGap, buttonsTop, kButtonWidth,
                   kButtonHeight);
  ok.setKind(Button::Glyph::Ok);
  cancel.setKind(layout.cancelKind);

  form.border = BorderStyle::Dialog;
  form.clientWidth = layout.width;
  form.clientHeight = buttonsTop + kButtonHeight + kBottomMargin;
  choose(0);
}

int OptionGroup::chosenIndex() const {
  for (size_t i = 0; i < options_.size(); ++i)
    if (options_[i]->checked()) return static_cast<int>(i);
  return -1;
}

std::string OptionGroup::chosenName() const {
  const int i = chosenIndex();
  return i < 0 ? std::string() : options_[static_cast<size_t>(i)]->name();
}

void OptionGroup::choose(int index) {
  options_.at(static_cast<size_t>(index))->setChecked(true);
}

}  // namespace corvanta
