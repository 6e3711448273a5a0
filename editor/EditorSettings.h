#pragma once
// The editor's remembered settings: one file in the user's configuration folder
// (<config>/Corvalis/vrkedit.conf), the same for every part of the program and its tests.
#include <QSettings>

namespace editor {

inline QSettings EditorSettings() { return QSettings(QSettings::UserScope, "Corvalis", "vrkedit"); }

}  // namespace editor
