#pragma once
// TGlobePresenter: a named drawing style that map objects refer to by number (their PresenterID).
// A presenter holds the title font and placement used when a layer writes an object's title,
// saves itself in environment files (as an element) and in layer files (as a binary record), and
// draws objects of its kind. The concrete presenters (point, poly, polygon, polyline) live with
// the view; the layer data only sees this base and creates the concrete classes by name through
// the class registry (CreatePresenter).
//
// Environment element: "Class" (written only), "Name", "PresenterID", "Alignment" (ordinal of
// TTitleAlignment), "Offset", "Hidden" ("T"/"F"), child "TitleFont".
// Binary record: Integer PresenterID, Integer TitleOffset, ShortString Name, Byte TitleAlignment,
// the title font's record. Streams older than 0x400 hold TitleOffset as one signed byte (from
// 0x301) or not at all (below 0x301).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeENVPersistent.h"

namespace globe {

class TCustomVoduz4;
class TGlobeFont;
class TGlobeObject;
class TGlobeStreamReader;
class TGlobeStreamWriter;

// Where a layer writes an object's title relative to the object's centre.
enum TTitleAlignment : uint8_t {
  taNone,
  taCenter,
  taLeft,
  taRight,
  taTopLeft,
  taTop,
  taTopRight,
  taBottomLeft,
  taBottom,
  taBottomRight,
};
inline constexpr int TitleAlignmentCount = 10;

// First stream version holding TitleOffset as an Integer, and first holding it at all (as a byte).
inline constexpr int32_t PresenterIntegerOffsetVersion = 0x400;
inline constexpr int32_t PresenterByteOffsetVersion = 0x301;

class TGlobePresenter : public TGlobeENVPersistent {
 public:
  // A null globe is a programming error ("TGlobePresenter.Create passed nil Globe").
  TGlobePresenter(TCustomVoduz4* globe, int32_t presenterID);
  TGlobePresenter(const TGlobePresenter&) = delete;
  TGlobePresenter& operator=(const TGlobePresenter&) = delete;
  ~TGlobePresenter() override;

  std::string ClassName() const override { return "TGlobePresenter"; }

  TCustomVoduz4* Globe() const { return Globe_; }

  int32_t PresenterID() const { return PresenterID_; }
  void SetPresenterID(int32_t id) { PresenterID_ = id; }
  const std::string& Name() const { return Name_; }
  void SetName(std::string name) { Name_ = std::move(name); }
  bool Hidden() const { return Hidden_; }
  void SetHidden(bool hidden) { Hidden_ = hidden; }
  TTitleAlignment TitleAlignment() const { return TitleAlignment_; }
  // Values outside the enumeration are ignored.
  void SetTitleAlignment(TTitleAlignment alignment);
  int32_t TitleOffset() const { return TitleOffset_; }
  void SetTitleOffset(int32_t offset) { TitleOffset_ = offset; }

  // Copies PresenterID, the title settings, Name and Hidden; derived classes add their own
  // fields when the source is of the same family.
  virtual void Assign(const TGlobePresenter& source);
  // A new presenter of the same class for the same globe and PresenterID, assigned from this one.
  std::unique_ptr<TGlobePresenter> Clone() const { return CloneFor(Globe_); }
  // The same for another globe (a null globe is a programming error).
  std::unique_ptr<TGlobePresenter> CloneFor(TCustomVoduz4* globe) const;

  virtual void WriteToStream(TGlobeStreamWriter& writer) const;
  virtual void ReadFromStream(TGlobeStreamReader& reader);

  void LoadEnvironment(const TGXML_Element* element) override;
  std::unique_ptr<TGXML_Element> SaveEnvironment() const override;

  // Drawing. `state` is the object's render state word (0x0002 closed, 0x0040 selected, the
  // visibility and clip bits). Each concrete presenter draws the objects of its kind on the
  // globe's canvas.
  virtual void RenderObject(TCustomVoduz4& globe, TGlobeObject& object, uint16_t state) = 0;
  // Asked by the layer before it writes an object's title: true when the presenter has handled
  // the title itself. These presenters leave titles to the layer.
  virtual bool RenderObjectTitle(TCustomVoduz4& globe, TGlobeObject& object, uint16_t state) {
    return false;
  }
  // Whether `point` (GlobeUnit) hits the object drawn by this presenter.
  virtual bool HitTestObject(TCustomVoduz4& globe, const TGeoPoint& point, TGlobeObject& object,
                             int32_t tolerance) = 0;

 protected:
  // The virtual constructor: a new presenter of this class for the globe.
  virtual std::unique_ptr<TGlobePresenter> NewInstance(TCustomVoduz4* globe,
                                                       int32_t presenterID) const = 0;

 private:
  TCustomVoduz4* Globe_;  // not owned, never null
  TTitleAlignment TitleAlignment_ = taNone;
  int32_t TitleOffset_ = 0;
  int32_t PresenterID_;
  std::string Name_;
  bool Hidden_ = false;
};

// Creates a registered presenter class by name. Raises EGlobeException "Class %s not found" for
// an unknown name and "Class %s does not inherit from TGlobePresenter" for a class that is not a
// presenter.
std::unique_ptr<TGlobePresenter> CreatePresenter(std::string_view className,
                                                 TCustomVoduz4* globe, int32_t presenterID);

// Registers a presenter class so that files can name it.
template <class Presenter>
void RegisterPresenterClass(std::string_view className);

}  // namespace globe

#include "globe/data/ClassRegistry.h"

namespace globe {

template <class Presenter>
void RegisterPresenterClass(std::string_view className) {
  RegisterGlobeClass<Presenter, TGlobePresenter, TCustomVoduz4*, int32_t>(className);
}

}  // namespace globe
