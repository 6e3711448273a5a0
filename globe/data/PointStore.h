#pragma once
// An ordered run of geographic points, packed 8 bytes a point (longitude, latitude) or 12 bytes
// when heights are kept, with an optional cache of their 3-D cartesian points.

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "globe/data/DynArray.h"
#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeRoot.h"

namespace globe {

// Flag bits of TPointStore::Flags. Bits 0..2 carry a chain's LYR stream encoding while it is
// read or written; bit 3 says whether heights are kept.
inline constexpr uint8_t psfCount32Bit = 0x01;
inline constexpr uint8_t psfMinutePrecision = 0x02;
inline constexpr uint8_t psfDeltaEncoded = 0x04;
inline constexpr uint8_t psfStreamFlags = 0x07;
inline constexpr uint8_t psfStoreHeight = 0x08;

// The 3-D points of a store. A kept (cached) block is shared with the store, which is the
// lending-out of a locked block: dropping the pointer returns it, and a later edit of the store
// only detaches the cache, so the borrower's block stays valid.
using TPoint3DBlock = std::shared_ptr<const std::vector<TPoint3D>>;

class TPointStore : public TGlobeRoot {
 public:
  explicit TPointStore(bool storeHeight = false);
  TPointStore(const TPointStore& other);
  TPointStore& operator=(const TPointStore& other);
  ~TPointStore() override;

  std::string ClassName() const override { return "TPointStore"; }

  int32_t Count() const { return PointData_ ? PointData_->Count() : 0; }
  // Discards the cache and sets the length; new points are zero. Negative counts give 0.
  void SetCount(int32_t count);
  // As SetCount, but new points are left unset: for a reader that stores every one of them
  // right after (StoreLongLat, StorePoints).
  void SetCountUnfilled(int32_t count);

  bool StoreHeight() const { return (Flags_ & psfStoreHeight) != 0; }
  // Repacks every point at the other size (heights are lost switching off, zero switching on).
  void SetStoreHeight(bool storeHeight);

  uint8_t Flags() const { return Flags_; }
  // Sets the stream-encoding bits (0..2) only; the height bit is changed by SetStoreHeight.
  void SetStreamFlags(uint8_t flags) {
    Flags_ = static_cast<uint8_t>((Flags_ & ~psfStreamFlags) | (flags & psfStreamFlags));
  }

  // Point access; an index outside 0..Count-1 raises std::out_of_range.
  TGeoPoint Point(int32_t index) const {
    CheckIndex(index, "Points");
    return PointAt(index);
  }
  void SetPoint(int32_t index, const TGeoPoint& point);
  // Raw coordinates of a point without building a TGeoPoint (no range check beyond Count).
  int32_t LongX(int32_t index) const { return Word(index, 0); }
  int32_t LatY(int32_t index) const { return Word(index, 1); }

  // Writes points first .. first + count - 1 from longitude, latitude pairs (longitudes already
  // normalised; heights left as they are): the bulk fill of readers, one range check for the
  // run (std::out_of_range when it does not lie within 0..Count-1).
  void StoreLongLat(int32_t first, const int32_t* longLat, int32_t count);
  // Writes points first .. first + count - 1 (heights only when kept), one range check for the run.
  void StorePoints(int32_t first, const TGeoPoint* points, int32_t count);

  // Unchecked reads of the packed points for loops over whole chains; valid while the store is
  // not changed.
  class TPackedView {
   public:
    TPackedView(const std::byte* data, int32_t count, std::size_t stride)
        : Data_(data), Count_(count), Stride_(stride) {}
    int32_t Count() const { return Count_; }
    // The packed words themselves (Count points, Stride bytes apart) for loops in vectors.
    const std::byte* Data() const { return Data_; }
    int32_t LongX(int32_t index) const { return Load(index, 0); }
    int32_t LatY(int32_t index) const { return Load(index, 4); }

   private:
    int32_t Load(int32_t index, std::size_t offset) const {
      int32_t v;
      std::memcpy(&v, Data_ + static_cast<std::size_t>(index) * Stride_ + offset, 4);
      return v;
    }
    const std::byte* Data_;
    int32_t Count_;
    std::size_t Stride_;
  };
  TPackedView Packed() const {
    return {PointData_ ? PointData_->Data() : nullptr, Count(), static_cast<std::size_t>(Stride())};
  }

  // Appends and returns the new index.
  int32_t Add(const TGeoPoint& point);
  // Removes one point; an index outside 0..Count-1 does nothing.
  void Delete(int32_t index);
  // Removes all points.
  void Clear() { SetCount(0); }

  // Adds the offsets to every point (the height offset only when heights are kept); 32-bit wrap.
  void Translate(int32_t dLong, int32_t dLat, int32_t dHeight);

  // Rounded mean of the points; longitudes are averaged along the chain the short way across the
  // 180-degree meridian (TLongitudeMean). (0, 0, 0) without points.
  TGeoPoint Centroid() const;
  // Dateline-aware bounding rectangle; empty without points.
  TGeoRect Bounds() const;

  // Whether the point lies inside the closed ring (crossing rule; rings crossing the prime or the
  // 180-degree meridian and rings round a pole are handled, see PointInPolygonOf).
  bool PointInPolygon(int32_t longX, int32_t latY) const;
  // Whether the point lies within `tolerance` of a segment of the chain.
  bool PointOnPolyline(int32_t longX, int32_t latY, int32_t tolerance) const;

  // The 3-D points. keep = false: the cache is discarded and a fresh block returned to the
  // caller alone. keep = true: the cache is computed once, kept and shared with the caller.
  TPoint3DBlock Get3DPoints(bool keep);
  bool Has3DCache() const { return Cache3D_ != nullptr; }

  // A new store of the same class holding a copy of the points and the same flags.
  virtual std::unique_ptr<TPointStore> Clone() const;

  // Bytes used: object size + (3 or 2) × 4 × Count + 12 × cached 3-D points.
  int64_t InstanceMemory() const;

 private:
  int32_t Word(int32_t index, int word) const {
    CheckIndex(index, "Points");
    return WordAt(index, word);
  }
  // Unchecked reads for loops that stay within 0..Count-1.
  int32_t WordAt(int32_t index, int word) const {
    int32_t v;
    std::memcpy(&v, PointData_->Data() + static_cast<std::size_t>(index) * Stride() + 4 * word, 4);
    return v;
  }
  TGeoPoint PointAt(int32_t index) const {
    // A raw copy: stored longitudes are already normalised by whoever stored them.
    return TGeoPoint(WordAt(index, 0), WordAt(index, 1), StoreHeight() ? WordAt(index, 2) : 0);
  }
  int32_t Stride() const { return StoreHeight() ? 12 : 8; }
  void DiscardCache() { Cache3D_.reset(); }
  void CheckIndex(int32_t index, const char* operation) const {
    if (index < 0 || index >= Count()) [[unlikely]]
      ThrowIndex(index, operation);
  }
  [[noreturn]] void ThrowIndex(int32_t index, const char* operation) const;

  std::unique_ptr<TDynArray> PointData_;
  TPoint3DBlock Cache3D_;
  uint8_t Flags_ = 0;
};

}  // namespace globe
