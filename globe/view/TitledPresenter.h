#pragma once
// TTitledPresenter: the base of the view's presenters. It owns the title font (made like the
// canvas's text font: "Arial", 9 pixels, black) and saves the fields every presenter shares.
//
// Environment element: "Class" (written only), "Name", "PresenterID", "Alignment" (ordinal of
// TTitleAlignment), "Offset", "Hidden" ("T"/"F"), child "TitleFont".
// Binary record: Integer PresenterID, Integer TitleOffset, ShortString Name, Byte TitleAlignment,
// the title font's record. Streams older than 0x400 hold TitleOffset as one signed byte (from
// 0x301) or not at all (below 0x301); writers of those versions write those forms.

#include <cstdint>
#include <memory>
#include <string>

#include "globe/data/GlobePresenter.h"
#include "globe/view/GlobeFont.h"

namespace globe {

// First stream version holding TitleOffset as an Integer, and first holding it at all (a byte).
inline constexpr int32_t PresenterIntegerOffsetVersion = 0x400;
inline constexpr int32_t PresenterByteOffsetVersion = 0x301;

class TTitledPresenter : public TGlobePresenter {
 public:
  TTitledPresenter(TGlobeHost* globe, int32_t presenterID, const std::string& defaultName);
  ~TTitledPresenter() override;

  TGlobeFont& TitleFont() override { return TitleFont_; }
  const TGlobeFont& TitleFont() const override { return TitleFont_; }

  void Assign(const TGlobePresenter& source) override;

  void WriteToStream(TGlobeStreamWriter& writer) const override;
  void ReadFromStream(TGlobeStreamReader& reader) override;
  void LoadEnvironment(const TGXML_Element* element) override;
  std::unique_ptr<TGXML_Element> SaveEnvironment() const override;

 private:
  TGlobeFont TitleFont_;
};

}  // namespace globe
