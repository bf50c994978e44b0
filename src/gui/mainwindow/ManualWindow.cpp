#include "gui/mainwindow/ManualWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include "log/Log.h"

namespace {
constexpr int kWidth = 860;
constexpr int kHeight = 760;

// Calls f(block) for every heading block of doc until f returns true.
template <typename F>
void ForEachHeading(const QTextDocument* doc, F f) {
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
    if (b.blockFormat().headingLevel() > 0 && f(b)) return;
}
}  // namespace

QStringList ManualPlaces(const QString& programFolder) {
  const QString dir = QDir::cleanPath(programFolder);
  return {dir + "/Kestrix.pdf", dir + "/manual.md", QDir::cleanPath(dir + "/../share/kestrix/manual.md")};
}

QString HeadingAnchor(const QString& heading) {
  QString anchor;
  for (QChar c : heading.trimmed().toLower()) {
    if (c.isLetterOrNumber() || c == '-' || c == '_')
      anchor += c;
    else if (c.isSpace())
      anchor += '-';
  }
  return anchor;
}

ManualWindow* ManualWindow::Open(const QString& programFolder, QWidget* parent) {
  const QStringList places = ManualPlaces(programFolder);
  for (const QString& path : places) {
    if (!path.endsWith(".md") || !QFileInfo(path).isFile()) continue;
    auto* window = new ManualWindow(parent);
    if (window->Load(path)) return window;
    delete window;
  }
  LogPrint(LogError, "\nERROR: no manual found; looked for");
  for (const QString& path : places) LogPrint(LogError, "       '%s'", path.toUtf8().constData());
  return nullptr;
}

ManualWindow::ManualWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(kTitle);
  m_browser = new QTextBrowser(this);
  // Links are ours to follow: Markdown headings carry no anchors of their own.
  m_browser->setOpenLinks(false);
  connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { FollowLink(url); });
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_browser);
  resize(kWidth, kHeight);
}

bool ManualWindow::Load(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    LogPrint(LogError, "\nERROR: cannot read the manual '%s'", path.toUtf8().constData());
    return false;
  }
  // Pictures named in the manual are found beside it.
  m_browser->document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath() + "/"));
  m_browser->setMarkdown(QString::fromUtf8(file.readAll()));
  return true;
}

bool ManualWindow::FollowLink(const QUrl& url) {
  // A click hands over "#anchor" resolved against the document's base.
  const QUrl page = url.adjusted(QUrl::RemoveFragment);
  const bool internal = url.hasFragment() && (page.isEmpty() || page == m_browser->document()->baseUrl());
  if (!internal) {
    QDesktopServices::openUrl(url);
    return true;
  }
  const QString anchor = url.fragment();
  bool found = false;
  ForEachHeading(m_browser->document(), [&](const QTextBlock& b) {
    if (HeadingAnchor(b.text()) != anchor) return false;
    // The heading goes to the top of the view, as a browser shows a section.
    m_browser->setTextCursor(QTextCursor(b));
    const QRectF r = m_browser->document()->documentLayout()->blockBoundingRect(b);
    m_browser->verticalScrollBar()->setValue(static_cast<int>(r.top()));
    found = true;
    return true;
  });
  return found;
}

QStringList ManualWindow::Links() const {
  QStringList links;
  for (QTextBlock b = m_browser->document()->begin(); b.isValid(); b = b.next())
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat f = it.fragment().charFormat();
      if (f.isAnchor() && !f.anchorHref().isEmpty() && (links.isEmpty() || links.last() != f.anchorHref()))
        links << f.anchorHref();
    }
  return links;
}

QStringList ManualWindow::Anchors() const {
  QStringList anchors;
  ForEachHeading(m_browser->document(), [&](const QTextBlock& b) {
    anchors << HeadingAnchor(b.text());
    return false;
  });
  return anchors;
}
