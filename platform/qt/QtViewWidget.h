#pragma once
// The Qt window of a map view: paints through a QtDrawingSurface and forwards paint, resize,
// mouse and enter/leave events to a ViewEventSink.
#include <QWidget>

#include "platform/ViewEvents.h"

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
  void ProcessPendingEvents() override;
  bool HasParentWindow() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  ViewEventSink* sink_ = nullptr;
  bool captured_ = false;
};

}  // namespace platform
