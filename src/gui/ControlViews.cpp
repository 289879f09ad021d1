#include "gui/ControlViews.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "data/controls/DBEdit.h"
#include "data/engine/Table.h"
#include "gui/ActionRunner.h"
#include "gui/DataViews.h"
#include "ui/Form.h"

namespace corvanta {

QString toQ(const std::string& s) {
  return QString::fromStdString(s);
}

ControlView::ControlView(Control& control, QWidget* widget) : control_(control), widget_(widget) {
  widget_->setObjectName(toQ(control.name()));
  control_.addObserver(this);
}

ControlView::~ControlView() {
  control_.removeObserver(this);
}

void ControlView::sync() {
  widget_->setEnabled(control_.enabled());
  widget_->setVisible(control_.visible());
  if (!control_.hint().empty()) widget_->setToolTip(toQ(control_.hint()));
}

namespace {

QColor colorNamed(const std::string& name) {
  QColor c = QColor::fromString(toQ(name));
  return c.isValid() ? c : QColor();
}

void fillWith(QWidget* w, const std::string& color) {
  QColor c = colorNamed(color);
  if (!c.isValid()) return;
  QPalette p = w->palette();
  p.setColor(QPalette::Window, c);
  w->setPalette(p);
  w->setAutoFillBackground(true);
}

// Labels: plain text, one line, growing to their text like auto-sized labels do.
class LabelView : public ControlView {
 public:
  LabelView(Control& c, QWidget* parent, bool growToText)
      : ControlView(c, new QLabel(parent)),
        label_(static_cast<QLabel*>(widget())),
        grow_(growToText) {
    label_->setTextFormat(Qt::PlainText);
    label_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    font_ = label_->font();
    if (auto* l = dynamic_cast<Label*>(&c)) {
      QFont f = label_->font();
      if (l->fontSize > 0) f.setPointSize(l->fontSize);
      f.setBold(l->bold);
      label_->setFont(f);
      font_ = f;
      if (QColor col = colorNamed(l->color); col.isValid()) {
        QPalette p = label_->palette();
        p.setColor(QPalette::WindowText, col);
        label_->setPalette(p);
      }
    }
  }
  void sync() override {
    ControlView::sync();
    const QString text =
        toQ(control().kind() == ControlKind::Label ? stripAccelerator(control().text())
                                                   : control().text());
    if (label_->text() != text) {
      label_->setText(text);
      if (grow_ && label_->parentWidget() && label_->parentWidget()->width() > label_->x())
        fitWithin(label_->parentWidget()->width() - label_->x());
      if (!grow_) label_->setToolTip(text);
    }
  }
  bool autoSizes() const override { return grow_; }

  void fitWithin(int maxWidth) override {
    const Bounds& b = control().bounds();
    QFont f = font_;
    label_->setFont(f);
    QSize hint = label_->sizeHint();
    // Fonts here run wider than the ones the layouts were drawn with: a line that would not
    // fit its window is set a little smaller rather than cut.
    while (hint.width() > maxWidth && f.pointSizeF() > kSmallestPoints) {
      f.setPointSizeF(f.pointSizeF() - 0.5);
      label_->setFont(f);
      hint = label_->sizeHint();
    }
    label_->resize(std::max(b.width, std::min(hint.width(), maxWidth)),
                   std::max(b.height, hint.height()));
  }

 private:
  static constexpr double kSmallestPoints = 6.5;
  QLabel* label_;
  bool grow_;
  QFont font_;
};

class PanelView : public ControlView {
 public:
  PanelView(Panel& p, QWidget* parent) : ControlView(p, new QFrame(parent)), model_(p) {
    frame_ = static_cast<QFrame*>(widget());
    frame_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    fillWith(frame_, p.color);
    caption_ = new QLabel(frame_);
    caption_->setTextFormat(Qt::PlainText);
    caption_->setAlignment(Qt::AlignCenter);
  }
  void sync() override {
    ControlView::sync();
    caption_->setText(toQ(stripAccelerator(model_.text())));
    caption_->setVisible(!model_.text().empty());
    caption_->setGeometry(frame_->rect());
    caption_->lower();
  }
  QWidget* container() const override { return frame_; }

