#include "gui/SidePanel.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

SidePanel::SidePanel(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
  setPalette(pal);
  setFixedWidth(260);
  auto* layout = new QVBoxLayout(this);
  m_info = new QPlainTextEdit(this);
  m_info->setReadOnly(true);
  m_info->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont mono("Courier New");
  mono.setStyleHint(QFont::Monospace);
  m_info->setFont(mono);
  m_trace = new QLabel(this);
  layout->addWidget(m_info, 1);
  layout->addWidget(m_trace);
}

void SidePanel::SetSectionInfo(const QString& text) {
  m_info->setPlainText(text);
}

QString SidePanel::SectionInfo() const {
  return m_info->toPlainText();
}

void SidePanel::SetTraceInfo(int trace) {
  m_trace->setText(trace >= 0 ? QString("trace %1").arg(trace + 1) : "");
}
