#include "globe/data/PointStore.h"

#include <cstring>
#include <stdexcept>
#include <string>

#include "globe/data/GeoMath.h"
#include "globe/data/PackedBounds.h"

namespace globe {

namespace {

int32_t LoadWord(const std::byte* at) {
  int32_t v;
  std::memcpy(&v, at, 4);
  return v;
}

void StoreWord(std::byte* at, int32_t v) { std::memcpy(at, &v, 4); }

}  // namespace

TPointStore::TPointStore(bool storeHeight) : Flags_(storeHeight ? psfStoreHeight : 0) {}

TPointStore::TPointStore(const TPointStore& other)
    : TGlobeRoot(other),
      PointData_(other.PointData_ ? other.PointData_->Clone() : nullptr),
      Flags_(other.Flags_) {}

TPointStore& TPointStore::operator=(const TPointStore& other) {
  if (this != &other) {
    PointData_ = other.PointData_ ? other.PointData_->Clone() : nullptr;
    Cache3D_.reset();
    Flags_ = other.Flags_;
  }
  return *this;
}

TPointStore::~TPointStore() = default;

void TPointStore::ThrowIndex(int32_t index, const char* operation) const {
  throw std::out_of_range(std::string("TPointStore.") + operation + ": index " +
                            std::to_string(index) + " out of range");
}

void TPointStore::SetCount(int32_t count) {
  DiscardCache();
  if (!PointData_) PointData_ = std::make_unique<TDynArray>(Stride(), 0);
  PointData_->SetLength(count);
}

void TPointStore::SetCountUnfilled(int32_t count) {
  DiscardCache();
  if (!PointData_) PointData_ = std::make_unique<TDynArray>(Stride(), 0);
  PointData_->SetLengthUnfilled(count);
}

void TPointStore::SetStoreHeight(bool storeHeight) {
  if (storeHeight == StoreHeight()) return;
  DiscardCache();
  const TPointStore old(*this);
  Flags_ = static_cast<uint8_t>(storeHeight ? (Flags_ | psfStoreHeight) : (Flags_ & ~psfStoreHeight));
  if (!old.PointData_) return;
  PointData_ = std::make_unique<TDynArray>(Stride(), old.Count());
  for (int32_t i = 0; i < old.Count(); ++i) {
    std::byte* at = PointData_->Data() + static_cast<std::size_t>(i) * Stride();
    StoreWord(at, old.Word(i, 0));
    StoreWord(at + 4, old.Word(i, 1));
  }
}

void TPointStore::SetPoint(int32_t index, const TGeoPoint& point) {
  CheckIndex(index, "Points");
  DiscardCache();
  std::byte* at = PointData_->Data() + static_cast<std::size_t>(index) * Stride();
  StoreWord(at, point.LongX);
  StoreWord(at + 4, point.LatY);
  if (StoreHeight()) StoreWord(at + 8, point.Height);
}

void TPointStore::StoreLongLat(int32_t first, const int32_t* longLat, int32_t count) {
  if (count <= 0) return;
  CheckIndex(first, "StoreLongLat");
  CheckIndex(first + (count - 1), "StoreLongLat");
  DiscardCache();
  std::byte* at = PointData_->Data() + static_cast<std::size_t>(first) * Stride();
  if (!StoreHeight()) {
    std::memcpy(at, longLat, static_cast<std::size_t>(count) * 8);
    return;
  }
  for (int32_t i = 0; i < count; ++i, at += 12) std::memcpy(at, longLat + 2 * i, 8);
}

void TPointStore::StorePoints(int32_t first, const TGeoPoint* points, int32_t count) {
  if (count <= 0) return;
  CheckIndex(first, "StorePoints");
  CheckIndex(first + (count - 1), "StorePoints");
  DiscardCache();
  const bool heights = StoreHeight();
  std::byte* at = PointData_->Data() + static_cast<std::size_t>(first) * Stride();
  for (int32_t i = 0; i < count; ++i, at += Stride()) {
    StoreWord(at, points[i].LongX);
    StoreWord(at + 4, points[i].LatY);
    if (heights) StoreWord(at + 8, points[i].Height);
  }
}

int32_t TPointStore::Add(const TGeoPoint& point) {
  const int32_t index = Count();
  SetCount(index + 1);
  SetPoint(index, point);
  return index;
}

void TPointStore::Delete(int32_t index) {
  if (!PointData_ || index < 0 || index >= Count()) return;
  DiscardCache();
  PointData_->Delete(index);
}

void TPointStore::Translate(int32_t dLong, int32_t dLat, int32_t dHeight) {
  DiscardCache();
  const int32_t stride = Stride();
  const bool heights = StoreHeight();
  std::byte* at = PointData_ ? PointData_->Data() : nullptr;
  for (int32_t i = 0; i < Count(); ++i, at += stride) {
    StoreWord(at, Wrap32(int64_t{LoadWord(at)} + dLong));
    StoreWord(at + 4, Wrap32(int64_t{LoadWord(at + 4)} + dLat));
    if (heights) StoreWord(at + 8, Wrap32(int64_t{LoadWord(at + 8)} + dHeight));
  }
}

TGeoPoint TPointStore::Centroid() const {
  const int32_t n = Count();
  if (n == 0) return TGeoPoint();
  TLongitudeMean longitude;
  int64_t sumLat = 0, sumHeight = 0;
  const TPackedView points = Packed();
  for (int32_t i = 0; i < n; ++i) {
    longitude.Add(points.LongX(i));
    sumLat += points.LatY(i);
  }
  if (StoreHeight())
    for (int32_t i = 0; i < n; ++i) sumHeight += WordAt(i, 2);
  const long double count = n;
  return TGeoPoint(longitude.Mean(), RoundToInt(sumLat / count), RoundToInt(sumHeight / count));
}

TGeoRect TPointStore::Bounds() const {
  if (Count() > 0 && !StoreHeight()) return BoundsOfPackedPoints(PointData_->Data(), Count());
  return BoundsOfPoints(Count(), [this](int32_t i) { return PointAt(i); });
}

bool TPointStore::PointInPolygon(int32_t longX, int32_t latY) const {
  return PointInPolygonOf(Count(), [this](int32_t i) { return PointAt(i); }, longX, latY);
}

bool TPointStore::PointOnPolyline(int32_t longX, int32_t latY, int32_t tolerance) const {
  return PointOnPolylineOf(Count(), [this](int32_t i) { return PointAt(i); }, longX, latY, tolerance);
}

TPoint3DBlock TPointStore::Get3DPoints(bool keep) {
  if (!keep) DiscardCache();
  if (Cache3D_) return Cache3D_;
  auto block = std::make_shared<std::vector<TPoint3D>>(static_cast<std::size_t>(Count()));
  for (int32_t i = 0; i < Count(); ++i) (*block)[static_cast<std::size_t>(i)] = GeoToCartesian(PointAt(i));
  if (keep) Cache3D_ = block;
  return block;
}

std::unique_ptr<TPointStore> TPointStore::Clone() const { return std::make_unique<TPointStore>(*this); }

int64_t TPointStore::InstanceMemory() const {
  const int64_t cached = Cache3D_ ? static_cast<int64_t>(Cache3D_->size()) : 0;
  return static_cast<int64_t>(sizeof(*this)) + (StoreHeight() ? 3 : 2) * 4 * int64_t{Count()} + 12 * cached;
}

}  // namespace globe
