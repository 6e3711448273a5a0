#include "platform/qt/QtViewWidget.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <optional>

#include "platform/qt/QtDrawingSurface.h"

namespace platform {
namespace {

std::optional<MouseButton> ToButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return MouseButton::Left;
    case Qt::RightButton: return MouseButton::Right;
    case Qt::MiddleButton: return MouseButton::Middle;
    default: return std::nullopt;
  }
}

ShiftState ToShift(const QMouseEvent& event, bool isDouble = false) {
  ShiftState shift;
  const Qt::KeyboardModifiers keys = event.modifiers();
  shift.Shift = keys.testFlag(Qt::ShiftModifier);
  shift.Ctrl = keys.testFlag(Qt::ControlModifier);
  shift.Alt = keys.testFlag(Qt::AltModifier);
  const Qt::MouseButtons buttons = event.buttons();
  shift.Left = buttons.testFlag(Qt::LeftButton);
  shift.Right = buttons.testFlag(Qt::RightButton);
  shift.Middle = buttons.testFlag(Qt::MiddleButton);
  shift.Double = isDouble;
  return shift;
}

QPoint Position(const QMouseEvent& event) { return event.position().toPoint(); }

}  // namespace

QtViewWidget::QtViewWidget(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  // The view paints every pixel itself; nothing is erased before a paint.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  resize(150, 150);
}

void QtViewWidget::Invalidate() { update(); }

void QtViewWidget::SetMouseCapture(bool captured) {
  if (captured == captured_) return;
  captured_ = captured;
  if (captured) {
    grabMouse();
  } else {
    releaseMouse();
  }
}

TSize QtViewWidget::ClientSize() const { return {width(), height()}; }

int QtViewWidget::ScreenPixelsPerInch() const { return logicalDpiY(); }

void QtViewWidget::ProcessPendingEvents() { QCoreApplication::processEvents(); }

bool QtViewWidget::HasParentWindow() const { return parentWidget() != nullptr || isWindow(); }

void QtViewWidget::paintEvent(QPaintEvent*) {
  if (sink_ == nullptr) return;
  QtDrawingSurface surface(*this);
  sink_->Paint(surface);
}

void QtViewWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (sink_ != nullptr) sink_->Resize(width(), height());
}

void QtViewWidget::mousePressEvent(QMouseEvent* event) {
  const auto button = ToButton(event->button());
  if (sink_ == nullptr || !button) return;
  const QPoint p = Position(*event);
  sink_->MouseDown(*button, ToShift(*event), p.x(), p.y());
}

void QtViewWidget::mouseMoveEvent(QMouseEvent* event) {
  if (sink_ == nullptr) return;
  const QPoint p = Position(*event);
  sink_->MouseMove(ToShift(*event), p.x(), p.y());
}

void QtViewWidget::mouseReleaseEvent(QMouseEvent* event) {
  const auto button = ToButton(event->button());
  if (sink_ == nullptr || !button) return;
  const QPoint p = Position(*event);
  sink_->MouseUp(*button, ToShift(*event), p.x(), p.y());
}

void QtViewWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  const auto button = ToButton(event->button());
  if (sink_ == nullptr || !button) return;
  const QPoint p = Position(*event);
  sink_->MouseDown(*button, ToShift(*event, true), p.x(), p.y());
  // The sink may have been cleared by the press handler.
  if (sink_ != nullptr) sink_->DoubleClick(p.x(), p.y());
}

void QtViewWidget::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  if (sink_ != nullptr) sink_->MouseEnter();
}

void QtViewWidget::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (sink_ != nullptr) sink_->MouseLeave();
}

}  // namespace platform
