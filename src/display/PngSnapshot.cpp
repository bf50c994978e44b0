#include "display/PngSnapshot.h"

#include <lodepng.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "display/BackingStore.h"
#include "formats/SafeWrite.h"
#include "log/Log.h"
#include "log/Status.h"

namespace {

constexpr unsigned kPixelsPerMetre = 5906;  // 150 dpi

struct FreeDeleter {
  void operator()(unsigned char* p) const { std::free(p); }
};

// Column 0 stays background; image column x is raster column x up to the
// second-last client column.
std::unique_ptr<unsigned char[]> BuildImage(const BackingStore& store, unsigned width, unsigned height) {
  std::size_t bytes = static_cast<std::size_t>(width) * height;
  std::unique_ptr<unsigned char[]> image(new (std::nothrow) unsigned char[bytes ? bytes : 1]);
  if (!image) return image;
  std::memset(image.get(), 0, bytes);
  for (unsigned y = 0; y < height; ++y) {
    if (width > 1)
      std::memcpy(image.get() + std::size_t{y} * width + 1, store.Row(static_cast<int>(y)) + 1, width - 1);
  }
  return image;
}

// Palette image in and out, the pixel size and the compression settings.
unsigned ConfigureState(const BackingStore& store, LodePNGState* state) {
  LogPrint(LogError, "btype=%d ws=%d", static_cast<int>(state->encoder.zlibsettings.btype),
           static_cast<int>(state->encoder.zlibsettings.windowsize));
  const Palette& palette = store.GetPalette();
  for (int i = 0; i < Palette::kSize; ++i) {
    const PaletteEntry& e = palette.Entry(i);
    unsigned error = lodepng_palette_add(&state->info_raw, e.red, e.green, e.blue, 255);
    if (!error) error = lodepng_palette_add(&state->info_png.color, e.red, e.green, e.blue, 255);
    if (error) return error;
  }
  state->info_raw.colortype = LCT_PALETTE;
  state->info_raw.bitdepth = 8;
  state->info_png.color.colortype = LCT_PALETTE;
  state->info_png.color.bitdepth = 8;
  state->info_png.phys_defined = 1;
  state->info_png.phys_x = kPixelsPerMetre;
  state->info_png.phys_y = kPixelsPerMetre;
  state->info_png.phys_unit = 1;
  state->encoder.zlibsettings.btype = 2;
  state->encoder.zlibsettings.windowsize = 2048;
  state->encoder.zlibsettings.minmatch = 6;
  state->encoder.zlibsettings.nicematch = 128;
  state->encoder.auto_convert = 0;
  return 0;
}

}  // namespace

int EncodePngSnapshot(const BackingStore& store, std::vector<unsigned char>* png) {
  if (!store.HasDescription() || !store.HasRaster()) {
    LogPrint(LogError, "\nERROR: no trace view image to save\n");
    return kStatusRefused;
  }
  unsigned width = store.ClientWidth() > 0 ? static_cast<unsigned>(store.ClientWidth() - 1) : 0;
  unsigned height = static_cast<unsigned>(store.ClientHeight());
  if (width == 0 || height == 0) {
    // The encoder would write a file that no reader accepts.
    LogPrint(LogError, "\nERROR: the trace view is empty (%u x %u), no PNG written\n", width, height);
    return kStatusRefused;
  }
  LodePNGState state;
  lodepng_state_init(&state);
  unsigned error = ConfigureState(store, &state);
  std::unique_ptr<unsigned char[]> image;
  unsigned char* encoded = nullptr;
  std::size_t encodedSize = 0;
  if (!error) {
    image = BuildImage(store, width, height);
    error = image ? lodepng_encode(&encoded, &encodedSize, image.get(), width, height, &state) : 83;
  }
  std::unique_ptr<unsigned char, FreeDeleter> owned(encoded);
  lodepng_state_cleanup(&state);
  if (error) {
    LogPrint(LogError, "encoder error %u : %s", error, lodepng_error_text(error));
    return kStatusRefused;
  }
  try {
    png->assign(encoded, encoded + encodedSize);
  } catch (const std::bad_alloc&) {
    LogPrint(LogError, "\nERROR: malloc failure for %zu bytes of PNG\n", encodedSize);
    return kStatusRefused;
  }
  return 0;
}

int WritePngFile(const std::vector<unsigned char>& png, const std::string& path) {
  SafeWrite out;
  if (out.Open(path) != 0) return kStatusRefused;
  if (std::fwrite(png.data(), 1, png.size(), out.File()) != png.size()) {
    LogPrint(LogError, "\nERROR: cannot write '%s'\n", path.c_str());
    return kStatusRefused;
  }
  return out.Commit() == 0 ? 0 : kStatusRefused;
}

int SavePngSnapshot(const BackingStore& store, const std::string& path) {
  std::vector<unsigned char> png;
  if (EncodePngSnapshot(store, &png) != 0) return kStatusRefused;
  return WritePngFile(png, path);
}
