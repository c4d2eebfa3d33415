// Maps opaque handles to the objects they name. A handle carries a slot index
// and a generation, so a stale or foreign handle is recognised and refused,
// never dereferenced.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace kernel {

template <typename T>
class HandleTable {
 public:
  // tag distinguishes the tables of different kinds (1..127): 1 windows,
  // 2 device contexts, 3 GDI objects, 4 icons and cursors, 5 menus,
  // 6 resources, 7 registry keys, 8 database handles, 9 image lists,
  // 10 accelerator tables.
  explicit HandleTable(uint32_t tag) : tag_(tag & 0x7F) {}

  // A null handle when all 65536 slots are taken.
  template <typename H>
  H add(std::unique_ptr<T> object) {
    uint32_t index;
    if (!free_.empty()) {
      index = free_.back();
      free_.pop_back();
    } else {
      if (slots_.size() > kMaxIndex) return H{};
      index = static_cast<uint32_t>(slots_.size());
      slots_.push_back({});
    }
    Slot& slot = slots_[index];
    slot.object = std::move(object);
    slot.generation = (slot.generation + 1) & 0xFF;
    if (slot.generation == 0) slot.generation = 1;
    return reinterpret_cast<H>(static_cast<uintptr_t>(encode(index, slot.generation)));
  }

  template <typename H>
  T* get(H handle) const {
    uint32_t index;
    if (!decode(reinterpret_cast<uintptr_t>(handle), index)) return nullptr;
    return slots_[index].object.get();
  }

  // Removes the object and returns it; the handle is dead afterwards.
  template <typename H>
  std::unique_ptr<T> remove(H handle) {
    uint32_t index;
    if (!decode(reinterpret_cast<uintptr_t>(handle), index)) return nullptr;
    free_.push_back(index);
    return std::move(slots_[index].object);
  }

  template <typename F>
  void forEach(F&& f) const {
    for (uint32_t i = 0; i < slots_.size(); ++i)
      if (slots_[i].object) f(encode(i, slots_[i].generation), *slots_[i].object);
  }

  size_t size() const { return slots_.size() - free_.size(); }

 private:
  struct Slot {
    std::unique_ptr<T> object;
    uint32_t generation = 0;
  };

  static constexpr uint32_t kMaxIndex = 0xFFFF;

  // Bit 31 clear so handles stay positive as 32-bit values; low bits never 0.
  uint32_t encode(uint32_t index, uint32_t generation) const {
    return (tag_ << 24) | ((index & 0xFFFF) << 8) | generation;
  }
  bool decode(uintptr_t value, uint32_t& index) const {
    if (value > 0xFFFFFFFFu || ((value >> 24) & 0x7F) != tag_) return false;
    index = (value >> 8) & 0xFFFF;
    uint32_t generation = value & 0xFF;
    return index < slots_.size() && slots_[index].object && slots_[index].generation == generation;
  }

  uint32_t tag_;
  std::vector<Slot> slots_;
  std::vector<uint32_t> free_;
};

}  // namespace kernel
