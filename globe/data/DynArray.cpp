#include "globe/data/DynArray.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "globe/data/GlobeException.h"

namespace globe {

TDynArray::TDynArray(int32_t elementSize, int32_t count)
    : ElementSize_(std::max(elementSize, 1)) {
  SetLength(count);
}

std::byte* TDynArray::ElementAddress(int32_t index) {
  if (index < 0 || index >= Count_)
    throw std::out_of_range("DynArray index " + std::to_string(index) + " out of range");
  return Bytes_.data() + Offset(index);
}

const std::byte* TDynArray::ElementAddress(int32_t index) const {
  return const_cast<TDynArray*>(this)->ElementAddress(index);
}

void TDynArray::CheckTypedSize(std::size_t size) const {
  if (size != static_cast<std::size_t>(ElementSize_))
    throw std::logic_error("DynArray element size " + std::to_string(ElementSize_) +
                           " does not match a " + std::to_string(size) + "-byte record");
}

int32_t TDynArray::GetInt(int32_t index) const { return Get<int32_t>(index); }

int32_t TDynArray::SetInt(int32_t index, int32_t value) {
  const int32_t old = Get<int32_t>(index);
  Set<int32_t>(index, value);
  return old;
}

void TDynArray::Insert(int32_t index) {
  index = std::clamp(index, 0, Count_);
  const std::size_t at = Offset(index);
  Bytes_.insert(Bytes_.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::size_t>(ElementSize_),
                std::byte{0});
  ++Count_;
}

void TDynArray::Delete(int32_t index) {
  if (index < 0 || index >= Count_) return;
  const auto at = Bytes_.begin() + static_cast<std::ptrdiff_t>(Offset(index));
  Bytes_.erase(at, at + ElementSize_);
  --Count_;
}

void TDynArray::Move(int32_t fromIndex, int32_t toIndex) {
  if (fromIndex == toIndex || fromIndex < 0 || toIndex < 0 || fromIndex >= Count_ || toIndex >= Count_)
    return;
  std::byte* base = Bytes_.data();
  const std::size_t size = static_cast<std::size_t>(ElementSize_);
  // Rotating the run between the two places is the copy out, delete, insert, copy in.
  if (fromIndex < toIndex)
    std::rotate(base + Offset(fromIndex), base + Offset(fromIndex) + size, base + Offset(toIndex) + size);
  else
    std::rotate(base + Offset(toIndex), base + Offset(fromIndex), base + Offset(fromIndex) + size);
}

void TDynArray::SetLength(int32_t count) {
  count = std::max(count, 0);
  Bytes_.resize(Offset(count), std::byte{0});
  Count_ = count;
}

void TDynArray::SetLengthUnfilled(int32_t count) {
  count = std::max(count, 0);
  Bytes_.resize(Offset(count));
  Count_ = count;
}

std::unique_ptr<TDynArray> TDynArray::Clone() const {
  auto copy = std::make_unique<TDynArray>(*this);
  copy->LockCount_ = 0;
  return copy;
}

int32_t TDynArray::IndexOf(int32_t value) const {
  if (ElementSize_ != 4) return -1;
  for (int32_t i = 0; i < Count_; ++i)
    if (GetInt(i) == value) return i;
  return -1;
}

void DynArraySetLength(TDynArray* block, int32_t count) {
  if (!block) throw EGlobeException("DynArraySetLength: Invalid Parameter");
  block->SetLength(count);
}

void DynArrayMove(TDynArray* block, int32_t fromIndex, int32_t toIndex) {
  if (!block) throw EGlobeException("DynArrayMove: Invalid Parameter");
  block->Move(fromIndex, toIndex);
}

}  // namespace globe
