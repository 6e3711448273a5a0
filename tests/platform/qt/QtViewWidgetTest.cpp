#include "platform/qt/QtViewWidget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QStyle>
#include <functional>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QWheelEvent>
#include <cmath>
#include <QMouseEvent>
#include <QResizeEvent>
#include <string>
#include <vector>

namespace platform {
namespace {

struct Event {
  std::string Kind;
  MouseButton Button{};
  ShiftState Shift;
  int X = 0;
  int Y = 0;
};

Event Make(std::string kind, MouseButton button = {}, ShiftState shift = {}, int x = 0, int y = 0) {
  return Event{std::move(kind), button, shift, x, y};
}

class RecordingSink : public ViewEventSink {
 public:
  std::vector<Event> Events;
  TSize PaintedSize;
  std::function<void()> OnResize;

  void Paint(DrawingSurface& window) override {
    PaintedSize = {window.Width(), window.Height()};
    window.SetBrush(Brush{BrushKind::Solid, clRed});
    window.FillRect(TRect{0, 0, window.Width(), window.Height()});
    Events.push_back(Make("paint"));
  }
  void Resize(int width, int height) override {
    Events.push_back(Make("resize", {}, {}, width, height));
    if (OnResize) OnResize();
  }
  void MouseDown(MouseButton b, ShiftState s, int x, int y) override {
    Events.push_back(Make("down", b, s, x, y));
  }
  void MouseMove(ShiftState s, int x, int y) override { Events.push_back(Make("move", {}, s, x, y)); }
  void MouseUp(MouseButton b, ShiftState s, int x, int y) override {
    Events.push_back(Make("up", b, s, x, y));
  }
  void DoubleClick(int x, int y) override { Events.push_back(Make("double", {}, {}, x, y)); }
  void MouseEnter() override { Events.push_back(Make("enter")); }
  void MouseLeave() override { Events.push_back(Make("leave")); }
  void Scroll(ScrollBarKind bar, std::int32_t position) override {
    Events.push_back(Make(bar == ScrollBarKind::Horizontal ? "hscroll" : "vscroll", {}, {}, position));
  }
  void MouseWheel(ShiftState s, int delta, int x, int y) override {
    Events.push_back(Make("wheel " + std::to_string(delta), {}, s, x, y));
  }
  bool KeyDown(ViewKey key, ShiftState) override {
    Events.push_back(Make("key " + std::to_string(static_cast<int>(key))));
    return key != ViewKey::Escape;
  }
};

void Send(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
          Qt::MouseButtons held, Qt::KeyboardModifiers keys = Qt::NoModifier) {
  QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), button, held, keys);
  QApplication::sendEvent(&widget, &event);
}

// A widget reporting to a recording sink.
class QtViewWidgetTest : public ::testing::Test {
 protected:
  QtViewWidgetTest() { widget.SetEventSink(&sink); }
  QtViewWidget widget;
  RecordingSink sink;
};

TEST_F(QtViewWidgetTest, ForwardsMouseEventsWithButtonsAndKeys) {
  Send(widget, QEvent::MouseButtonPress, {10, 20}, Qt::LeftButton, Qt::LeftButton,
       Qt::ShiftModifier);
  Send(widget, QEvent::MouseMove, {11, 22}, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
  Send(widget, QEvent::MouseButtonRelease, {12, 23}, Qt::RightButton, Qt::LeftButton,
       Qt::ControlModifier | Qt::AltModifier);
  Send(widget, QEvent::MouseButtonPress, {1, 1}, Qt::BackButton, Qt::BackButton);

  ASSERT_EQ(sink.Events.size(), 3u);
  const Event& down = sink.Events[0];
  EXPECT_EQ(down.Kind, "down");
  EXPECT_EQ(down.Button, MouseButton::Left);
  EXPECT_TRUE(down.Shift.Shift && down.Shift.Left);
  EXPECT_FALSE(down.Shift.Ctrl || down.Shift.Alt || down.Shift.Right || down.Shift.Double);
  EXPECT_EQ(down.X, 10);
  EXPECT_EQ(down.Y, 20);
  const Event& move = sink.Events[1];
  EXPECT_EQ(move.Kind, "move");
  EXPECT_TRUE(move.Shift.Left && move.Shift.Right && !move.Shift.Middle);
  const Event& up = sink.Events[2];
  EXPECT_EQ(up.Kind, "up");
  EXPECT_EQ(up.Button, MouseButton::Right);
  EXPECT_TRUE(up.Shift.Ctrl && up.Shift.Alt && !up.Shift.Shift);
  EXPECT_EQ(up.X, 12);
}

TEST_F(QtViewWidgetTest, DoubleClickIsAMarkedPressThenDoubleClick) {
  Send(widget, QEvent::MouseButtonDblClick, {5, 6}, Qt::MiddleButton, Qt::MiddleButton);
  ASSERT_EQ(sink.Events.size(), 2u);
  EXPECT_EQ(sink.Events[0].Kind, "down");
  EXPECT_EQ(sink.Events[0].Button, MouseButton::Middle);
  EXPECT_TRUE(sink.Events[0].Shift.Double);
  EXPECT_EQ(sink.Events[1].Kind, "double");
  EXPECT_EQ(sink.Events[1].Y, 6);
}

TEST_F(QtViewWidgetTest, EnterLeaveResizeAndPaint) {
  EXPECT_EQ(widget.ClientSize(), (TSize{150, 150}));

  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QApplication::sendEvent(&widget, &enter);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&widget, &leave);
  widget.resize(40, 30);
  QResizeEvent resize(QSize(40, 30), QSize(150, 150));
  QApplication::sendEvent(&widget, &resize);
  const QImage image = widget.grab().toImage();

  ASSERT_GE(sink.Events.size(), 4u);
  EXPECT_EQ(sink.Events[0].Kind, "enter");
  EXPECT_EQ(sink.Events[1].Kind, "leave");
  EXPECT_EQ(sink.Events[2].Kind, "resize");
  EXPECT_EQ(sink.Events[2].X, 40);
  EXPECT_EQ(sink.Events[2].Y, 30);
  EXPECT_EQ(sink.Events.back().Kind, "paint");
  EXPECT_EQ(sink.PaintedSize, (TSize{40, 30}));
  EXPECT_EQ(image.pixelColor(39, 29), QColor(255, 0, 0));
}

