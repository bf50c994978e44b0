// "Snapshot F5": saves what the main trace view shows as an indexed-colour
// PNG. The raster is encoded before the file name is asked for, so an encoder
// failure never shows a dialog, and nothing is written on cancel.
#pragma once

#include <QString>
#include <functional>

class BackingStore;
class QWidget;

inline constexpr const char* kSnapshotDialogTitle = " Save as PNG image";
inline constexpr const char* kSnapshotDialogFilter = "PNG file (*.png)";

// Returns the chosen path, or an empty string when cancelled.
using SnapshotNameChooser = std::function<QString()>;

// The chooser that shows the save dialog, starting in startFolder.
SnapshotNameChooser SnapshotDialogChooser(QWidget* owner, const QString& startFolder);

// A chosen name without an extension gets ".png".
QString WithPngExtension(const QString& path);

// 0 when the file was written; kStatusRefused on an encoder or write failure (logged) or
// a cancelled dialog.
int SnapshotCommand(const BackingStore& store, const SnapshotNameChooser& choose);
