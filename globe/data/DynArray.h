#pragma once
// The engine's counted array block: a run of fixed-size elements with a count, an element size
// and a lock count (greater than 0 while a cached block is lent out). Elements are packed
// without padding; typed access copies bytes, so any trivially copyable record of the element
// size can be stored.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace globe {

// Leaves new bytes of a resize without the explicit value uninitialised (see SetLengthUnfilled).
template <class T>
struct TNoFillAllocator : std::allocator<T> {
  template <class U>
  struct rebind {
    using other = TNoFillAllocator<U>;
  };
  template <class U, class... Args>
  void construct(U* at, Args&&... args) {
    if constexpr (sizeof...(Args) == 0) {
      ::new (static_cast<void*>(at)) U;
    } else {
      ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
  }
};

class TDynArray {
 public:
  // A block of `count` zeroed elements of `elementSize` bytes.
  TDynArray(int32_t elementSize, int32_t count);

  int32_t Count() const { return Count_; }
  int32_t ElementSize() const { return ElementSize_; }
  int32_t LockCount() const { return LockCount_; }

  // Address of an element; out-of-range indices raise std::out_of_range.
  std::byte* ElementAddress(int32_t index);
  const std::byte* ElementAddress(int32_t index) const;
  // The first element (nullptr when empty); elements follow each other ElementSize bytes apart.
  std::byte* Data() { return Bytes_.data(); }
  const std::byte* Data() const { return Bytes_.data(); }

  // 4-byte elements (references and integers). SetInt returns the old value.
  int32_t GetInt(int32_t index) const;
  int32_t SetInt(int32_t index, int32_t value);

  // Typed copies of whole elements (sizeof(T) must equal ElementSize()).
  template <class T>
  T Get(int32_t index) const {
    static_assert(std::is_trivially_copyable_v<T>);
    CheckTypedSize(sizeof(T));
    T value;
    std::memcpy(&value, ElementAddress(index), sizeof(T));
    return value;
  }
  template <class T>
  void Set(int32_t index, const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    CheckTypedSize(sizeof(T));
    std::memcpy(ElementAddress(index), &value, sizeof(T));
  }

  // Grows by one; the elements from `index` move up one place and the slot at `index` is
  // zeroed for the caller to fill. `index` is clamped into 0..Count.
  void Insert(int32_t index);
  // Elements above move down; an index outside 0..Count-1 does nothing.
  void Delete(int32_t index);
  // Moves one element; nothing when the indices are equal or either is not below Count.
  void Move(int32_t fromIndex, int32_t toIndex);
  // New elements are zeroed; a negative count is taken as 0.
  void SetLength(int32_t count);
  // As SetLength, but new elements are left unset: for a reader that writes every one of them
  // at once (zeroing first would touch the memory twice).
  void SetLengthUnfilled(int32_t count);
  // Copy of the whole block with LockCount 0.
  std::unique_ptr<TDynArray> Clone() const;
  // Index of a 4-byte value; -1 when absent or when the element size is not 4.
  int32_t IndexOf(int32_t value) const;

  void Lock() { ++LockCount_; }
  void Unlock() {
    if (LockCount_ > 0) --LockCount_;
  }

 private:
  void CheckTypedSize(std::size_t size) const;
  std::size_t Offset(int32_t index) const {
    return static_cast<std::size_t>(index) * static_cast<std::size_t>(ElementSize_);
  }

  int32_t Count_ = 0;
  int32_t ElementSize_ = 0;
  int32_t LockCount_ = 0;
  std::vector<std::byte, TNoFillAllocator<std::byte>> Bytes_;
};

// Operations on a block that may be missing: set length and move raise EGlobeException
// "DynArraySetLength: Invalid Parameter" / "DynArrayMove: Invalid Parameter" on a null block.
void DynArraySetLength(TDynArray* block, int32_t count);
void DynArrayMove(TDynArray* block, int32_t fromIndex, int32_t toIndex);

}  // namespace globe
