#pragma once
// The main window with a copy of the Crete demo loaded and shown, and mouse, wheel and key
// input sent to its map: the fixture of the map interaction tests.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QTreeWidget>
#include <QMouseEvent>
#include <QWheelEvent>
#include <string>

#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/qt/QtViewWidget.h"
#include "tests/editor/CreteWindowFixture.h"

namespace editor {
namespace maptest {

using globe::TGeoPoint;

// The Crete window of the editing tests, loaded and shown, with mouse input sent to its map.
class MapInteractionTest : public fixtures::CaseEditingWindowTest {
 protected:
  void SetUp() override {
    CaseEditingWindowTest::SetUp();
    Load();
    if (HasFatalFailure()) return;
    window->show();
    QCoreApplication::processEvents();
  }

  globe::TVoduz4& Map() { return window->GlobeMap(); }
  // Selects the force's row of the forces list (its cases are then parsed and shown).
  void SelectForce(const char* name) {
    CaseEditingWindowTest::SelectForce(name);
    ASSERT_NE(window->CurrentForce, nullptr);
  }
  QString Panel(int i) const { return window->StatusPanels[static_cast<std::size_t>(i)]->text(); }

  void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers keys) {
    const bool pressed = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    QMouseEvent event(type, QPointF(at), window->Globe->mapToGlobal(QPointF(at)), button,
                      pressed ? Qt::MouseButtons(button) : Qt::MouseButtons(Qt::NoButton), keys);
    QCoreApplication::sendEvent(window->Globe, &event);
  }
  void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    Send(QEvent::MouseButtonPress, at, button, keys);
    Send(QEvent::MouseButtonRelease, at, button, keys);
  }
  // The toolkit's order: press, release, double-click press, release.
  void DoubleClick(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    Click(at, button, keys);
    Send(QEvent::MouseButtonDblClick, at, button, keys);
    Send(QEvent::MouseButtonRelease, at, button, keys);
  }
  void Move(QPoint at) { Send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoModifier); }
  // A move with the left button held.
  void DragTo(QPoint at) {
    QMouseEvent event(QEvent::MouseMove, QPointF(at), window->Globe->mapToGlobal(QPointF(at)), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window->Globe, &event);
  }
  void Wheel(QPoint at, int delta, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QWheelEvent event(QPointF(at), window->Globe->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      keys, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(window->Globe, &event);
  }
  void Key(int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(window->Globe, &event);
  }

  // The window pixel of a point of the map, and the map point under a pixel.
  QPoint PixelOf(const TGeoPoint& point) {
    platform::TPoint xy;
    EXPECT_TRUE(Map().Projection().PointLLToDeviceXY(point, xy));
    return {xy.X, xy.Y};
  }
  TGeoPoint PointAt(QPoint at) {
    TGeoPoint point;
    EXPECT_TRUE(Map().DeviceXYToLL(at.x(), at.y(), point));
    return point;
  }
  std::string Fixed(const char* whole) const {
    return std::string(whole) + window->Regional().decimalSeparator + "0";
  }
  std::string Readout(const char* miles, const char* bearing) const {
    return "  Dist: " + Fixed(miles) + " Nm  Bearing: " + Fixed(bearing) + " deg";
  }
};

}  // namespace maptest
}  // namespace editor
