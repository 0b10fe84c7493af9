#include "acquisition/sample_store.h"

#include <utility>

namespace trelvan {

namespace {

template <class T>
std::shared_ptr<T[]> NewRows(uint32_t capacity) {
  return std::make_shared_for_overwrite<T[]>(std::size_t{capacity} * Channels);
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
