#include "gui/HelpWindow.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "gui/ScreenFit.h"

namespace corvanta {

HelpWindow::HelpWindow() : browser_(new QTextBrowser(this)) {
  setWindowTitle(QStringLiteral("Corvanta Help"));
  auto* back = new QPushButton(QStringLiteral("&Back"), this);
  auto* forward = new QPushButton(QStringLiteral("&Forward"), this);
  auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(contents, &QPushButton::clicked, this,
          [this] { browser_->setSource(home_, QTextDocument::HtmlResource); });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Corvanta Help") : title);
  });
  new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { QWidget::close(); });
  new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Left), browser_, [this] { browser_->backward(); });

  browser_->setOpenExternalLinks(true);
  auto* buttons = new QHBoxLayout;
  for (auto* b : {back, forward, contents}) buttons->addWidget(b);
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(browser_);
  placeCentred(this, QSize(760, 760));
}

void HelpWindow::showFile(const std::filesystem::path& file) {
  home_ = QUrl::fromLocalFile(QString::fromStdString(file.string()));
  // The .HLP names say nothing of HTML, so the type is given rather than guessed.
  browser_->setSource(home_, QTextDocument::HtmlResource);
  browser_->clearHistory();
  show();
  setWindowState(windowState() & ~Qt::WindowMinimized);
  raise();
  activateWindow();
}

HelpWindowViewer::HelpWindowViewer(const EngineConfig& config)
    : viewer_(config, [this](const std::filesystem::path& file, const std::string&) {
        if (!window_) window_ = std::make_unique<HelpWindow>();
        window_->showFile(file);
      }) {}

HelpWindowViewer::~HelpWindowViewer() = default;

void HelpWindowViewer::showHelp(const std::string& helpFile, int command, int data) {
  viewer_.showHelp(helpFile, command, data);
}

}  // namespace corvanta
