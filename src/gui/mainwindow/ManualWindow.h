// The user manual shown in a window of the program: the Markdown manual
// installed beside the program, with its links working. Help > Manual shows it
// when no PDF manual is installed (or none can be opened).
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QTextBrowser;
class QUrl;

// The files Help > Manual looks for, for a program in programFolder, in the
// order they are tried: the PDF, then the Markdown manual beside the program
// (build tree) and in ../share/kestrix (installed tree). Paths are cleaned.
QStringList ManualPlaces(const QString& programFolder);

// The anchor a heading answers to, as Markdown renderers make them: lower
// case, blanks become '-', characters other than letters, digits, '-' and '_'
// are dropped. "Parameters (F9)" gives "parameters-f9".
QString HeadingAnchor(const QString& heading);

class ManualWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr const char* kTitle = "Kestrix Manual";

  // Finds the Markdown manual among ManualPlaces(programFolder) and shows it in
  // a new window owned by parent. Without one, logs the places looked and
  // returns null (the caller raises the console).
  static ManualWindow* Open(const QString& programFolder, QWidget* parent);

  explicit ManualWindow(QWidget* parent = nullptr);

  // Reads and shows a Markdown file; false when it cannot be read.
  bool Load(const QString& path);
  QTextBrowser* Browser() const { return m_browser; }

  // What a click on a link does: "#anchor" scrolls to the heading with that
  // anchor (false when there is none); any other target goes to the system.
  bool FollowLink(const QUrl& url);
  // Every link target in the shown document, in document order.
  QStringList Links() const;
  // The anchors of the document's headings, in document order.
  QStringList Anchors() const;

 private:
  QTextBrowser* m_browser;
};
