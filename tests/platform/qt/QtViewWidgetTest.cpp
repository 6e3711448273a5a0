#include "platform/qt/QtViewWidget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace platform {
namespace {

// "SACLRMD" letters of the held keys and buttons and the double-click mark.
std::string Held(ShiftState s) {
  std::string held;
  for (const auto& [on, letter] : {std::pair{s.Shift, 'S'}, {s.Alt, 'A'}, {s.Ctrl, 'C'}, {s.Left, 'L'}, {s.Right, 'R'},
                                  {s.Middle, 'M'}, {s.Double, 'D'}})
    if (on) held += letter;
  return held;
}

// Records each event the widget reports as one line of text; paints the window red.
class RecordingSink : public ViewEventSink {
 public:
  std::vector<std::string> Events;
  TSize PaintedSize;
  TPoint LastMouse;
  std::function<void()> OnResize;
  void Add(const std::string& event, ShiftState s = {}, int x = 0, int y = 0) {
    Events.push_back(event + " " + Held(s) + " " + std::to_string(x) + "," + std::to_string(y));
    LastMouse = {x, y};
  }
  void Paint(DrawingSurface& window) override {
    PaintedSize = {window.Width(), window.Height()};
    window.SetBrush(Brush{BrushKind::Solid, clRed});
    window.FillRect(TRect{0, 0, window.Width(), window.Height()});
    Events.push_back("paint");
  }
  void Resize(int width, int height) override {
    Add("resize", {}, width, height);
    if (OnResize) OnResize();
  }
  void MouseDown(MouseButton b, ShiftState s, int x, int y) override { Add("down" + Name(b), s, x, y); }
  void MouseMove(ShiftState s, int x, int y) override { Add("move", s, x, y); }
  void MouseUp(MouseButton b, ShiftState s, int x, int y) override { Add("up" + Name(b), s, x, y); }
  void DoubleClick(int x, int y) override { Add("double", {}, x, y); }
  void MouseEnter() override { Events.push_back("enter"); }
  void MouseLeave() override { Events.push_back("leave"); }
  void Scroll(ScrollBarKind bar, std::int32_t position) override {
    Events.push_back((bar == ScrollBarKind::Horizontal ? "hscroll " : "vscroll ") + std::to_string(position));
  }
  void MouseWheel(ShiftState s, int delta, int x, int y) override { Add("wheel " + std::to_string(delta), s, x, y); }
  bool KeyDown(ViewKey key, ShiftState) override {
    Events.push_back("key " + std::to_string(static_cast<int>(key)));
    return key != ViewKey::Escape;
  }
  static std::string Name(MouseButton b) { return b == MouseButton::Left ? "L" : b == MouseButton::Right ? "R" : "M"; }
};

void Send(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
          Qt::MouseButtons held, Qt::KeyboardModifiers keys = Qt::NoModifier) {
  QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), button, held, keys);
  QApplication::sendEvent(&widget, &event);
}

class QtViewWidgetTest : public ::testing::Test {
 protected:
  QtViewWidgetTest() { widget.SetEventSink(&sink); }
  QtViewWidget widget;
  RecordingSink sink;
};

