#pragma once
// The light record a source keeps for every object index: bounds, presenter, state and values.
// Full map objects (TGlobeObject) derive from it and replace the record while they are built.

#include <cstdint>
#include <string>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeRoot.h"

namespace globe {

class TGlobeObject;

// Bits of TGlobeObjectData::State.
inline constexpr uint16_t osEmptyRecord = 0x0001;  // made for an index nobody filled yet
inline constexpr uint16_t osClosed = 0x0002;
inline constexpr uint16_t osHidden = 0x0004;
inline constexpr uint16_t osFullObject = 0x0008;   // the entry is a built (cached) object
inline constexpr uint16_t osSelected = 0x0040;
inline constexpr uint16_t osBoundsValid = 0x0080;
inline constexpr uint16_t osModified = 0x0100;
inline constexpr uint16_t osRemoved = 0x0200;      // taken out of its source

class TGlobeObjectData : public TGlobeRoot {
 public:
  TGlobeObjectData() = default;
  TGlobeObjectData(const TGlobeObjectData&) = delete;
  TGlobeObjectData& operator=(const TGlobeObjectData&) = delete;
  ~TGlobeObjectData() override = default;

  std::string ClassName() const override { return "TGlobeObjectData"; }

  // The full object behind this entry, or null for a light record.
  virtual TGlobeObject* AsObject() { return nullptr; }
  virtual const TGlobeObject* AsObject() const { return nullptr; }

  // Copies State, ObjectFlags, Tag, Index, Bounds, PresenterID and Value.
  virtual void Assign(const TGlobeObjectData& source);

  int32_t Index() const { return Index_; }
  void SetIndex(int32_t index) { Index_ = index; }

  int32_t PresenterID() const { return PresenterID_; }
  virtual void SetPresenterID(int32_t id) { PresenterID_ = id; }

  // The object's bounds (a full object may compute them).
  virtual TGeoRect GetBounds() { return Bounds_; }
  // The stored bounds as they stand, without computing.
  const TGeoRect& StoredBounds() const { return Bounds_; }
  void SetBounds(const TGeoRect& bounds) { Bounds_ = bounds; }

  // Free 32-bit value kept and copied with the record.
  int32_t Tag() const { return Tag_; }
  void SetTag(int32_t tag) { Tag_ = tag; }

  // Free value for the application.
  double Value() const { return Value_; }
  void SetValue(double value) { Value_ = value; }

  uint16_t State() const { return State_; }
  void SetState(uint16_t state) { State_ = state; }
  bool HasState(uint16_t bits) const { return (State_ & bits) != 0; }
  void IncludeState(uint16_t bits) { State_ = static_cast<uint16_t>(State_ | bits); }
  void ExcludeState(uint16_t bits) { State_ = static_cast<uint16_t>(State_ & ~bits); }

  // The layer-file flag word of the object.
  uint16_t ObjectFlags() const { return ObjectFlags_; }
  void SetObjectFlags(uint16_t flags) { ObjectFlags_ = flags; }

  // Bytes this entry takes.
  virtual int64_t InstanceMemory() const { return sizeof(TGlobeObjectData); }

 protected:
  int32_t Index_ = -1;
  int32_t PresenterID_ = 0;
  TGeoRect Bounds_;
  int32_t Tag_ = 0;
  double Value_ = 0.0;
  uint16_t State_ = 0;
  uint16_t ObjectFlags_ = 0;
};

}  // namespace globe
