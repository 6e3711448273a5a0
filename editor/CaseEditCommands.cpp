#include "editor/CaseEditCommands.h"

#include "editor/EditMain.h"
#include "platform/qt/QtText.h"
#include "scenario/Force.h"

namespace editor {

namespace {

QString ForceName(const TEditPlace& place)
{
  return place.Force != nullptr ? platform::ToQString(place.Force->Title()) : QString();
}

// The step's own name, else the line's.
QString StepName(const QString& verb, const TEditPlace& place, const QString& text)
{
  return text.isEmpty() ? LineStepName(verb, place) : text;
}

}  // namespace

QString LineStepName(const QString& verb, const TEditPlace& place)
{
  return QString("%1 line %2 of %3 case %4").arg(verb).arg(place.Row + 1).arg(ForceName(place)).arg(place.Case);
}

TEditLineCommand::TEditLineCommand(TfrmEditMain& window, TSideLinesChange change, bool alreadyMade,
                                   const QString& text)
    : TSideLinesCommand(window, change, StepName("Edit", change.After, text), alreadyMade)
{
}

TInsertLineCommand::TInsertLineCommand(TfrmEditMain& window, TSideLinesChange change, bool alreadyMade,
                                       const QString& text)
    : TSideLinesCommand(window, change, StepName("Insert", change.After, text), alreadyMade)
{
}

TDeleteLineCommand::TDeleteLineCommand(TfrmEditMain& window, TSideLinesChange change)
    : TSideLinesCommand(window, change, LineStepName("Delete", change.Before), true)
{
}

TAddCaseCommand::TAddCaseCommand(TfrmEditMain& window, TSideLinesChange change)
    : TSideLinesCommand(window, change, QString("Add case %1 to %2").arg(change.After.Case).arg(ForceName(change.After)),
                        true)
{
}

TEditForceCommand::TEditForceCommand(TfrmEditMain& window, TSideLinesChange change, scenario::TForce& force)
    : TSideLinesCommand(window, change, "Edit force " + platform::ToQString(force.Title()), true), force_(force)
{
}

void TEditForceCommand::LinesChanged() { Window().ReadForceAgain(force_); }

TDiscardChangesCommand::TDiscardChangesCommand(TfrmEditMain& window, TSideLinesChange change,
                                               const std::string& fileName)
    : TSideLinesCommand(window, change, "Discard changes to " + platform::ToQString(fileName), true)
{
}

void TDiscardChangesCommand::LinesChanged() { Window().ReadForcesWithHeaderIn(Change().Side, Change().Splice); }

}  // namespace editor
