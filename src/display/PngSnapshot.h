// PNG snapshots of a trace view: the raster as shown, as an 8-bit palette
// image with the view's 256 colours and a 150 dpi pixel size. The image is
// client width − 1 pixels wide: column 0 always holds index 0 (background)
// and the raster's last client column is left out. Returns 0, or kStatusRefused after
// logging the reason (nothing is written then).
#pragma once

#include <string>
#include <vector>

class BackingStore;

// The encoded file in *png.
int EncodePngSnapshot(const BackingStore& store, std::vector<unsigned char>* png);

// Writes encoded bytes to path (UTF-8) through a temporary file, so a failed
// write leaves no partial image and an existing file intact. 0 or kStatusRefused (logged).
int WritePngFile(const std::vector<unsigned char>& png, const std::string& path);

// Encodes and writes to path (UTF-8); an existing file is replaced only once
// the new one is complete.
int SavePngSnapshot(const BackingStore& store, const std::string& path);