 private:
  Panel& model_;
  QFrame* frame_;
  QLabel* caption_;
};

class GroupBoxView : public ControlView {
 public:
  GroupBoxView(Control& c, QWidget* parent) : ControlView(c, new QGroupBox(parent)) {}
  void sync() override {
    ControlView::sync();
    static_cast<QGroupBox*>(widget())->setTitle(toQ(control().text()));
  }
  QWidget* container() const override { return widget(); }
};

// A line edit that reports when the focus comes and goes, with the reason.
class ModelLineEdit : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;
  std::function<void()> onFocusIn;
  std::function<void(Qt::FocusReason)> onFocusOut;

 protected:
  void focusInEvent(QFocusEvent* e) override {
    QLineEdit::focusInEvent(e);
    if (onFocusIn) onFocusIn();
  }
  void focusOutEvent(QFocusEvent* e) override {
    QLineEdit::focusOutEvent(e);
    if (onFocusOut) onFocusOut(e->reason());
  }
};

class EditView : public ControlView {
 public:
  EditView(Edit& e, QWidget* parent, ActionRunner& runner)
      : ControlView(e, new ModelLineEdit(parent)), model_(e), runner_(runner) {
    edit_ = static_cast<ModelLineEdit*>(widget());
    QObject::connect(edit_, &QLineEdit::textEdited, edit_, [this](const QString& t) { typed(t); });
    edit_->onFocusIn = [this] { left_ = false; };
    edit_->onFocusOut = [this](Qt::FocusReason r) { focusLost(r); };
  }

  void sync() override {
    ControlView::sync();
    const bool readOnly = model_.readOnly || fieldReadOnly();
    if (readOnly != edit_->isReadOnly() || !styled_) showReadOnly(readOnly);
    edit_->setMaxLength(model_.maxLength > 0 ? model_.maxLength : 32767);
    if (!typing_) showModelText();
  }

  bool leaveByKey() override { return leave(); }

  bool takesTyping() const override {
    if (model_.readOnly || !model_.enabled() || edit_->isHidden()) return false;
    auto* db = dynamic_cast<const DBEdit*>(&model_);
    if (!db) return true;
    const Table* t = db->link().active() ? db->link().table() : nullptr;
    if (!t || fieldReadOnly()) return false;
    return t->state() != TableState::Browse || db->link().source()->autoEdit();
  }

  const Table* table() const override {
    auto* db = dynamic_cast<const DBEdit*>(&model_);
    return db ? db->link().table() : nullptr;
  }

 private:
  bool fieldReadOnly() const {
    auto* db = dynamic_cast<const DBEdit*>(&model_);
    return db && db->link().field() && db->link().field()->def().readOnly;
  }

  // An edit that never takes typing looks it: the window's colour instead of the white of an
  // input field, and Tab passes it by (a click still puts the caret there for copying).
  void showReadOnly(bool readOnly) {
    styled_ = true;
    edit_->setReadOnly(readOnly);
    QPalette p = edit_->palette();
    p.setBrush(QPalette::Base, readOnly ? p.brush(QPalette::Window)
                                        : QApplication::palette(edit_).brush(QPalette::Base));
    edit_->setPalette(p);
    edit_->setFocusPolicy(readOnly ? Qt::ClickFocus : Qt::StrongFocus);
  }

  void showModelText() {
    const QString t = toQ(model_.text());
    if (edit_->text() == t) return;
    const int pos = edit_->cursorPosition();
    edit_->setText(t);
    if (edit_->hasFocus()) edit_->setCursorPosition(std::min<int>(pos, t.size()));
  }

  void typed(const QString& text) {
    bool accepted = false;
    left_ = false;
    typing_ = true;
    runner_.run([&] { accepted = model_.typeText(text.toStdString()); });
    typing_ = false;
    // Refused typing, or a text the model cut: the widget shows what the model holds.
    (void)accepted;
    showModelText();
  }

