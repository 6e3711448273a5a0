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
  void Button1Click();
};

}  // namespace editor
