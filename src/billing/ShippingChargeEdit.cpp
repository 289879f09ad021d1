#include "billing/ShippingChargeEdit.h"

#include "data/numbers/Numbers.h"

namespace corvanta {

void ShippingChargeEdit::dataEvent(DataEvent event, const Field* field) {
  if (event == DataEvent::UpdateRecord && modified() && storingAtPost) {
    double value = 0;
    if (text().empty() || parseFloatStrict(text(), value)) storingAtPost(text());
  }
  DBEdit::dataEvent(event, field);
}

}  // namespace corvanta
