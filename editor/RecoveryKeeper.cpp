#include "editor/RecoveryKeeper.h"

#include <QDateTime>
#include <QDir>
#include <QStandardPaths>
#include <QUndoStack>
#include <filesystem>

#include "editor/EditorDocument.h"
#include "platform/ConvertError.h"
#include "platform/DateTime.h"
#include "platform/DateTimeFormat.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/UserDialogs.h"
#include "scenario/ScenarioState.h"

namespace editor {

namespace {

std::string RecoveryFolder()
{
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString() + "/Recovery";
}

// The time a copy was made, in the user's date and time formats.
std::string KeptTimeText(std::int64_t time, const platform::RegionalSettings& regional)
{
  const QDateTime local = QDateTime::fromSecsSinceEpoch(time);
  const QDate date = local.date();
  const QTime clock = local.time();
  try {
    return platform::DateTimeToText(
        platform::CombineDateTime(platform::EncodeDate(date.year(), date.month(), date.day()),
                                  platform::EncodeTime(clock.hour(), clock.minute(), clock.second(), 0)),
        regional);
  } catch (const platform::EConvertError&) {
    // A time no calendar of ours holds (a damaged file): the toolkit's own text.
    return local.toString(Qt::ISODate).toStdString();
  }
}

}  // namespace

TRecoveryKeeper::TRecoveryKeeper(std::unique_ptr<TEditorDocument>& document,
                                 std::unique_ptr<platform::FileSystem>& files, platform::UserDialogs& dialogs,
                                 const platform::RegionalSettings& regional, QObject* parent)
    : QObject(parent),
      document_(document),
      files_(files),
      dialogs_(dialogs),
      regional_(regional),
      folder_(RecoveryFolder()),
      store_(storeFiles_, folder_)
{
  setObjectName("RecoveryKeeper");
  // The timer is not started again by later steps: the first step's lines are kept within
  // kKeepDelayMs even while the user goes on editing.
  timer_.setSingleShot(true);
  timer_.setInterval(kKeepDelayMs);
  connect(&timer_, &QTimer::timeout, this, &TRecoveryKeeper::KeepNow);
  connect(&document_->UndoStack(), &QUndoStack::indexChanged, this, [this] {
    if (!timer_.isActive()) timer_.start();
  });
  connect(document_.get(), &TEditorDocument::SideSaved, this, &TRecoveryKeeper::SideSaved);
}

std::string TRecoveryKeeper::SideFile(int side) const { return document_->Document().SideFileName(side); }

std::string TRecoveryKeeper::DiskHash(int side) const
{
  try {
    return scenario::RecoveryHash(files_->ReadBytes(document_->State().ScenarioDir + SideFile(side)));
  } catch (const platform::EFileError&) {
    return {};
  }
}

void TRecoveryKeeper::KeepNow()
{
  timer_.stop();
  if (scenarioFolder_.empty()) return;
  for (int side = 0; side <= 1; ++side) {
    auto& kept = kept_[static_cast<std::size_t>(side)];
    const std::string& file = sideFiles_[static_cast<std::size_t>(side)];
    if (!document_->SideModified(side)) {
      // Undone back to the saved lines: nothing left to recover.
      if (kept) store_.Remove(scenarioFolder_, file);
      kept.reset();
      continue;
    }
    const platform::TextLines& lines = document_->Document().SideLines(side);
    if (kept == lines) continue;
    const scenario::TRecoveryCopy copy{scenarioFolder_, file, QDateTime::currentSecsSinceEpoch(), DiskHash(side),
                                       lines};
    try {
      if (!QDir().mkpath(QString::fromStdString(folder_)))
        throw platform::EFileError("Cannot create the folder \"" + folder_ + "\".", folder_);
      store_.Keep(copy);
      kept = lines;
      failureTold_ = false;
    } catch (const platform::EFileError& error) {
      if (!failureTold_)
        dialogs_.ShowError(std::string("Unsaved changes cannot be kept aside for a restart after a crash. ") +
                           error.what());
      failureTold_ = true;
    }
  }
}

void TRecoveryKeeper::SideSaved(int side)
{
  const std::size_t slot = side == 0 ? 0 : 1;
  if (!scenarioFolder_.empty()) store_.Remove(scenarioFolder_, sideFiles_[slot]);
  kept_[slot].reset();
}

void TRecoveryKeeper::ScenarioClosed()
{
  timer_.stop();
  for (int side = 0; side <= 1; ++side) SideSaved(side);
  scenarioFolder_.clear();
}

void TRecoveryKeeper::ScenarioOpened()
{
  // The scenario before was asked about: its sides are saved or their changes declined.
  ScenarioClosed();
  // One folder, however it was named (a link, "..").
  std::error_code ignored;
  const std::filesystem::path folder = std::filesystem::weakly_canonical(document_->State().ScenarioDir, ignored);
  scenarioFolder_ = folder.empty() ? document_->State().ScenarioDir : folder.string();
  sideFiles_ = {SideFile(0), SideFile(1)};
  for (int side = 0; side <= 1; ++side) OfferRestore(side);
}

void TRecoveryKeeper::OfferRestore(int side)
{
  const std::string& file = sideFiles_[static_cast<std::size_t>(side)];
  const scenario::TRecoveryFound found = store_.Find(scenarioFolder_, file);
  if (!found.Note.empty()) dialogs_.ShowError(found.Note);
  if (!found.Copy) return;
  const platform::TextLines& lines = document_->Document().SideLines(side);
  if (found.Copy->Lines == lines) {
    store_.Remove(scenarioFolder_, file);
    return;
  }
  std::string question =
      "Restore unsaved changes to " + file + " from " + KeptTimeText(found.Copy->Time, regional_) + "?";
  if (DiskHash(side) != found.Copy->DiskHash) question += "\r" + file + " has been changed on disk since then.";
  if (dialogs_.Confirm(question, platform::DialogButtons::YesNo) != platform::DialogAnswer::Yes) {
    store_.Remove(scenarioFolder_, file);
    return;
  }
  // The file already holds these lines: the copy stays as it is until a save, a discard or an undo.
  kept_[static_cast<std::size_t>(side)] = found.Copy->Lines;
  document_->Push(scenario::TSideSplice{side, scenario::DiffLines(lines, found.Copy->Lines)}, {}, {},
                  QString::fromStdString("Restore unsaved changes to " + file));
}

}  // namespace editor
