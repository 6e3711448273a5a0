// The map control hosted by the Qt window: the window's size becomes the view's, and a paint of
// the window draws the globe.

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QScrollBar>
#include <QStyle>
#include <QCoreApplication>

#include "globe/view/GlobeCanvas.h"
#include "globe/view/Voduz4.h"
#include "platform/qt/QtViewWidget.h"

namespace globe {
namespace {

TEST(HostedViewTest, WindowSizeAndPaintReachTheView) {
  platform::QtViewWidget widget;
  TVoduz4 view;
  view.SetScrollBars(ssNone);  // the whole window is map
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

TEST(HostedViewTest, ScrollBarsShowWhenZoomedInAndPanTheView) {
  platform::QtViewWidget widget;
  TVoduz4 view;
  widget.resize(240, 160);
  widget.SetEventSink(&view);
  view.SetHost(&widget);
  view.Projection().SetScaleFactor(0);
  EXPECT_EQ(view.ClientWidth(), 240);
  EXPECT_TRUE(widget.HorizontalScrollBar()->isHidden());  // the whole globe fits
  view.Projection().SetScaleFactor(view.Projection().ScaleFactor() * 4);
  QCoreApplication::processEvents();
  const int thickness = widget.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &widget);
  ASSERT_FALSE(widget.HorizontalScrollBar()->isHidden());
  ASSERT_FALSE(widget.VerticalScrollBar()->isHidden());
  // The view follows the client area the bars leave, keeping its middle.
  EXPECT_EQ(view.ClientWidth(), 240 - thickness);
  EXPECT_EQ(view.ClientHeight(), 160 - thickness);

  // The user drags the thumb half a page right: the map moves half a window left.
  QScrollBar& bar = *widget.HorizontalScrollBar();
  const int32_t origin = view.Projection().XOrigin();
  bar.setValue(bar.value() + bar.pageStep() / 2);
  EXPECT_NEAR(view.Projection().XOrigin(), origin - (240 - thickness) / 2, 1);
  EXPECT_EQ(bar.value(), view.ScrollBar(platform::ScrollBarKind::Horizontal).Position);

  // Without bars the map has the whole window again.
  view.SetScrollBars(ssNone);
  QCoreApplication::processEvents();
  EXPECT_TRUE(widget.HorizontalScrollBar()->isHidden());
  EXPECT_TRUE(widget.VerticalScrollBar()->isHidden());
  EXPECT_EQ(view.ClientWidth(), 240);
  widget.SetEventSink(nullptr);
}

}  // namespace
}  // namespace globe
