#include "gui/console/ConsoleWidget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFontMetrics>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include "log/ConsoleLineStore.h"
#include "log/ConsoleMenu.h"
#include "log/Log.h"

namespace {
// The one console that ConsoleRaise reaches; set and cleared on the GUI thread.
std::atomic<ConsoleWidget*> g_raiseTarget{nullptr};

void RaiseFromAnyThread() {
  ConsoleWidget* w = g_raiseTarget.load();
  if (!w) return;
  QPointer<ConsoleWidget> guard(w);
  QMetaObject::invokeMethod(
      w,
      [guard] {
        if (guard) guard->RaiseConsole();
      },
      Qt::QueuedConnection);
}

constexpr int kRetryMs = 10;
}  // namespace

ConsoleWidget::ConsoleWidget(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(kConsoleTitle);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);
  m_font = QFont("Courier New");
  m_font.setStyleHint(QFont::Monospace);
  m_font.setFixedPitch(true);
  m_font.setPixelSize(15);
  QFontMetrics fm(m_font);
  m_lineHeight = std::max(1, fm.height());
  // The widest glyph of a substituted font can be several columns wide;
  // columns of a fixed-pitch font are its average width.
  m_charWidth = std::max(1, fm.averageCharWidth());
  m_bar = new QScrollBar(Qt::Vertical, this);
  connect(m_bar, &QScrollBar::actionTriggered, this, &ConsoleWidget::OnScrollAction);
  connect(m_bar, &QScrollBar::valueChanged, this, &ConsoleWidget::OnScrollValue);
  int barWidth = m_bar->sizeHint().width();
  move(50, 50);
  resize(80 * m_charWidth + barWidth, 44 * m_lineHeight);
  ConsoleSetChangeHook([this](ConsoleChange) {
    // Called with the log's lock held, on the writer's thread: only post.
    if (!m_refreshPosted.exchange(true))
      QMetaObject::invokeMethod(this, &ConsoleWidget::StoreChanged, Qt::QueuedConnection);
  });
}

ConsoleWidget::~ConsoleWidget() {
  // Once this returns the hook is never called again.
  ConsoleSetChangeHook({});
  ConsoleWidget* self = this;
  if (g_raiseTarget.compare_exchange_strong(self, nullptr)) ConsoleSetRaiseHook(nullptr);
}

void ConsoleWidget::InstallRaiseHook() {
  g_raiseTarget.store(this);
  ConsoleSetRaiseHook(&RaiseFromAnyThread);
}

void ConsoleWidget::RaiseConsole() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

void ConsoleWidget::StoreChanged() {
  m_refreshPosted.store(false);
  SyncScrollBar();
  update();
}

void ConsoleWidget::RetryLater() {
  QPointer<ConsoleWidget> guard(this);
  QTimer::singleShot(kRetryMs, this, [guard] {
    if (guard) guard->StoreChanged();
  });
}

void ConsoleWidget::SyncScrollBar() {
  if (m_sizePending) ApplySize();
  ConsoleLineStore::ScrollBar sb{};
  if (!ConsoleTryAccess([&](ConsoleLineStore& s) { sb = s.ScrollBarState(); })) {
    if (ConsoleIsOpen()) RetryLater();
    return;
  }
  m_syncing = true;
  m_bar->setRange(sb.min, std::max(sb.min, sb.max - sb.page + 1));
  m_bar->setPageStep(sb.page);
  m_bar->setSingleStep(1);
  m_bar->setValue(sb.pos);
  m_syncing = false;
}

void ConsoleWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setFont(m_font);
  p.setPen(Qt::black);
  int ascent = QFontMetrics(m_font).ascent();
  bool done = ConsoleTryAccess([&](ConsoleLineStore& s) {
    s.ForEachVisibleLine([&](int row, std::u16string_view line) {
      QString text = QString::fromUtf16(line.data(), static_cast<qsizetype>(line.size()));
      p.drawText(2, row * m_lineHeight + ascent, text);
    });
  });
  // A writer holds the lock: its change notification repaints, and so does the retry.
  if (!done && ConsoleIsOpen()) RetryLater();
}

