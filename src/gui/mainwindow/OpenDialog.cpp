#include "gui/mainwindow/OpenDialog.h"

#include "app/OpenFilters.h"

QStringList OpenDialogFilters() {
  QStringList list;
  for (const OpenFilter& f : kOpenFilters) {
    QString patterns = QString::fromUtf8(f.patterns).replace(';', ' ');
    // Qt reads the patterns from the last parentheses of an entry.
    list << QString("%1 (%2)").arg(QString::fromUtf8(f.label), patterns);
  }
  return list;
}
