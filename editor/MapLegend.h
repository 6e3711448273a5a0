#pragma once
// The map's legend: a small tool window that explains the symbols and colours of the map.
class QWidget;

namespace editor {

// A hidden legend window owned by `parent`.
QWidget* CreateMapLegend(QWidget* parent);

}  // namespace editor
