// The map control hosted by the Qt window: the window's size becomes the view's, and a paint of
// the window draws the globe.

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "globe/view/GlobeCanvas.h"
#include "globe/view/Voduz4.h"
#include "platform/qt/QtViewWidget.h"

namespace globe {
namespace {

TEST(HostedViewTest, WindowSizeAndPaintReachTheView) {
  platform::QtViewWidget widget;
  TVoduz4 view;
  view.SetGraticuleDrawMode(gdNone);
  view.SetSurfaceColor(0x00FF00);  // green
  view.SetColor(0x0000FF);         // red background
  widget.SetEventSink(&view);
  view.SetHost(&widget);
  widget.resize(240, 160);
  const QImage image = widget.grab().toImage();
  EXPECT_EQ(view.ClientWidth(), 240);
  EXPECT_EQ(view.Canvas().Width(), 240);
  EXPECT_EQ(view.Canvas().Height(), 160);
  ASSERT_EQ(image.width(), 240);
  EXPECT_EQ(image.pixelColor(120, 80), QColor(0, 255, 0));  // the disc in the middle
  EXPECT_EQ(image.pixelColor(1, 1), QColor(255, 0, 0));     // background in the corner
  widget.SetEventSink(nullptr);
}

}  // namespace
}  // namespace globe