  bool leave() {
    bool ok = true;
    runner_.run([&] { ok = model_.leave(); });
    left_ = ok;
    if (!ok) {
      // The model keeps the focus here (a value the field refused).
      QTimer::singleShot(0, edit_, [e = edit_] {
        e->setFocus(Qt::OtherFocusReason);
        e->selectAll();
      });
    }
    return ok;
  }

  void focusLost(Qt::FocusReason reason) {
    // Switching windows or opening a popup or message box does not leave the control, nor
    // does its window being hidden by a command.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
    if (!edit_->window()->isVisible() || !model_.form().visible()) return;
    // Left already with Enter and not typed into since: once is enough.
    if (left_) return;
    leave();
  }

  Edit& model_;
  ActionRunner& runner_;
  ModelLineEdit* edit_;
  bool typing_ = false;
  bool styled_ = false;
  bool left_ = false;  // left (with Enter) since the focus came or the last typing
};

// The standard button kinds' glyphs: a green check mark, a red cross, a blue question mark,
// an open door.
QIcon glyphIcon(Button::Glyph g) {
  if (g == Button::Glyph::None) return {};
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (g) {
    case Button::Glyph::Ok:
      p.setPen(QPen(QColor(0, 128, 0), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawPolyline(QPolygonF({QPointF(6, 17), QPointF(13, 24), QPointF(26, 8)}));
      break;
    case Button::Glyph::Cancel:
      p.setPen(QPen(QColor(200, 0, 0), 5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(8, 8), QPointF(24, 24));
      p.drawLine(QPointF(24, 8), QPointF(8, 24));
      break;
    case Button::Glyph::Help: {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0, 70, 170));
      p.drawEllipse(QRectF(3, 3, 26, 26));
      QFont f = p.font();
      f.setBold(true);
      f.setPixelSize(20);
      p.setFont(f);
      p.setPen(Qt::white);
      p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, "?");
      break;
    }
    case Button::Glyph::Close:
      p.setPen(QPen(QColor(90, 60, 30), 2));
      p.setBrush(QColor(150, 100, 50));
      p.drawRect(QRectF(8, 3, 16, 26));
      p.setBrush(QColor(230, 190, 60));
      p.drawEllipse(QPointF(20, 17), 2, 2);
      break;
    case Button::Glyph::None:
      break;
  }
  return QIcon(pixmap);
}

class ButtonView : public ControlView {
 public:
  ButtonView(Button& b, QWidget* parent, ActionRunner& runner)
      : ControlView(b, new QPushButton(parent)), model_(b) {
    auto* button = static_cast<QPushButton*>(widget());
    // Enter presses the focused button; otherwise the window's default one.
    button->setAutoDefault(true);
    button->setDefault(b.isDefault);
    if (b.glyph != Button::Glyph::None) button->setIcon(glyphIcon(b.glyph));
    QObject::connect(button, &QPushButton::clicked, button,
                     [this, &runner] { runner.run([this] { model_.click(); }); });
  }
  void sync() override {
    ControlView::sync();
    // Captions mark their accelerator with '&' exactly as Qt mnemonics do.
    static_cast<QPushButton*>(widget())->setText(toQ(model_.text()));
  }

 private:
  Button& model_;
};

// Option buttons answer the arrow keys as a person expects: Up/Left and Down/Right go to the
// previous or next option of the same group (round the end) and choose it.  The widgets are
// not auto-exclusive (the model keeps its group exclusive), and Qt would move such a button's
// focus as Tab does, on to OK, leaving the option shown with the focus unchosen: Enter then
// ran the option that was still chosen.
class OptionRadio : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const int k = event->key();
    const bool back = k == Qt::Key_Up || k == Qt::Key_Left;
    if ((!back && k != Qt::Key_Down && k != Qt::Key_Right) || !parentWidget()) {
      QRadioButton::keyPressEvent(event);
      return;
    }
    std::vector<OptionRadio*> group;
    for (auto* r : parentWidget()->findChildren<OptionRadio*>(Qt::FindDirectChildrenOnly))
      if (r->isEnabled() && r->isVisible()) group.push_back(r);
    const auto at = std::find(group.begin(), group.end(), this);
    if (group.size() < 2 || at == group.end()) {
      QRadioButton::keyPressEvent(event);
      return;
    }
    const size_t i = static_cast<size_t>(at - group.begin());
    OptionRadio* next = group[(i + (back ? group.size() - 1 : 1)) % group.size()];
    next->setFocus(Qt::TabFocusReason);
    next->click();
  }
};

