#pragma once
// The about window: title, version and where to reach the maker.
#include "ui/Form.h"

namespace corvanta {

class TAboutForm : public Form {
 public:
  explicit TAboutForm(Application& app);
  Panel Panel1{*this, "Panel1"};
  Label Label1{*this, "Label1", "Corvanta version 1.2", &Panel1};
  Label Label2{*this, "Label2", "(Morvane and Talvesk", &Panel1};
  Label Label3{*this, "Label3", "can be purchased as stand alone products)", &Panel1};
  Label Label4{*this, "Label4", "Copyright (c) Corvanta Software Works. All rights reserved.",
               &Panel1};
  Label Label5{*this, "Label5", "Corvanta Software Works", &Panel1};
  Label Label6{*this, "Label6", "14 Harbour Lane, Eastbrook", &Panel1};
  Label Label7{*this, "Label7", "Telephone (555) 010-4477", &Panel1};
  Label Label8{*this, "Label8", "support@corvanta.example", &Panel1};
  Button cmdOK{*this, "cmdOK", "OK", "cmdOKClick", &Panel1};

  void cmdOKClick() { close(); }
};

}  // namespace corvanta
