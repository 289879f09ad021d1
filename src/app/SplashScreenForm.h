#pragma once
// The splash window: up before anything else at start-up, while the tables open.
#include "ui/Form.h"

namespace corvanta {

class TSplashScreenForm : public Form {
 public:
  explicit TSplashScreenForm(Application& app);
  Panel Panel1{*this, "Panel1"};
  Label Label1{*this, "Label1", "Corvanta Version 1.2", &Panel1};
  Label Label2{*this, "Label2", "The EZ  way to computerize your business", &Panel1};
  Label Label3{*this, "Label3", "Copyright (c) Corvanta Software Works. All rights reserved.",
               &Panel1};
};

}  // namespace corvanta
