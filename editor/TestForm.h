#pragma once
// The read-only view of one side's ships or missions file.
#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace editor {

class TfrmShowFile : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmShowFile(QWidget* parent = nullptr);

  QListWidget* ListBox1 = nullptr;
  QPushButton* Button1 = nullptr;

  // Captions the window after the side and fills the list with a copy of the lines.
  void ShowLines(int side, const std::vector<std::string>& lines);
  // Captions the window with a file's name and fills the list with its lines.
  void ShowFileLines(const QString& caption, const std::vector<std::string>& lines);
  // Selects and scrolls to a 0-based line (nothing for a line past the end).
  void SelectLine(int row);
  void Button1Click();
};

}  // namespace editor