TEST(QtViewWidget, WithoutSinkNothingHappens) {
  QtViewWidget widget;
  Send(widget, QEvent::MouseButtonPress, {10, 20}, Qt::LeftButton, Qt::LeftButton);
  widget.grab();
  RecordingSink sink;
  widget.SetEventSink(&sink);
  widget.SetEventSink(nullptr);
  Send(widget, QEvent::MouseButtonRelease, {10, 20}, Qt::LeftButton, Qt::NoButton);
  EXPECT_TRUE(sink.Events.empty());
}

TEST_F(QtViewWidgetTest, ScrollBarsTakeRoomAndReportMoves) {
  widget.resize(200, 100);
  const int thickness = widget.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &widget);
  ASSERT_GT(thickness, 0);
  sink.Events.clear();

  widget.SetScrollBar(ScrollBarKind::Vertical, ScrollBarState{true, 0, 1000, 100, 300});
  QScrollBar& bar = *widget.VerticalScrollBar();
  EXPECT_FALSE(bar.isHidden());
  EXPECT_EQ(bar.value(), 300);
  EXPECT_EQ(bar.maximum(), 900);  // the last position leaves a page
  EXPECT_EQ(bar.pageStep(), 100);
  EXPECT_TRUE(widget.HorizontalScrollBar()->isHidden());
  EXPECT_EQ(widget.ClientSize(), (TSize{200 - thickness, 100}));
  EXPECT_EQ(bar.geometry(), QRect(200 - thickness, 0, thickness, 100));
  // Setting a bar is no move of the user's; the new client size follows once the view is done.
  EXPECT_TRUE(sink.Events.empty());
  QCoreApplication::processEvents();
  ASSERT_EQ(sink.Events.size(), 1u);
  EXPECT_EQ(sink.Events[0].Kind, "resize");
  EXPECT_EQ(sink.Events[0].X, 200 - thickness);

  bar.setValue(450);
  bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
  ASSERT_EQ(sink.Events.size(), 3u);
  EXPECT_EQ(sink.Events[1].Kind, "vscroll");
  EXPECT_EQ(sink.Events[1].X, 450);
  EXPECT_EQ(sink.Events[2].X, 550);

  // Both bars: the horizontal one runs below the client area only.
  widget.SetScrollBar(ScrollBarKind::Horizontal, ScrollBarState{true, -50, 50, 10, 0});
  EXPECT_EQ(widget.ClientSize(), (TSize{200 - thickness, 100 - thickness}));
  EXPECT_EQ(widget.HorizontalScrollBar()->geometry(), QRect(0, 100 - thickness, 200 - thickness, thickness));
  widget.SetScrollBar(ScrollBarKind::Horizontal, ScrollBarState{});
  widget.SetScrollBar(ScrollBarKind::Vertical, ScrollBarState{});
  EXPECT_EQ(widget.ClientSize(), (TSize{200, 100}));
  widget.SetEventSink(nullptr);
  QCoreApplication::processEvents();
}

