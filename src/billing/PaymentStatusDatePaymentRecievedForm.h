#pragma once
// PaymentStatusDatePaymentRecievedForm: the window exists from start-up with its caption; its
// controls and commands are built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TPaymentStatusDatePaymentRecievedForm : public Form {
 public:
  explicit TPaymentStatusDatePaymentRecievedForm(Application& app)
      : Form(app, "PaymentStatusDatePaymentRecievedForm", "Payment Status /Date Payment Recieved") {
    border = BorderStyle::Dialog;
  }
};

}  // namespace corvanta
