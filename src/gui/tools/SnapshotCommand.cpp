#include "gui/tools/SnapshotCommand.h"

#include <QFileDialog>
#include <QFileInfo>
#include <vector>

#include "display/PngSnapshot.h"
#include "log/Status.h"

SnapshotNameChooser SnapshotDialogChooser(QWidget* owner, const QString& startFolder) {
  return [owner, startFolder]() {
    return QFileDialog::getSaveFileName(owner, QString::fromUtf8(kSnapshotDialogTitle), startFolder,
                                        QString::fromUtf8(kSnapshotDialogFilter));
  };
}

QString WithPngExtension(const QString& path) {
  if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
  return path + ".png";
}

int SnapshotCommand(const BackingStore& store, const SnapshotNameChooser& choose) {
  std::vector<unsigned char> png;
  if (EncodePngSnapshot(store, &png) != 0) return kStatusRefused;
  const QString path = WithPngExtension(choose ? choose() : QString());
  if (path.isEmpty()) return kStatusRefused;
  return WritePngFile(png, path.toUtf8().toStdString());
}
