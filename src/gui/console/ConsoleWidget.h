// The console window: paints the log's line store and forwards resize,
// scroll-bar, wheel and context-menu input to it. Closing only hides it.
//
// Threads: lives on the GUI thread. Writers on any thread append to the store
// under the log's lock; the change hook only posts a queued refresh here. The
// paint, resize, scroll and wheel handlers only try the lock and, when a writer
// holds it, retry shortly instead of waiting.
#pragma once

#include <QFont>
#include <QWidget>
#include <atomic>

class QMenu;
class QScrollBar;

class ConsoleWidget : public QWidget {
  Q_OBJECT

 public:
  explicit ConsoleWidget(QWidget* parent = nullptr);
  ~ConsoleWidget() override;

  // Makes this widget the target of ConsoleRaise / ConsoleShow from any thread.
  void InstallRaiseHook();
  // Restores, shows and raises the window (GUI thread).
  void RaiseConsole();
  // The context menu as it would be shown now (tests inspect it).
  QMenu* BuildContextMenu(QWidget* parent);
  // Carries out a menu command; "Log to File" asks for a file name first.
  void RunMenuCommand(int id);

  int LineHeight() const { return m_lineHeight; }
  QScrollBar* ScrollBar() const { return m_bar; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void StoreChanged();
  void SyncScrollBar();
  void ApplySize();
  void OnScrollAction(int action);
  void OnScrollValue(int value);
  void RetryLater();
  void ChooseLogFile();

  QFont m_font;
  int m_lineHeight = 15;
  int m_charWidth = 8;
  QScrollBar* m_bar = nullptr;
  bool m_syncing = false;
  bool m_sizePending = false;
  std::atomic<bool> m_refreshPosted{false};
};
