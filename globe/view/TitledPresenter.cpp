#include "globe/view/TitledPresenter.h"

#include <algorithm>
#include <cstdint>

#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"

namespace globe {

TTitledPresenter::TTitledPresenter(TGlobeHost* globe, int32_t presenterID,
                                   const std::string& defaultName)
    : TGlobePresenter(globe, presenterID), TitleFont_("Arial", 9, TGlobeUnitTypes::Pixel, clBlack) {
  SetName(defaultName);
}

TTitledPresenter::~TTitledPresenter() = default;

void TTitledPresenter::Assign(const TGlobePresenter& source) {
  TGlobePresenter::Assign(source);
  if (&source != this) TitleFont_.Assign(source.TitleFont());
}

void TTitledPresenter::WriteToStream(TGlobeStreamWriter& writer) const {
  writer.WriteInteger(PresenterID());
  const int32_t version = writer.Version();
  if (version >= PresenterIntegerOffsetVersion) {
    writer.WriteInteger(TitleOffset());
  } else if (version >= PresenterByteOffsetVersion) {
    const int32_t offset = std::clamp<int32_t>(TitleOffset(), INT8_MIN, INT8_MAX);
    writer.WriteByte(static_cast<uint8_t>(static_cast<int8_t>(offset)));
  }
  writer.WriteShortString(Name());
  writer.WriteByte(static_cast<uint8_t>(TitleAlignment()));
  TitleFont_.WriteToStream(writer);
}

void TTitledPresenter::ReadFromStream(TGlobeStreamReader& reader) {
  SetPresenterID(reader.ReadInteger());
  const int32_t version = reader.Version();
  if (version >= PresenterIntegerOffsetVersion)
    SetTitleOffset(reader.ReadInteger());
  else if (version >= PresenterByteOffsetVersion)
    SetTitleOffset(static_cast<int8_t>(reader.ReadByte()));
  SetName(reader.ReadShortString());
  SetTitleAlignment(static_cast<TTitleAlignment>(reader.ReadByte()));
  TitleFont_.ReadFromStream(reader);
}

std::unique_ptr<TGXML_Element> TTitledPresenter::SaveEnvironment() const {
  std::unique_ptr<TGXML_Element> element = TGlobePresenter::SaveEnvironment();
  element->AddAttribute("Class", ClassName());
  element->AddAttribute("Name", Name());
  element->AddAttribute("PresenterID", PresenterID());
  element->AddAttribute("Alignment", static_cast<int32_t>(TitleAlignment()));
  element->AddAttribute("Offset", TitleOffset());
  element->AddAttribute("Hidden", Hidden());
  element->AddElement("TitleFont", TitleFont_.SaveEnvironment());
  return element;
}

void TTitledPresenter::LoadEnvironment(const TGXML_Element* element) {
  TGlobePresenter::LoadEnvironment(element);
  if (element == nullptr) return;
  // A name saved empty stays empty (the attribute's default would bring back the class's name).
  if (element->HasAttribute("Name")) SetName(element->Attribute("Name", std::string_view()));
  SetPresenterID(element->Attribute("PresenterID", PresenterID()));
  const int32_t alignment = element->Attribute("Alignment", static_cast<int32_t>(TitleAlignment()));
  if (alignment >= 0 && alignment < TitleAlignmentCount)
    SetTitleAlignment(static_cast<TTitleAlignment>(alignment));
  SetTitleOffset(element->Attribute("Offset", TitleOffset()));
  SetHidden(element->Attribute("Hidden", Hidden()));
  TitleFont_.LoadEnvironment(element->Element("TitleFont"));
}

}  // namespace globe
