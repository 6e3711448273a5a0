#pragma once
// The marks of unsaved edits, kept up to date at every step made, undone or redone, every save
// and every load: the window's caption carries the toolkit's modified mark ("*") while any side
// has unsaved edits, and the forces of such a side are marked in the forces list.
#include <QObject>
#include <QString>
#include <string>

class QWidget;

namespace editor {

class TEditorDocument;
class TForcesModel;

// The caption with the place of the toolkit's modified mark ("[*]") after it.
QString CaptionWithModifiedMark(const std::string& caption);

class TUnsavedMarks : public QObject {
  Q_OBJECT
 public:
  // The window's caption must hold the mark's place (CaptionWithModifiedMark).
  TUnsavedMarks(QWidget& window, const TEditorDocument& document, TForcesModel& forces);

 private:
  void Update();

  QWidget& window_;
  const TEditorDocument& document_;
  TForcesModel& forces_;
};

}  // namespace editor
