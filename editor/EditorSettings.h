#pragma once
// The editor's remembered settings: one file in the user's configuration folder
// (<config>/Corvalis/vrkedit.conf), the same for every part of the program and its tests.
#include <QSettings>

namespace editor {

inline QSettings EditorSettings() { return QSettings(QSettings::UserScope, "Corvalis", "vrkedit"); }

// Whether the map's labels have the readable look (placed, haloed, legible size): on unless
// turned off in the View menu.
inline constexpr const char* kReadableLabelsKey = "View/ReadableLabels";
inline bool ReadableLabelsChosen() { return EditorSettings().value(kReadableLabelsKey, true).toBool(); }

// Whether each successful save of a side file is confirmed with a message box as well as in the
// status bar: off unless turned on in the View menu.
inline constexpr const char* kConfirmSavesKey = "View/ConfirmSaves";
inline bool ConfirmSavesChosen() { return EditorSettings().value(kConfirmSavesKey, false).toBool(); }

}  // namespace editor
