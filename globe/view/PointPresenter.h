#pragma once
// TPointPresenter: draws every point of an object (or its centre when it has no points) as a
// symbol: a shape outlined with PointPen and filled with PointBrush, a character of PointFont, or
// a picture. The symbol's size is PointSize in PointUnit (pixels or a map unit, which then grows
// with the zoom), capped at MaxPointSize pixels when that is above 0.
//
// Environment element: the presenter's attributes plus "Type" (ordinal), "Unit" (code), "Size",
// "MaxSize", "SymbolIndex", "ImageName" (relative to the globe's data directory) and the children
// "Pen", "Brush", "Font".
// Binary record: the presenter's record, then Byte PointType, Byte PointUnit, Integer PointSize
// (negated and followed by Integer MaxPointSize when a cap is set), Word SymbolIndex,
// ShortString ImageName, then the pen, brush and font records.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "globe/view/TitledPresenter.h"
#include "globe/data/GlobeUnits.h"
#include "platform/Bitmap24.h"

namespace globe {

class TCustomGlobeView;
class TGlobeBrush;
class TGlobeCanvas;
class TGlobePen;
class TGlobePresenterStore;

enum TPointPresenterType : uint8_t {
  ppNone,
  ppFontSymbol,
  ppImage,
  ppDot,
  ppCircle,
  ppSquare,
  ppDiamond,
  ppTriangleUp,
  ppTriangleDown,
  ppTriangleLeft,
  ppTriangleRight,
};
inline constexpr int PointPresenterTypeCount = 11;

class TPointPresenter : public TTitledPresenter {
 public:
  TPointPresenter(TGlobeHost* globe, int32_t presenterID);
  ~TPointPresenter() override;

  std::string ClassName() const override { return "TPointPresenter"; }

  TGlobePen& PointPen() { return *PointPen_; }
  const TGlobePen& PointPen() const { return *PointPen_; }
  TGlobeBrush& PointBrush() { return *PointBrush_; }
  const TGlobeBrush& PointBrush() const { return *PointBrush_; }
  TGlobeFont& PointFont() { return *PointFont_; }
  const TGlobeFont& PointFont() const { return *PointFont_; }

  TPointPresenterType PointType() const { return PointType_; }
  // Values outside the enumeration are ignored.
  void SetPointType(TPointPresenterType type);
  TGlobeUnitTypes PointUnit() const { return PointUnit_; }
  // On a font-symbol presenter the unit is also the font's. Values outside the unit table are
  // ignored.
  void SetPointUnit(TGlobeUnitTypes unit);
  int32_t PointSize() const { return PointSize_; }
  // On a font-symbol presenter the size is also the font's. Negative sizes are ignored.
  void SetPointSize(int32_t size);
  // Pixels; 0 = no cap. Negative values are ignored.
  int32_t MaxPointSize() const { return MaxPointSize_; }
  void SetMaxPointSize(int32_t size);
  // The character code drawn with PointFont (ppFontSymbol).
  int16_t SymbolIndex() const { return SymbolIndex_; }
  void SetSymbolIndex(int16_t index) { SymbolIndex_ = index; }

  // The picture drawn by ppImage, or null.
  const platform::Bitmap24* Image() const { return Image_.get(); }
  // Stores the picture (null frees it) and clears ImageName.
  void SetImage(std::unique_ptr<platform::Bitmap24> image);
  const std::string& ImageName() const { return ImageName_; }
  // Resolves the name through the globe (ResolveFileName) and stores the result; a found file is
  // loaded as the picture (a file that cannot be decoded leaves no picture), an unresolved name
  // is stored empty and frees the picture.
  void SetImageName(std::string_view name);

  // Between point presenters also the point settings, attributes and picture.
  void Assign(const TGlobePresenter& source) override;

  void WriteToStream(TGlobeStreamWriter& writer) const override;
  void ReadFromStream(TGlobeStreamReader& reader) override;
  void LoadEnvironment(const TGXML_Element* element) override;
  std::unique_ptr<TGXML_Element> SaveEnvironment() const override;

  // Draws every point of every chain of the object (or its centre when it has none) as one
  // symbol, in PointPen and PointBrush (the selection pen and brush for a selected object).
  void RenderObject(TGlobeHost& globe, TGlobeObject& object, uint16_t state) override;
  // Whether the point lies in the symbol's square (its size in GlobeUnit, held to MaxPointSize
  // pixels) centred on the object's position.
  bool HitTestObject(TGlobeHost& globe, const TGeoPoint& point, TGlobeObject& object,
                     int32_t tolerance) override;
  // The symbol's size in pixels on the canvas (PointSize in PointUnit, capped at MaxPointSize
  // scaled for the output resolution).
  int32_t SymbolPixels(const TGlobeCanvas& canvas) const;

 protected:
  std::unique_ptr<TGlobePresenter> NewInstance(TGlobeHost* globe,
                                               int32_t presenterID) const override;

 private:
  // Copies PointUnit and PointSize into PointFont when the symbol is a font character.
  void SyncFontSymbol();
  void RenderSymbol(TCustomGlobeView& view, const TGeoPoint& point, bool selected);

  std::unique_ptr<TGlobePen> PointPen_;
  std::unique_ptr<TGlobeBrush> PointBrush_;
  std::unique_ptr<TGlobeFont> PointFont_;
  int16_t SymbolIndex_ = 0;
  TPointPresenterType PointType_ = ppCircle;
  TGlobeUnitTypes PointUnit_ = TGlobeUnitTypes::Pixel;
  int32_t PointSize_ = 6;
  int32_t MaxPointSize_ = 0;
  std::unique_ptr<platform::Bitmap24> Image_;
  std::string ImageName_;
};

// The PresenterID of the first point presenter of the store whose pen, brush, point font and
// title font equal the given ones (each compared only when given, i.e. not null) and whose
// PointType, PointUnit, PointSize and ImageName match; 0 when there is none. File readers use it
// to share one presenter among objects of the same style.
int32_t FindEquivalentPointPresenter(const TGlobePresenterStore& store, const TGlobePen* pen,
                                     const TGlobeBrush* brush, const TGlobeFont* pointFont,
                                     const TGlobeFont* titleFont, TPointPresenterType type,
                                     TGlobeUnitTypes unit, int32_t size,
                                     std::string_view imageName);

}  // namespace globe
