#pragma once
// The Qt window of a map view: paints through a QtDrawingSurface and forwards paint, resize,
// mouse, enter/leave and scroll events to a ViewEventSink. Its scroll bars sit along the right
// and bottom edges; the client area is what they leave free.
#include <QWidget>

#include "platform/ViewEvents.h"

class QScrollBar;

namespace platform {

class QtViewWidget : public QWidget, public ViewHost {
  Q_OBJECT
 public:
  explicit QtViewWidget(QWidget* parent = nullptr);

  // The sink is not owned; nullptr stops forwarding.
  void SetEventSink(ViewEventSink* sink) { sink_ = sink; }
  ViewEventSink* EventSink() const { return sink_; }

  void Invalidate() override;
  void SetMouseCapture(bool captured) override;
  TSize ClientSize() const override;
  int ScreenPixelsPerInch() const override;
  double DevicePixelRatio() const override { return PixelRatio(); }
  void ProcessPendingEvents() override;
  bool HasParentWindow() const override;
  void SetScrollBar(ScrollBarKind bar, const ScrollBarState& state) override;
  // On a thread of Qt's pool (QtDrawingThread): the window's calls go back to its own thread.
  void RunDrawing(const std::function<void()>& draw) override;

  // Smooth drawing of the view's pictures (off by default).
  void SetAntialiased(bool on);
  bool Antialiased() const { return antialiased_; }
  // Device pixels per widget pixel: the view draws, measures and hears of the mouse in device
  // pixels, so a high-density screen shows the map at its own resolution.
  qreal PixelRatio() const;

  QScrollBar* HorizontalScrollBar() const { return horz_; }
  QScrollBar* VerticalScrollBar() const { return vert_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The client area in widget pixels.
  QSize LogicalClientSize() const;
  // A widget position in device pixels.
  QPoint DevicePosition(QPointF at) const;
  // Places the visible bars and reports the client size when it changed.
  void LayOutScrollBars();
  // Tells the sink the client size after bars were shown or hidden.
  void ReportClientSize();
  void BarMoved(ScrollBarKind bar, int value);

  ViewEventSink* sink_ = nullptr;
  bool captured_ = false;
  QScrollBar* horz_ = nullptr;
  QScrollBar* vert_ = nullptr;
  bool settingBars_ = false;
  bool reportPending_ = false;
  // While the view follows a client size changed by showing a bar, that bar is not hidden
  // again: a view whose zoom follows the client size could otherwise show and hide it for ever.
  bool followingBars_ = false;
  bool antialiased_ = false;
};

}  // namespace platform
