#pragma once
// A data-aware edit of an order's shipping charge.  A person may type a charge and go to
// another window without leaving the edit; the charge then reaches its field only when the
// record is posted (by a move, another dialog's OK...).  On that way in, this edit lets the
// grand total follow the charge, so that the two are always stored together.
#include <functional>
#include <string>

#include "data/controls/DBEdit.h"

namespace corvanta {

class ShippingChargeEdit : public DBEdit {
 public:
  using DBEdit::DBEdit;
  // Called with the typed text just before a post stores it into the field (never for a text
  // the field will refuse: the post fails on it first).
  std::function<void(const std::string& typed)> storingAtPost;

  void dataEvent(DataEvent event, const Field* field) override;
};

}  // namespace corvanta