void ConsoleWidget::resizeEvent(QResizeEvent*) {
  int barWidth = m_bar->sizeHint().width();
  m_bar->setGeometry(width() - barWidth, 0, barWidth, height());
  m_sizePending = true;
  ApplySize();
  SyncScrollBar();
}

void ConsoleWidget::ApplySize() {
  int barWidth = m_bar->sizeHint().width();
  int rows = std::max(1, height() / m_lineHeight);
  int cols = std::max(1, (width() - barWidth) / m_charWidth);
  if (ConsoleTryAccess([&](ConsoleLineStore& s) { s.Resize(rows, cols); })) {
    m_sizePending = false;
    update();
  } else if (ConsoleIsOpen()) {
    RetryLater();
  }
}

void ConsoleWidget::OnScrollAction(int action) {
  if (action != QAbstractSlider::SliderPageStepAdd && action != QAbstractSlider::SliderPageStepSub) return;
  // A page of the console is rows - 1 lines, not the bar's page step.
  int moved = 0;
  ConsoleTryAccess([&](ConsoleLineStore& s) {
    int before = s.ScrollPosition();
    if (action == QAbstractSlider::SliderPageStepAdd)
      s.PageDown();
    else
      s.PageUp();
    moved = s.ScrollPosition() - before;
  });
  m_bar->setSliderPosition(m_bar->value() + moved);
}

void ConsoleWidget::OnScrollValue(int value) {
  if (m_syncing) return;
  bool changed = false;
  if (!ConsoleTryAccess([&](ConsoleLineStore& s) { changed = s.ScrollTo(value); })) return;
  if (changed) update();
}

void ConsoleWidget::wheelEvent(QWheelEvent* event) {
  int notches = event->angleDelta().y() / 120;
  if (notches == 0) return;
  bool shift = event->modifiers() & Qt::ShiftModifier;
  bool changed = false;
  if (!ConsoleTryAccess([&](ConsoleLineStore& s) { changed = s.Wheel(notches, shift); })) return;
  if (changed) {
    SyncScrollBar();
    update();
  }
  event->accept();
}

QMenu* ConsoleWidget::BuildContextMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  for (const ConsoleMenuItem& item :
       ConsoleMenuItems(LogGetThreshold(), LogFileIsOpen(), LogFileIsPaused())) {
    QAction* a = menu->addAction(QString::fromUtf8(item.label));
    a->setData(item.id);
    a->setEnabled(item.enabled);
    if (item.id == kConsoleMenuClearAll) menu->addSeparator();
  }
  return menu;
}

void ConsoleWidget::contextMenuEvent(QContextMenuEvent* event) {
  if (QApplication::mouseButtons() & Qt::LeftButton) return;
  QMenu* menu = BuildContextMenu(this);
  QAction* chosen = menu->exec(event->globalPos());
  if (chosen) RunMenuCommand(chosen->data().toInt());
  menu->deleteLater();
}

void ConsoleWidget::RunMenuCommand(int id) {
  if (id == kConsoleMenuLogToFile) {
    ChooseLogFile();
    return;
  }
  ConsoleMenuExecute(id);
  if (id == kConsoleMenuClearAll) StoreChanged();
}

void ConsoleWidget::ChooseLogFile() {
  QString filter = QString::fromUtf8(kLogFileFilter);
  QFileDialog dialog(this, QString::fromUtf8(kLogFileDialogTitle), QString(), filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(kLogFileDefaultSuffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  // A file that cannot be created is silently not opened; the menu keeps offering it.
  LogFileOpen(dialog.selectedFiles().first().toStdString());
}

void ConsoleWidget::closeEvent(QCloseEvent* event) {
  event->ignore();
  hide();
}