class OptionView : public ControlView {
 public:
  OptionView(OptionButton& o, QWidget* parent, ActionRunner& runner)
      : ControlView(o, new OptionRadio(parent)), model_(o) {
    auto* radio = static_cast<QRadioButton*>(widget());
    // The model keeps its group exclusive (same parent); the widgets only mirror it, so that
    // a program's unchecking shows too.
    radio->setAutoExclusive(false);
    QObject::connect(radio, &QRadioButton::clicked, radio, [this, &runner](bool checked) {
      if (checked) runner.run([this] { model_.choose(); });
      sync();
    });
  }
  void sync() override {
    ControlView::sync();
    auto* radio = static_cast<QRadioButton*>(widget());
    radio->setText(toQ(model_.text()));
    radio->setChecked(model_.checked());
  }

 private:
  OptionButton& model_;
};

// A picture chosen from its name; the shop's pictures are its program icons.
class ImageView : public ControlView {
 public:
  ImageView(Control& c, QWidget* parent) : ControlView(c, new QLabel(parent)) {
    auto* label = static_cast<QLabel*>(widget());
    label->setAlignment(Qt::AlignCenter);
    label->setToolTip(toQ(c.text()));
  }
  void sync() override {
    ControlView::sync();
    auto* label = static_cast<QLabel*>(widget());
    const Bounds& b = control().bounds();
    const int side = std::max(16, std::min(b.width ? b.width : 32, b.height ? b.height : 32));
    const QString name = toQ(control().text()).toLower();
    const auto icon = name.contains("help")   ? QStyle::SP_MessageBoxQuestion
                      : name.contains("warn") ? QStyle::SP_MessageBoxWarning
                      : name.contains("info") ? QStyle::SP_MessageBoxInformation
                                              : QStyle::SP_ComputerIcon;
    label->setPixmap(label->style()->standardIcon(icon).pixmap(side, side));
  }
};

}  // namespace

std::unique_ptr<ControlView> makeControlView(Control& control, QWidget* parent,
                                             ActionRunner& runner) {
  std::unique_ptr<ControlView> view;
  switch (control.kind()) {
    case ControlKind::Label:
      view = std::make_unique<LabelView>(control, parent, true);
      break;
    case ControlKind::DBText:
      view = std::make_unique<LabelView>(control, parent, false);
      break;
    case ControlKind::Panel:
      view = std::make_unique<PanelView>(static_cast<Panel&>(control), parent);
      break;
    case ControlKind::GroupBox:
      view = std::make_unique<GroupBoxView>(control, parent);
      break;
    case ControlKind::Edit:
    case ControlKind::DBEdit:
      view = std::make_unique<EditView>(static_cast<Edit&>(control), parent, runner);
      break;
    case ControlKind::Button:
      view = std::make_unique<ButtonView>(static_cast<Button&>(control), parent, runner);
      break;
    case ControlKind::OptionButton:
      view = std::make_unique<OptionView>(static_cast<OptionButton&>(control), parent, runner);
      break;
    case ControlKind::Image:
      view = std::make_unique<ImageView>(control, parent);
      break;
    case ControlKind::DBGrid:
      view = makeGridView(control, parent, runner);
      break;
    case ControlKind::Navigator:
      view = makeNavigatorView(control, parent, runner);
      break;
    case ControlKind::MenuItem:
      return nullptr;
  }
  return view;
}

}  // namespace corvanta
