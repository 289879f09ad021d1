#include "app/AboutForm.h"
#include "app/SplashScreenForm.h"

namespace corvanta {

TSplashScreenForm::TSplashScreenForm(Application& app)
    : Form(app, "SplashScreenForm", "SplashScreenForm") {
  border = BorderStyle::None;
  clientWidth = 380;
  clientHeight = 200;
  Panel1.color = "yellow";
  Panel1.setBounds(0, 0, 380, 200);
  Label1.setBounds(20, 40, 340, 40);
  Label1.fontSize = 20;
  Label1.bold = true;
  Label1.color = "navy";
  Label2.setBounds(20, 95, 340, 24);
  Label2.fontSize = 11;
  Label2.color = "navy";
  Label3.setBounds(8, 172, 364, 18);
  Label3.fontSize = 7;
  Label3.color = "black";
}

TAboutForm::TAboutForm(Application& app) : Form(app, "AboutForm", "About") {
  border = BorderStyle::Dialog;
  clientWidth = 360;
  clientHeight = 270;
  Panel1.color = "yellow";
  Panel1.setBounds(0, 0, 360, 270);
  Label1.setBounds(20, 14, 320, 26);
  Label1.fontSize = 14;
  Label1.bold = true;
  Label1.color = "navy";
  int y = 46;
  for (Label* l : {&Label2, &Label3, &Label4, &Label5, &Label6, &Label7, &Label8}) {
    l->setBounds(20, y, 320, 20);
    y += l == &Label3 ? 30 : 22;
  }
  cmdOK.setKind(Button::Glyph::Ok);
  cmdOK.isCancel = true;
  cmdOK.setBounds(140, 228, 80, 30);
  addHandler("cmdOKClick", [this] { cmdOKClick(); });
}

}  // namespace corvanta
