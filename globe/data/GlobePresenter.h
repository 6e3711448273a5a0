#pragma once
// TGlobePresenter: a named drawing style that map objects refer to by number (their PresenterID).
// A presenter holds the title font and placement used when a layer writes an object's title,
// saves itself in environment files (as an element) and in layer files (as a binary record), and
// draws and hit-tests objects of its kind.
//
// This is what the layer data sees of a presenter: its identity and title settings, copies, and
// the virtual operations. The title font, the saved forms and the drawing belong to the view's
// presenter classes (TTitledPresenter and the point, poly, polygon and polyline presenters in
// globe/view), which the data side creates by class name through the class registry
// (CreatePresenter).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeENVPersistent.h"

namespace globe {

class TGlobeHost;
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

class TGlobePresenter : public TGlobeENVPersistent {
 public:
  // A null globe is a programming error ("TGlobePresenter.Create passed nil Globe").
  TGlobePresenter(TGlobeHost* globe, int32_t presenterID);
  TGlobePresenter(const TGlobePresenter&) = delete;
  TGlobePresenter& operator=(const TGlobePresenter&) = delete;
  ~TGlobePresenter() override;

  std::string ClassName() const override { return "TGlobePresenter"; }

  TGlobeHost* Globe() const { return Globe_; }

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
  // The font of object titles (globe/view/GlobeFont.h).
  virtual TGlobeFont& TitleFont() = 0;
  virtual const TGlobeFont& TitleFont() const = 0;

  // Copies PresenterID, the title settings, Name and Hidden; derived classes add the title font
  // and, when the source is of the same family, their own fields.
  virtual void Assign(const TGlobePresenter& source);
  // A new presenter of the same class for the same globe and PresenterID, assigned from this one.
  std::unique_ptr<TGlobePresenter> Clone() const { return CloneFor(Globe_); }
  // The same for another globe (a null globe is a programming error).
  std::unique_ptr<TGlobePresenter> CloneFor(TGlobeHost* globe) const;

  // The binary record (layer and meta-data files).
  virtual void WriteToStream(TGlobeStreamWriter& writer) const = 0;
  virtual void ReadFromStream(TGlobeStreamReader& reader) = 0;

  // Drawing. `state` is the object's render state word (0x0002 closed, 0x0040 selected, the
  // visibility and clip bits). Each concrete presenter draws the objects of its kind on the
  // globe's canvas.
  virtual void RenderObject(TGlobeHost& globe, TGlobeObject& object, uint16_t state) = 0;
  // Asked by the layer before it writes an object's title: true when the presenter has handled
  // the title itself. These presenters leave titles to the layer.
  virtual bool RenderObjectTitle(TGlobeHost& globe, TGlobeObject& object, uint16_t state) {
    return false;
  }
  // Whether `point` (GlobeUnit) hits the object drawn by this presenter; here the object's own
  // test (PointOnObject).
  virtual bool HitTestObject(TGlobeHost& globe, const TGeoPoint& point, TGlobeObject& object,
                             int32_t tolerance);

 protected:
  // The virtual constructor: a new presenter of this class for the globe.
  virtual std::unique_ptr<TGlobePresenter> NewInstance(TGlobeHost* globe,
                                                       int32_t presenterID) const = 0;

 private:
  TGlobeHost* Globe_;  // not owned, never null
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
                                                 TGlobeHost* globe, int32_t presenterID);

// Registers a presenter class so that files can name it.
template <class Presenter>
void RegisterPresenterClass(std::string_view className);

}  // namespace globe

#include "globe/data/ClassRegistry.h"

namespace globe {

template <class Presenter>
void RegisterPresenterClass(std::string_view className) {
  RegisterGlobeClass<Presenter, TGlobePresenter, TGlobeHost*, int32_t>(className);
}

}  // namespace globe