// Buttons other than the three are not reported; a double click is a marked press, then the
// double click.
TEST_F(QtViewWidgetTest, ForwardsMouseEventsWithButtonsAndKeys) {
  Send(widget, QEvent::MouseButtonPress, {10, 20}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
  Send(widget, QEvent::MouseMove, {11, 22}, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
  Send(widget, QEvent::MouseButtonRelease, {12, 23}, Qt::RightButton, Qt::LeftButton,
       Qt::ControlModifier | Qt::AltModifier);
  Send(widget, QEvent::MouseButtonPress, {1, 1}, Qt::BackButton, Qt::BackButton);
  Send(widget, QEvent::MouseButtonDblClick, {5, 6}, Qt::MiddleButton, Qt::MiddleButton);
  EXPECT_EQ(sink.Events, (std::vector<std::string>{"downL SL 10,20", "move LR 11,22", "upR ACL 12,23", "downM MD 5,6",
                                                   "double  5,6"}));
  widget.SetEventSink(nullptr);  // without a sink nothing is reported
  Send(widget, QEvent::MouseButtonRelease, {10, 20}, Qt::LeftButton, Qt::NoButton);
  widget.grab();
  EXPECT_EQ(sink.Events.size(), 5u);
}

TEST_F(QtViewWidgetTest, EnterLeaveResizeAndPaint) {
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QApplication::sendEvent(&widget, &enter);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&widget, &leave);
  widget.resize(40, 30);
  QResizeEvent resize(QSize(40, 30), QSize(150, 150));
  QApplication::sendEvent(&widget, &resize);
  const QImage image = widget.grab().toImage();
  ASSERT_GE(sink.Events.size(), 4u);
  EXPECT_EQ((std::vector<std::string>(sink.Events.begin(), sink.Events.begin() + 3)),
            (std::vector<std::string>{"enter", "leave", "resize  40,30"}));
  EXPECT_EQ(sink.Events.back(), "paint");
  EXPECT_EQ(sink.PaintedSize, (TSize{40, 30}));
  EXPECT_EQ(image.pixelColor(39, 29), QColor(255, 0, 0));
}

TEST_F(QtViewWidgetTest, ScrollBarsTakeRoomAndReportMoves) {
  widget.resize(200, 100);
  const int thickness = widget.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &widget);
  ASSERT_GT(thickness, 0);
  sink.Events.clear();
  widget.SetScrollBar(ScrollBarKind::Vertical, ScrollBarState{true, 0, 1000, 100, 300});
  QScrollBar& bar = *widget.VerticalScrollBar();
  EXPECT_EQ(bar.maximum(), 900);  // the last position leaves a page
  EXPECT_EQ(bar.geometry(), QRect(200 - thickness, 0, thickness, 100));
  // Setting a bar is no move of the user's; the new client size follows once the view is done.
  EXPECT_TRUE(sink.Events.empty());
  QCoreApplication::processEvents();
  bar.setValue(450);
  bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(sink.Events, (std::vector<std::string>{"resize  " + std::to_string(200 - thickness) + ",100", "vscroll 450",
                                                   "vscroll 550"}));
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
  const qreal ratio = widget.PixelRatio();
  QWheelEvent wheel(QPointF(30, 40), widget.mapToGlobal(QPointF(30, 40)), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&widget, &wheel);
  EXPECT_EQ(sink.Events, std::vector<std::string>{"wheel -120 C " + std::to_string(static_cast<int>(30 * ratio)) + "," +
                                                  std::to_string(static_cast<int>(40 * ratio))});
  for (const auto& [qtKey, key] : {std::pair{Qt::Key_Left, ViewKey::Left}, {Qt::Key_Right, ViewKey::Right},
                                   {Qt::Key_Up, ViewKey::Up}, {Qt::Key_Down, ViewKey::Down}, {Qt::Key_Plus, ViewKey::Plus},
                                   {Qt::Key_Equal, ViewKey::Plus}, {Qt::Key_Minus, ViewKey::Minus},
                                   {Qt::Key_Home, ViewKey::Home}, {Qt::Key_F, ViewKey::F}}) {
    sink.Events.clear();
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    EXPECT_EQ(sink.Events, std::vector<std::string>{"key " + std::to_string(static_cast<int>(key))}) << qtKey;
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
  if (qEnvironmentVariable("QT_SCALE_FACTOR") == "2") { EXPECT_EQ(ratio, 2.0); }
  EXPECT_EQ(widget->ClientSize(), (TSize{static_cast<int>(std::lround(200 * ratio)), static_cast<int>(std::lround(100 * ratio))}));
  Send(*widget, QEvent::MouseMove, {50, 25}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(sink.LastMouse, (TPoint{static_cast<int>(50 * ratio), static_cast<int>(25 * ratio)}));
  const QImage shown = widget->grab().toImage();
  EXPECT_EQ(sink.PaintedSize, widget->ClientSize());
  EXPECT_EQ(shown.width(), sink.PaintedSize.Width);
  EXPECT_EQ(shown.pixelColor(shown.width() - 1, shown.height() - 1), QColor(Qt::red));
}

}  // namespace
}  // namespace platform
