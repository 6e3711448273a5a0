#include "globe/data/GlobePresenterStore.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "globe/data/GlobePresenter.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"

namespace globe {

TGlobePresenterStore::TGlobePresenterStore(TGlobeHost* globe) : Globe_(globe) {
  if (globe == nullptr) throw std::logic_error("TGlobePresenterStore.Create passed nil Parent");
}

TGlobePresenterStore::~TGlobePresenterStore() = default;

TGlobePresenter* TGlobePresenterStore::Presenters(int32_t index) const {
  if (index < 0 || index >= Count())
    throw std::out_of_range("TGlobePresenterStore: Invalid Index");
  return Presenters_[static_cast<size_t>(index)].get();
}

int32_t TGlobePresenterStore::IndexOf(const TGlobePresenter* presenter) const {
  for (size_t i = 0; i < Presenters_.size(); ++i)
    if (Presenters_[i].get() == presenter) return static_cast<int32_t>(i);
  return -1;
}

int32_t TGlobePresenterStore::NextFreeID() const {
  int32_t largest = 0;
  for (const auto& p : Presenters_) largest = std::max(largest, p->PresenterID());
  if (largest < std::numeric_limits<int32_t>::max()) return largest + 1;
  // The IDs reach the top of the range: take the smallest positive ID not in use.
  std::vector<int32_t> used;
  for (const auto& p : Presenters_)
    if (p->PresenterID() > 0) used.push_back(p->PresenterID());
  std::sort(used.begin(), used.end());
  int32_t id = 1;
  for (int32_t u : used) {
    if (u > id) break;
    if (u == id) ++id;
  }
  return id;
}

int32_t TGlobePresenterStore::Add(std::unique_ptr<TGlobePresenter> presenter) {
  if (!presenter) return 0;
  int32_t id = presenter->PresenterID();
  if (id == 0) {
    id = NextFreeID();
    presenter->SetPresenterID(id);
  } else if (ByID(id, false) != nullptr) {
    return id;  // the store keeps its own presenter of that ID
  }
  Presenters_.push_back(std::move(presenter));
  Modified_ = true;
  return id;
}

std::unique_ptr<TGlobePresenter> TGlobePresenterStore::Remove(TGlobePresenter* presenter) {
  const int32_t index = IndexOf(presenter);
  if (presenter == nullptr || index < 0) return nullptr;
  std::unique_ptr<TGlobePresenter> removed = std::move(Presenters_[static_cast<size_t>(index)]);
  Presenters_.erase(Presenters_.begin() + index);
  Modified_ = true;
  return removed;
}

void TGlobePresenterStore::Clear() {
  // Destroyed from the last one down, each taken out of the store first.
  while (!Presenters_.empty()) {
    std::unique_ptr<TGlobePresenter> last = std::move(Presenters_.back());
    Presenters_.pop_back();
  }
  Modified_ = true;
}

TGlobePresenter* TGlobePresenterStore::ByID(int32_t id, bool global) const {
  for (const auto& p : Presenters_)
    if (p->PresenterID() == id) return p.get();
  if (global) {
    TGlobePresenterStore* globals = GlobalPresenterStore(*Globe_);
    if (globals != nullptr && globals != this) return globals->ByID(id, false);
  }
  return nullptr;
}

void TGlobePresenterStore::Assign(const TGlobePresenterStore& source) {
  if (&source == this) return;
  Clear();
  for (const auto& p : source.Presenters_) Add(p->CloneFor(Globe_));
}

void TGlobePresenterStore::Assign(const TGlobePresenter& presenter) {
  Add(presenter.CloneFor(Globe_));
}

void TGlobePresenterStore::LoadEnvironment(const TGXML_Element* element) {
  TGlobeENVPersistent::LoadEnvironment(element);
  if (element == nullptr) return;
  Clear();
  for (int n = 0; const TGXML_Element* child = element->Element("Presenter", n); ++n) {
    std::unique_ptr<TGlobePresenter> presenter =
        CreatePresenter(child->Attribute("Class", std::string_view()), Globe_, 0);
    presenter->LoadEnvironment(child);
    Add(std::move(presenter));
  }
  Modified_ = false;
}

std::unique_ptr<TGXML_Element> TGlobePresenterStore::SaveEnvironment() const {
  std::unique_ptr<TGXML_Element> element = TGlobeENVPersistent::SaveEnvironment();
  for (const auto& p : Presenters_) element->AddElement("Presenter", p->SaveEnvironment());
  return element;
}

void TGlobePresenterStore::WriteToStream(TGlobeStreamWriter& writer) const {
  writer.WriteInteger(Count());
  for (const auto& p : Presenters_) {
    writer.WriteShortString(p->ClassName());
    p->WriteToStream(writer);
  }
}

void TGlobePresenterStore::ReadFromStream(TGlobeStreamReader& reader) {
  const int32_t count = reader.ReadInteger();
  // Every record takes several bytes, so a wrong count ends at the stream's end.
  for (int32_t i = 0; i < count; ++i) {
    std::unique_ptr<TGlobePresenter> presenter =
        CreatePresenter(reader.ReadShortString(), Globe_, 0);
    presenter->ReadFromStream(reader);
    Add(std::move(presenter));
  }
}

}  // namespace globe
