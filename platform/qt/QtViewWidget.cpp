#include "platform/qt/QtViewWidget.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/qt/QtDrawingSurface.h"
#include "platform/qt/QtDrawingThread.h"

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

ShiftState ToShift(Qt::KeyboardModifiers keys) {
  ShiftState shift;
  shift.Shift = keys.testFlag(Qt::ShiftModifier);
  shift.Ctrl = keys.testFlag(Qt::ControlModifier);
  shift.Alt = keys.testFlag(Qt::AltModifier);
  return shift;
}

ShiftState ToShift(const QSinglePointEvent& event, bool isDouble = false) {
  ShiftState shift = ToShift(event.modifiers());
  const Qt::MouseButtons buttons = event.buttons();
  shift.Left = buttons.testFlag(Qt::LeftButton);
  shift.Right = buttons.testFlag(Qt::RightButton);
  shift.Middle = buttons.testFlag(Qt::MiddleButton);
  shift.Double = isDouble;
  return shift;
}

ViewKey ToViewKey(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Left: return ViewKey::Left;
    case Qt::Key_Right: return ViewKey::Right;
    case Qt::Key_Up: return ViewKey::Up;
    case Qt::Key_Down: return ViewKey::Down;
    case Qt::Key_Plus:
    case Qt::Key_Equal: return ViewKey::Plus;
    case Qt::Key_Minus: return ViewKey::Minus;
    case Qt::Key_Home: return ViewKey::Home;
    case Qt::Key_Escape: return ViewKey::Escape;
    case Qt::Key_F: return ViewKey::F;
    default: return ViewKey::Other;
  }
}

}  // namespace

QtViewWidget::QtViewWidget(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  // A click gives the map the keyboard (arrow keys, zoom keys).
  setFocusPolicy(Qt::StrongFocus);
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

void QtViewWidget::Invalidate() {
  OnCallerThread([this] { update(); });
}

void QtViewWidget::RunDrawing(const std::function<void()>& draw) { RunOnDrawingThread(draw); }

void QtViewWidget::SetMouseCapture(bool captured) {
  if (QThread::currentThread() != thread()) {
    OnCallerThread([this, captured] { SetMouseCapture(captured); });
    return;
  }
  if (captured == captured_) return;
  captured_ = captured;
  if (captured) {
    grabMouse();
  } else {
    releaseMouse();
  }
}

qreal QtViewWidget::PixelRatio() const { return devicePixelRatioF(); }

QSize QtViewWidget::LogicalClientSize() const {
  const int thickness = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  return {std::max(0, width() - (vert_->isHidden() ? 0 : thickness)),
          std::max(0, height() - (horz_->isHidden() ? 0 : thickness))};
}

TSize QtViewWidget::ClientSize() const {
  const QSize logical = LogicalClientSize();
  const qreal ratio = PixelRatio();
  return {static_cast<int>(std::lround(logical.width() * ratio)), static_cast<int>(std::lround(logical.height() * ratio))};
}

QPoint QtViewWidget::DevicePosition(QPointF at) const {
  const qreal ratio = PixelRatio();
  return {static_cast<int>(std::floor(at.x() * ratio)), static_cast<int>(std::floor(at.y() * ratio))};
}

void QtViewWidget::SetAntialiased(bool on) {
  if (on == antialiased_) return;
  antialiased_ = on;
  update();
}

void QtViewWidget::SetScrollBar(ScrollBarKind kind, const ScrollBarState& state) {
  if (QThread::currentThread() != thread()) {
    OnCallerThread([this, kind, &state] { SetScrollBar(kind, state); });
    return;
  }
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
  const QSize client = LogicalClientSize();
  horz_->setGeometry(0, client.height(), client.width(), height() - client.height());
  vert_->setGeometry(client.width(), 0, width() - client.width(), client.height());
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

void QtViewWidget::ProcessPendingEvents() {
  OnCallerThread([] { QCoreApplication::processEvents(); });
}

bool QtViewWidget::HasParentWindow() const { return parentWidget() != nullptr || isWindow(); }

void QtViewWidget::paintEvent(QPaintEvent*) {
  if (sink_ == nullptr) return;
  {
    QtDrawingSurface surface(*this);
    surface.SetDevicePixels(PixelRatio());
    surface.SetAntialiased(antialiased_);
    sink_->Paint(surface);
  }
  if (!horz_->isHidden() && !vert_->isHidden()) {
    // The corner between the two bars.
    const QSize client = LogicalClientSize();
    QPainter painter(this);
    painter.fillRect(client.width(), client.height(), width() - client.width(), height() - client.height(),
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
  const QPoint p = DevicePosition(event->position());
  sink_->MouseDown(*button, ToShift(*event), p.x(), p.y());
}

void QtViewWidget::mouseMoveEvent(QMouseEvent* event) {
  if (sink_ == nullptr) return;
  const QPoint p = DevicePosition(event->position());
  sink_->MouseMove(ToShift(*event), p.x(), p.y());
}

void QtViewWidget::mouseReleaseEvent(QMouseEvent* event) {
  const auto button = ToButton(event->button());
  if (sink_ == nullptr || !button) return;
  const QPoint p = DevicePosition(event->position());
  sink_->MouseUp(*button, ToShift(*event), p.x(), p.y());
}

void QtViewWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  const auto button = ToButton(event->button());
  if (sink_ == nullptr || !button) return;
  const QPoint p = DevicePosition(event->position());
  sink_->MouseDown(*button, ToShift(*event, true), p.x(), p.y());
  // The sink may have been cleared by the press handler.
  if (sink_ != nullptr) sink_->DoubleClick(p.x(), p.y());
}

void QtViewWidget::wheelEvent(QWheelEvent* event) {
  if (sink_ == nullptr) return;
  const QPoint p = DevicePosition(event->position());
  sink_->MouseWheel(ToShift(*event), event->angleDelta().y(), p.x(), p.y());
  event->accept();
}

void QtViewWidget::keyPressEvent(QKeyEvent* event) {
  const ViewKey key = ToViewKey(*event);
  if (sink_ == nullptr || key == ViewKey::Other || !sink_->KeyDown(key, ToShift(event->modifiers()))) {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
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
