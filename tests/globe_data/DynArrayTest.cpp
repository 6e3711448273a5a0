#include "globe/data/DynArray.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeException.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;
using Ints = std::vector<int32_t>;

Ints IntsOf(const TDynArray& a) {
  Ints values;
  for (int32_t i = 0; i < a.Count(); ++i) values.push_back(a.GetInt(i));
  return values;
}

TDynArray Numbered(int32_t count) {
  TDynArray a(4, count);
  for (int32_t i = 0; i < count; ++i) a.SetInt(i, 10 * i);
  return a;
}

TEST(DynArray, CreatesZeroedElementsAndSetReturnsOldValue) {
  TDynArray a(4, 3);
  EXPECT_EQ(IntsOf(a), (Ints{0, 0, 0}));
  EXPECT_EQ(a.SetInt(1, 42), 0);
  EXPECT_EQ(a.SetInt(1, 43), 42);
  EXPECT_THROW(a.GetInt(3), std::out_of_range);
  EXPECT_THROW(a.SetInt(-1, 0), std::out_of_range);
}

TEST(DynArray, InsertZeroesTheSlotDeleteAndMoveIgnoreIndexesOutsideTheRange) {
  TDynArray a = Numbered(3);
  a.Insert(1);
  a.Insert(4);  // at the end
  EXPECT_EQ(IntsOf(a), (Ints{0, 0, 10, 20, 0}));
  TDynArray d = Numbered(4);
  d.Delete(4);
  d.Delete(-1);
  d.Delete(1);
  EXPECT_EQ(IntsOf(d), (Ints{0, 20, 30}));
  TDynArray m = Numbered(5);  // one element moves either way
  m.Move(1, 3);
  EXPECT_EQ(IntsOf(m), (Ints{0, 20, 30, 10, 40}));
  m.Move(4, 0);
  m.Move(2, 2);
  m.Move(1, 5);
  m.Move(5, 1);
  EXPECT_EQ(IntsOf(m), (Ints{40, 0, 20, 30, 10}));
  DynArrayMove(&m, 0, 1);
  EXPECT_EQ(IntsOf(m), (Ints{0, 40, 20, 30, 10}));
}

TEST(DynArray, SetLengthGrowsWithZeroesAndClonesAreUnlocked) {
  TDynArray a = Numbered(2);
  a.SetLength(4);
  EXPECT_EQ(IntsOf(a), (Ints{0, 10, 0, 0}));
  a.SetLength(1);
  a.SetLength(2);
  EXPECT_EQ(IntsOf(a), (Ints{0, 0}));  // shrinking loses the old values
  a.Lock();
  a.Lock();
  std::unique_ptr<TDynArray> copy = a.Clone();
  EXPECT_EQ(copy->LockCount(), 0);
  copy->SetInt(0, 5);
  EXPECT_EQ(a.GetInt(0), 0);  // an independent block
  for (int i = 0; i < 3; ++i) a.Unlock();
  EXPECT_EQ(a.LockCount(), 0);
}

TEST(DynArray, IndexOfOnlyForFourByteElementsAndRecordsArePacked) {
  TDynArray a = Numbered(3);
  EXPECT_EQ(a.IndexOf(20), 2);
  EXPECT_EQ(a.IndexOf(21), -1);
  TDynArray points(8, 2);
  points.Set<int64_t>(0, 20);
  EXPECT_EQ(points.IndexOf(20), -1);
  EXPECT_THROW(points.GetInt(0), std::logic_error);  // a 4-byte read of an 8-byte element
  TDynArray records(12, 2);
  records.Set(1, TPoint3D{1, -2, 3});
  EXPECT_EQ(records.Get<TPoint3D>(1), (TPoint3D{1, -2, 3}));
  EXPECT_EQ(records.ElementAddress(1) - records.ElementAddress(0), 12);
}

TEST(DynArray, MissingBlockRaisesInvalidParameter) {
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { DynArraySetLength(nullptr, 3); }),
            "DynArraySetLength: Invalid Parameter");
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { DynArrayMove(nullptr, 0, 1); }), "DynArrayMove: Invalid Parameter");
}

}  // namespace
}  // namespace globe
