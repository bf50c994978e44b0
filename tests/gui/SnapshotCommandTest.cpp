#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "display/BackingStore.h"
#include "display/DisplayParams.h"
#include "gui/tools/SnapshotCommand.h"

namespace {
class SnapshotCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_EQ(m_store.CreateBackingStore(150, DisplayParams{}), 0);
    ASSERT_EQ(m_store.ResizeBackingStore(801, 23), 0);
    for (int y = 0; y < 23; ++y)
      for (int x = 0; x < m_store.Stride(); ++x) m_store.Row(y)[x] = static_cast<uint8_t>(x * 5 + y + 3);
  }
  QString Path(const char* name) const { return m_dir.filePath(name); }

  QTemporaryDir m_dir;
  BackingStore m_store;
};
}  // namespace

TEST_F(SnapshotCommandTest, WritesThePaletteIndexesOfTheRaster) {
  int asked = 0;
  const QString path = Path("view.png");
  ASSERT_EQ(SnapshotCommand(m_store,
                            [&] {
                              ++asked;
                              return path;
                            }),
            0);
  EXPECT_EQ(asked, 1);
  QImage img(path);
  ASSERT_EQ(img.format(), QImage::Format_Indexed8);
  ASSERT_EQ(img.width(), 800);
  ASSERT_EQ(img.height(), 23);
  for (int y = 0; y < 23; ++y) {
    ASSERT_EQ(img.pixelIndex(0, y), 0);  // the first column is always background
    for (int x = 1; x < 800; ++x) ASSERT_EQ(img.pixelIndex(x, y), m_store.Row(y)[x]) << x << "," << y;
  }
}

TEST_F(SnapshotCommandTest, CancelWritesNothingAndANameWithoutExtensionGetsPng) {
  EXPECT_EQ(SnapshotCommand(m_store, [] { return QString(); }), -1);
  EXPECT_TRUE(QDir(m_dir.path()).entryList(QDir::Files).isEmpty());

  ASSERT_EQ(SnapshotCommand(m_store, [&] { return Path("shot"); }), 0);
  EXPECT_TRUE(QFile::exists(Path("shot.png")));
  EXPECT_FALSE(QFile::exists(Path("shot")));
  EXPECT_EQ(WithPngExtension("a.b/c"), "a.b/c.png");
  EXPECT_EQ(WithPngExtension("x.PNG"), "x.PNG");
}

TEST_F(SnapshotCommandTest, AnUnwritableFolderFailsWithoutAFile) {
  EXPECT_EQ(SnapshotCommand(m_store, [&] { return Path("missing/view.png"); }), -1);
  EXPECT_FALSE(QFile::exists(Path("missing/view.png")));
}
