#include "globe/data/GlobePresenter.h"

#include <algorithm>
#include <stdexcept>

#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"

namespace globe {

TGlobePresenter::TGlobePresenter(TCustomVoduz4* globe, int32_t presenterID)
    : Globe_(globe), PresenterID_(presenterID) {
  if (globe == nullptr) throw std::logic_error("TGlobePresenter.Create passed nil Globe");
}

TGlobePresenter::~TGlobePresenter() = default;

void TGlobePresenter::SetTitleAlignment(TTitleAlignment alignment) {
  if (static_cast<int>(alignment) < TitleAlignmentCount) TitleAlignment_ = alignment;
}

void TGlobePresenter::Assign(const TGlobePresenter& source) {
  if (&source == this) return;
  PresenterID_ = source.PresenterID_;
  TitleAlignment_ = source.TitleAlignment_;
  TitleOffset_ = source.TitleOffset_;
  Name_ = source.Name_;
  Hidden_ = source.Hidden_;
}

std::unique_ptr<TGlobePresenter> TGlobePresenter::CloneFor(TCustomVoduz4* globe) const {
  std::unique_ptr<TGlobePresenter> copy = NewInstance(globe, PresenterID_);
  copy->Assign(*this);
  return copy;
}

void TGlobePresenter::WriteToStream(TGlobeStreamWriter& writer) const {
  writer.WriteInteger(PresenterID_);
  const int32_t version = writer.Version();
  if (version >= PresenterIntegerOffsetVersion) {
    writer.WriteInteger(TitleOffset_);
  } else if (version >= PresenterByteOffsetVersion) {
    const int32_t offset = std::clamp<int32_t>(TitleOffset_, INT8_MIN, INT8_MAX);
    writer.WriteByte(static_cast<uint8_t>(static_cast<int8_t>(offset)));
  }
  writer.WriteShortString(Name_);
  writer.WriteByte(static_cast<uint8_t>(TitleAlignment_));
}

void TGlobePresenter::ReadFromStream(TGlobeStreamReader& reader) {
  PresenterID_ = reader.ReadInteger();
  const int32_t version = reader.Version();
  if (version >= PresenterIntegerOffsetVersion)
    TitleOffset_ = reader.ReadInteger();
  else if (version >= PresenterByteOffsetVersion)
    TitleOffset_ = static_cast<int8_t>(reader.ReadByte());
  Name_ = reader.ReadShortString();
  SetTitleAlignment(static_cast<TTitleAlignment>(reader.ReadByte()));
}

std::unique_ptr<TGXML_Element> TGlobePresenter::SaveEnvironment() const {
  std::unique_ptr<TGXML_Element> element = TGlobeENVPersistent::SaveEnvironment();
  element->AddAttribute("Class", ClassName());
  element->AddAttribute("Name", Name_);
  element->AddAttribute("PresenterID", PresenterID_);
  element->AddAttribute("Alignment", static_cast<int32_t>(TitleAlignment_));
  element->AddAttribute("Offset", TitleOffset_);
  element->AddAttribute("Hidden", Hidden_);
  return element;
}

void TGlobePresenter::LoadEnvironment(const TGXML_Element* element) {
  TGlobeENVPersistent::LoadEnvironment(element);
  if (element == nullptr) return;
  // A name saved empty stays empty (the attribute's default would bring back the class's name).
  if (element->HasAttribute("Name")) Name_ = element->Attribute("Name", std::string_view());
  PresenterID_ = element->Attribute("PresenterID", PresenterID_);
  const int32_t alignment = element->Attribute("Alignment", static_cast<int32_t>(TitleAlignment_));
  if (alignment >= 0 && alignment < TitleAlignmentCount)
    TitleAlignment_ = static_cast<TTitleAlignment>(alignment);
  TitleOffset_ = element->Attribute("Offset", TitleOffset_);
  Hidden_ = element->Attribute("Hidden", Hidden_);
}

std::unique_ptr<TGlobePresenter> CreatePresenter(std::string_view className,
                                                 TCustomVoduz4* globe, int32_t presenterID) {
  return CreateGlobeClass<TGlobePresenter>(className, "TGlobePresenter", globe, presenterID);
}

}  // namespace globe
