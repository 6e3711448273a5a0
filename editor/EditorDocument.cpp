#include "editor/EditorDocument.h"

#include <QUndoCommand>
#include <QUndoStack>
#include <algorithm>
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
  int Side() const { return splice_.Side == 0 ? 0 : 1; }

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
  connect(undoStack_.get(), &QUndoStack::indexChanged, this, [this] { StackMoved(); });
  Listen();
}

TEditorDocument::~TEditorDocument()
{
  // The stack empties itself as it goes: no step is taken back then.
  disconnect(undoStack_.get(), nullptr, this, nullptr);
}

void TEditorDocument::Listen()
{
  // The stack moves its index after the step's redo or undo: Changed waits for it, so that
  // SideModified already counts the step.
  document_->AddListener([this](const scenario::TDocumentChange& change) { change_ = change; });
}

void TEditorDocument::StackMoved()
{
  if (change_) {
    const scenario::TDocumentChange change = std::move(*change_);
    change_.reset();
    emit Changed(change, place_);
  }
  emit SavedStateChanged();
}

void TEditorDocument::Replace(std::unique_ptr<scenario::TScenarioState> state)
{
  // The old steps hold splices of the old lines and places of its forces.
  undoStack_->clear();
  undoStack_->setClean();
  document_ = std::make_unique<scenario::TScenarioDocument>(std::move(state));
  cleanIndex_ = {0, 0};
  Listen();
  emit SavedStateChanged();
}

bool TEditorDocument::Push(std::optional<scenario::TSideSplice> splice, const TEditPlace& before,
                           const TEditPlace& after, const QString& text)
{
  if (!splice) return false;
  // The push drops the steps above the index, and with them a clean index among them.
  for (int& clean : cleanIndex_)
    if (clean > undoStack_->index()) clean = -1;
  undoStack_->push(new TDocumentCommand(*this, std::move(*splice), before, after, text));
  return true;
}

bool TEditorDocument::SideModified(int side) const
{
  const int clean = cleanIndex_[side == 0 ? 0 : 1];
  if (clean < 0) return true;
  const int index = undoStack_->index();
  for (int i = std::min(clean, index); i < std::max(clean, index); ++i) {
    const auto* step = dynamic_cast<const TDocumentCommand*>(undoStack_->command(i));
    if (step != nullptr && step->Side() == (side == 0 ? 0 : 1)) return true;
  }
  return false;
}

void TEditorDocument::MarkSaved(int side)
{
  document_->MarkSaved(side);
  cleanIndex_[side == 0 ? 0 : 1] = undoStack_->index();
  emit SavedStateChanged();
  emit SideSaved(side == 0 ? 0 : 1);
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
