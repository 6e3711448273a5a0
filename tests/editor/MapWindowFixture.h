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
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "editor/EditMain.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/qt/QtViewWidget.h"
#include "platform/testing/ScriptedDialogs.h"

namespace editor {
namespace maptest {

namespace fs = std::filesystem;
using globe::TGeoPoint;
using platform::testing::ScriptedDialogs;

const std::string kProgramDir = std::string(CORVALIS_SOURCE_DIR) + "/data";

// The main window with a copy of the Crete demo loaded and shown, and mouse input sent to its map.
class MapInteractionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scenarioDir = fs::temp_directory_path() / ("corvalis_mapint_" + std::to_string(::getpid()));
    fs::remove_all(scenarioDir);
    fs::copy(kProgramDir + "/Scenarios/Crete1941", scenarioDir, fs::copy_options::recursive);
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    window = std::make_unique<TfrmEditMain>(std::move(scripted));
    window->SetSplashOnShow(false);
    window->SetProgramDir(kProgramDir);
    dialogs->QueueDirectory(scenarioDir.string());
    window->sbLoad->click();
    window->show();
    QCoreApplication::processEvents();
  }
  void TearDown() override {
    window.reset();
    fs::current_path(startDir);  // loading changes it
    fs::remove_all(scenarioDir);
  }

  globe::TVoduz4& Map() { return window->GlobeMap(); }
  // Selects the force's row of the forces list (its cases are then parsed and shown).
  void SelectForce(const char* name) {
    const auto found = window->lvForces->findItems(name, Qt::MatchExactly, 0);
    ASSERT_FALSE(found.isEmpty()) << name;
    found.front()->setSelected(true);
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

  fs::path startDir = fs::current_path();
  fs::path scenarioDir;
  ScriptedDialogs* dialogs = nullptr;
  std::unique_ptr<TfrmEditMain> window;
};

}  // namespace maptest
}  // namespace editor
