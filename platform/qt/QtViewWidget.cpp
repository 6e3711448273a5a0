#include "platform/qt/QtViewWidget.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
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
  horz_ = new QScrollBar(Qt::Horizontal, this);
  vert_ = new QScrollBar(Qt::Vertical, this);
  for (QScrollBar* bar : {horz_, vert_}) {
    bar->hide();
    bar->setCursor(Qt::ArrowCursor);
  }
  connect(horz_, &QScrollBar::valueChanged, this, [this](int v) { BarMoved(ScrollBarKind::Horizontal, v); });
  connect(vert_, &QScrollBar::valueChanged, this, [this](int v) { BarMoved(ScrollBarKind::Vertical, v); });
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

TSize QtViewWidget::ClientSize() const {
  const int thickness = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  return {std::max(0, width() - (vert_->isHidden() ? 0 : thickness)),
          std::max(0, height() - (horz_->isHidden() ? 0 : thickness))};
}

void QtViewWidget::SetScrollBar(ScrollBarKind kind, const ScrollBarState& state) {
  QScrollBar* bar = kind == ScrollBarKind::Horizontal ? horz_ : vert_;
  settingBars_ = true;
  if (state.Visible) {
    bar->setRange(state.Min, std::max(state.Min, state.Max - state.Page));
    bar->setPageStep(std::max(1, state.Page));
    bar->setSingleStep(std::max(1, state.Page / 10));
    bar->setValue(state.Position);
  } else {
    bar->setRange(0, 0);
  }
  settingBars_ = false;
  const bool show = state.Visible || (followingBars_ && !bar->isHidden());
  if (show == bar->isHidden()) {
    bar->setHidden(!show);
    LayOutScrollBars();
    // The view hears of its new size once it has finished setting the bars.
    if (!reportPending_) {
      reportPending_ = true;
      QMetaObject::invokeMethod(this, [this] { ReportClientSize(); }, Qt::QueuedConnection);
    }
  }
}

void QtViewWidget::LayOutScrollBars() {
  const TSize client = ClientSize();
  horz_->setGeometry(0, client.Height, client.Width, height() - client.Height);
  vert_->setGeometry(client.Width, 0, width() - client.Width, client.Height);
}

void QtViewWidget::ReportClientSize() {
  reportPending_ = false;
  if (sink_ == nullptr) return;
  const TSize client = ClientSize();
  followingBars_ = true;
  sink_->Resize(client.Width, client.Height);
  followingBars_ = false;
}

void QtViewWidget::BarMoved(ScrollBarKind kind, int value) {
  if (settingBars_ || sink_ == nullptr) return;
  sink_->Scroll(kind, value);
}

int QtViewWidget::ScreenPixelsPerInch() const { return logicalDpiY(); }

void QtViewWidget::ProcessPendingEvents() { QCoreApplication::processEvents(); }

bool QtViewWidget::HasParentWindow() const { return parentWidget() != nullptr || isWindow(); }

void QtViewWidget::paintEvent(QPaintEvent*) {
  if (sink_ == nullptr) return;
  {
    QtDrawingSurface surface(*this);
    sink_->Paint(surface);
  }
  if (!horz_->isHidden() && !vert_->isHidden()) {
    // The corner between the two bars.
    const TSize client = ClientSize();
    QPainter painter(this);
    painter.fillRect(client.Width, client.Height, width() - client.Width, height() - client.Height,
                     palette().window());
  }
}

void QtViewWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOutScrollBars();
  if (sink_ != nullptr) {
    const TSize client = ClientSize();
    sink_->Resize(client.Width, client.Height);
  }
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
