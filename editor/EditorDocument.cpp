#include "editor/EditorDocument.h"

#include <QUndoCommand>
#include <QUndoStack>
#include <stdexcept>

#include "platform/qt/QtText.h"
#include "scenario/Force.h"
#include "scenario/ScenarioState.h"

namespace editor {

namespace {

// One step: a splice of the document and the places shown before and after it.
class TDocumentCommand : public QUndoCommand {
 public:
  TDocumentCommand(TEditorDocument& document, scenario::TSideSplice splice, const TEditPlace& before,
                   const TEditPlace& after, const QString& text)
      : QUndoCommand(text), document_(document), splice_(std::move(splice)), before_(before), after_(after)
  {
  }
  void redo() override { document_.Change(splice_, true, after_); }
  void undo() override { document_.Change(splice_, false, before_); }

 private:
  TEditorDocument& document_;
  scenario::TSideSplice splice_;
  TEditPlace before_;
  TEditPlace after_;
};

}  // namespace

TEditorDocument::TEditorDocument()
    : document_(std::make_unique<scenario::TScenarioDocument>(std::make_unique<scenario::TScenarioState>())),
      undoStack_(std::make_unique<QUndoStack>())
{
  Listen();
}

TEditorDocument::~TEditorDocument() = default;

void TEditorDocument::Listen()
{
  document_->AddListener([this](const scenario::TDocumentChange& change) { emit Changed(change, place_); });
}

void TEditorDocument::Replace(std::unique_ptr<scenario::TScenarioState> state)
{
  // The old steps hold splices of the old lines and places of its forces.
  undoStack_->clear();
  undoStack_->setClean();
  document_ = std::make_unique<scenario::TScenarioDocument>(std::move(state));
  Listen();
}

bool TEditorDocument::Push(std::optional<scenario::TSideSplice> splice, const TEditPlace& before,
                           const TEditPlace& after, const QString& text)
{
  if (!splice) return false;
  undoStack_->push(new TDocumentCommand(*this, std::move(*splice), before, after, text));
  return true;
}

void TEditorDocument::Change(const scenario::TSideSplice& splice, bool forward, const TEditPlace& place)
{
  place_ = place;
  try {
    if (forward) {
      document_->Apply(splice);
    } else {
      document_->Revert(splice);
    }
  } catch (const std::logic_error& error) {
    emit Refused(platform::ToQString(error.what()));
  }
}

QString LineStepName(const QString& verb, const TEditPlace& place)
{
  const QString force = place.Force != nullptr ? platform::ToQString(place.Force->Title()) : QString();
  return QString("%1 line %2 of %3 case %4").arg(verb).arg(place.Row + 1).arg(force).arg(place.Case);
}

}  // namespace editor
