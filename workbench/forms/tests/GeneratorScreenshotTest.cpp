// Pictures of the generator's pages at 1280 x 800 after the default design,
// kept in the build folder and checked by probes.
// Covers: formRemez.cpp (layout), formRemez_Design.cpp (what the pages show).
#include <QPlainTextEdit>
#include <QTabWidget>

#include "WorkbenchFixture.h"

namespace workbench {
namespace {

using GeneratorScreenshot = TWorkbenchTest;

// Pixels of a widget's area in a picture of the main window that `keep` accepts.
int CountPixels(const QImage& shot, QWidget& main, QWidget& widget, const std::function<bool(QColor)>& keep) {
  const QRect area(widget.mapTo(&main, QPoint(0, 0)), widget.size());
  int count = 0;
  for (int y = std::max(area.top(), 0); y <= std::min(area.bottom(), shot.height() - 1); ++y)
    for (int x = std::max(area.left(), 0); x <= std::min(area.right(), shot.width() - 1); ++x)
      if (keep(shot.pixelColor(x, y))) ++count;
  return count;
}

TEST_F(GeneratorScreenshot, EveryPageAfterTheDefaultDesign) {
  TfrmMain& main = StartWorkbench(OwnMethodSettings);
  TfrmRemez& g = Generator();
  DesignAndWait(g);
  ASSERT_FALSE(g.IndicatorText().empty());

  const char* mainPages[] = {"generator_fft", "generator_log", "generator_price"};
  for (int page = 0; page < g.pcMain->count(); ++page) {
    g.pcMain->setCurrentIndex(page);
    QTest::qWait(10);
    const QImage shot = Screenshot(main, mainPages[page]);
    EXPECT_EQ(shot.size(), QSize(1280, 800) * main.devicePixelRatio()) << mainPages[page];
  }

  const char* textPages[] = {"generator_text", "generator_live"};
  for (int page = 0; page < g.pcText->count(); ++page) {
    g.pcText->setCurrentIndex(page);
    QTest::qWait(10);
    const QImage shot = Screenshot(main, textPages[page]);
    if (page == 0) {
      // The indicator text: dark letters on the memo's white.
      const int dark = CountPixels(shot, main, *g.Memo1, [](QColor c) { return c.lightness() < 80; });
      const int light = CountPixels(shot, main, *g.Memo1, [](QColor c) { return c.lightness() > 240; });
      EXPECT_GT(dark, 500);
      EXPECT_GT(light, 10 * dark);
    }
  }
}

}  // namespace
}  // namespace workbench
