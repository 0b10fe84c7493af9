#include "acquisition/sample_store.h"

#include <new>
#include <utility>

namespace trelvan {

namespace {

// Rows start on a cache line, so that every row of volts (32 bytes) can be
// written as one aligned register.
constexpr std::align_val_t RowAlignment{64};

template <class T>
std::shared_ptr<T[]> NewRows(uint32_t capacity) {
  void* rows = ::operator new[](std::size_t{capacity} * Channels * sizeof(T), RowAlignment);
  return std::shared_ptr<T[]>(static_cast<T*>(rows), [](T* p) { ::operator delete[](p, RowAlignment); });
}

}  // namespace

SampleStore::SampleStore(uint32_t capacity)
    : volts(NewRows<float>(capacity)), raw(NewRows<int16_t>(capacity)), capacity_(capacity) {}

RawRows SampleStore::FreeRaw() {
  if (spare_ && spare_.use_count() == 1) return std::move(spare_);
  return NewRows<int16_t>(capacity_);
}

void SampleStore::Restart() {
  cycleCount = 0;
  if (raw.use_count() > 1) raw = FreeRaw();
  if (volts.use_count() > 1) volts = NewRows<float>(capacity_);
}

RawRows SampleStore::TakeRaw() {
  RawRows taken = std::exchange(raw, FreeRaw());
  Restart();
  return taken;
}

void SampleStore::GiveBack(RawRows rows) {
  if (!spare_ && rows && rows != raw) spare_ = std::move(rows);
}

}  // namespace trelvan
