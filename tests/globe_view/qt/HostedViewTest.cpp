// The map control hosted by the Qt window: the window's size becomes the view's, a paint of the
// window draws the globe, and the window's scroll bars pan the view.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QScrollBar>
#include <QStyle>

#include "globe/view/GlobeCanvas.h"
#include "globe/view/Voduz4.h"
#include "platform/qt/QtViewWidget.h"

namespace globe {
namespace {

TEST(HostedViewTest, WindowSizePaintAndScrollBarsReachTheView) {
  platform::QtViewWidget widget;
  TVoduz4 view;
  view.SetGraticuleDrawMode(gdNone);
  view.SetSurfaceColor(0x00FF00);  // green
  view.SetColor(0x0000FF);         // red background
  widget.resize(240, 160);
  widget.SetEventSink(&view);
  view.SetHost(&widget);
  view.Projection().SetScaleFactor(0);
  const QImage image = widget.grab().toImage();
  EXPECT_EQ(view.ClientWidth(), 240);
  EXPECT_EQ(view.Canvas().Height(), 160);
  EXPECT_TRUE(widget.HorizontalScrollBar()->isHidden());  // the whole globe fits
  ASSERT_EQ(image.width(), 240);
  EXPECT_EQ(image.pixelColor(120, 80), QColor(0, 255, 0));  // the disc in the middle
  EXPECT_EQ(image.pixelColor(1, 1), QColor(255, 0, 0));     // background in the corner
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