TEST_F(QtViewWidgetTest, ABarShownForTheViewIsNotHiddenByItsOwnResize) {
  widget.resize(200, 100);
  // A view that no longer needs the bar once the client area has made room for it.
  sink.OnResize = [&] { widget.SetScrollBar(ScrollBarKind::Horizontal, ScrollBarState{}); };
  widget.SetScrollBar(ScrollBarKind::Horizontal, ScrollBarState{true, 0, 300, 200, 0});
  QCoreApplication::processEvents();
  EXPECT_FALSE(widget.HorizontalScrollBar()->isHidden());
  EXPECT_EQ(widget.HorizontalScrollBar()->maximum(), 0);  // nothing left to scroll
  // Outside that answer the view hides it as usual.
  sink.OnResize = nullptr;
  widget.SetScrollBar(ScrollBarKind::Horizontal, ScrollBarState{});
  EXPECT_TRUE(widget.HorizontalScrollBar()->isHidden());
  widget.SetEventSink(nullptr);
  QCoreApplication::processEvents();
}

// Wheel turns and the map's keys reach the sink; the map takes the keyboard focus (click or tab).
TEST_F(QtViewWidgetTest, ForwardsWheelAndKeysAndTakesTheKeyboard) {
  EXPECT_EQ(widget.focusPolicy(), Qt::StrongFocus);
  const qreal ratio = widget.PixelRatio();
  QWheelEvent wheel(QPointF(30, 40), widget.mapToGlobal(QPointF(30, 40)), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&widget, &wheel);
  ASSERT_EQ(sink.Events.size(), 1u);
  EXPECT_EQ(sink.Events[0].Kind, "wheel -120");
  EXPECT_TRUE(sink.Events[0].Shift.Ctrl);
  EXPECT_EQ(sink.Events[0].X, static_cast<int>(30 * ratio));
  EXPECT_EQ(sink.Events[0].Y, static_cast<int>(40 * ratio));
  const struct {
    int qtKey;
    ViewKey key;
  } keys[] = {{Qt::Key_Left, ViewKey::Left},   {Qt::Key_Right, ViewKey::Right}, {Qt::Key_Up, ViewKey::Up},
              {Qt::Key_Down, ViewKey::Down},   {Qt::Key_Plus, ViewKey::Plus},   {Qt::Key_Equal, ViewKey::Plus},
              {Qt::Key_Minus, ViewKey::Minus}, {Qt::Key_Home, ViewKey::Home},   {Qt::Key_F, ViewKey::F}};
  for (const auto& row : keys) {
    sink.Events.clear();
    QKeyEvent press(QEvent::KeyPress, row.qtKey, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    ASSERT_EQ(sink.Events.size(), 1u) << row.qtKey;
    EXPECT_EQ(sink.Events[0].Kind, "key " + std::to_string(static_cast<int>(row.key)));
    EXPECT_TRUE(press.isAccepted());
  }
  // A key the view does not use goes on to the window (not accepted).
  sink.Events.clear();
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&widget, &escape);
  EXPECT_FALSE(escape.isAccepted());
  QKeyEvent other(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier);
  QApplication::sendEvent(&widget, &other);
  EXPECT_EQ(sink.Events.size(), 1u);  // only the Escape was offered
}

// On a high-density screen (run with QT_SCALE_FACTOR=2 as well) the view hears of its size and
// the mouse in device pixels and paints on a surface of that size, unscaled.
TEST(QtViewWidgetDensity, ViewSeesDevicePixels) {
  QWidget parent;
  parent.resize(300, 200);
  auto* widget = new QtViewWidget(&parent);
  widget->resize(200, 100);
  RecordingSink sink;
  widget->SetEventSink(&sink);
  parent.show();
  QApplication::processEvents();
  const qreal ratio = widget->PixelRatio();
  if (qEnvironmentVariable("QT_SCALE_FACTOR") == "2") EXPECT_EQ(ratio, 2.0);
  EXPECT_EQ(widget->ClientSize().Width, static_cast<int>(std::lround(200 * ratio)));
  EXPECT_EQ(widget->ClientSize().Height, static_cast<int>(std::lround(100 * ratio)));
  Send(*widget, QEvent::MouseMove, {50, 25}, Qt::NoButton, Qt::NoButton);
  ASSERT_FALSE(sink.Events.empty());
  EXPECT_EQ(sink.Events.back().X, static_cast<int>(50 * ratio));
  EXPECT_EQ(sink.Events.back().Y, static_cast<int>(25 * ratio));
  const QImage shown = widget->grab().toImage();
  EXPECT_EQ(sink.PaintedSize.Width, static_cast<int>(std::lround(200 * ratio)));
  EXPECT_EQ(shown.width(), static_cast<int>(std::lround(200 * ratio)));
  EXPECT_EQ(shown.pixelColor(shown.width() - 1, shown.height() - 1), QColor(Qt::red));
}

}  // namespace
}  // namespace platform
