#include "gui/TraceViewWidget.h"

#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QVector>

#include "app/AppSettings.h"
#include "section/SeismicSection.h"

TraceViewWidget::TraceViewWidget(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(50, 50);
}

void TraceViewWidget::ReadSettings() {
  VTracePlotter::RenderSettings rs;
  rs.wiggleMinIntertrace = Settings().wiggleMinIntertrace;
  rs.evenSpacingBelow = Settings().evenSpacingBelow;
  rs.displayThreads = Settings().displayThreads;  // fixed for the run
  m_plotter.SetRenderSettings(rs);
  if (m_created && HasData()) RefreshDisplay();
}

bool TraceViewWidget::EnsureCreated() {
  if (m_created) return true;
  ReadSettings();
  m_created = m_plotter.Create(std::max(width(), 2), std::max(height(), 2), &m_text) == 0;
  return m_created;
}

void TraceViewWidget::Clear() {
  m_plotter.DetachSection();
  m_samples = 0;
}

void TraceViewWidget::RefreshDisplay() {
  if (!EnsureCreated()) return;
  m_plotter.Layout(false);
  m_plotter.Redraw();
  update();
}

void TraceViewWidget::ShowTraces(const SeismicSection& section) {
  EnsureCreated();
  m_plotter.AttachSection(section);
  m_samples = section.m_maxSamples;
}

void TraceViewWidget::PlotSize(int* width, int* height) {
  if (EnsureCreated()) {
    m_plotter.Store().BuildPalette(m_plotter.Params());
    m_plotter.Layout(false);
  }
  *width = m_plotter.Geometry().plotWidth;
  *height = m_plotter.Geometry().plotHeight;
}

void TraceViewWidget::resizeEvent(QResizeEvent*) {
  if (!m_created) {
    EnsureCreated();
  } else if (m_plotter.Resize(width(), height()) != 0) {
    QMessageBox::critical(this, "FATAL ERROR", "FAILED to resize backingstore bitmap");
  }
  update();
}

void TraceViewWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const BackingStore& store = m_plotter.Store();
  if (!m_created || !store.HasRaster() || !store.HasDescription()) {
    p.fillRect(rect(), Qt::white);
    return;
  }
  // The raster is shown as it is: an indexed image over its own memory.
  QImage image(store.Pixels(), store.ClientWidth(), store.ClientHeight(), store.Stride(),
               QImage::Format_Indexed8);
  QVector<QRgb> colors(256);
  const Palette& palette = store.GetPalette();
  for (int i = 0; i < 256; ++i) {
    uint32_t c = palette.Colorref(i);  // 0x00BBGGRR
    colors[i] = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  }
  image.setColorTable(colors);
  p.fillRect(rect(), Qt::white);
  p.drawImage(0, 0, image);
}
