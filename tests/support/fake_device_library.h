#pragma once
// A scriptable device library for tests: every call is recorded with its
// arguments; results and outputs are set per operation.

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "device/device_library.h"

namespace trelvan::testing {

struct Call {
  std::string op;
  uint8_t index = 0;
  uint32_t arg = 0;  // selector, state, mode or buffer size
};

class FakeDeviceLibrary : public DeviceLibrary {
 public:
  // Results per operation (nonzero = success).
  uint8_t openResult = 0;  // the index OpenDevice returns
  uint8_t getConfigResult = 1, setConfigResult = 1, dfuModeResult = 1, startResult = 1,
          stopResult = 1, readResult = 1, readFifoResult = 1, versionResult = 1,
          fifoLeftResult = 1, notifyResult = 1;
  // Outputs.
  std::string serial = "SN-0001";
  bool serialWithoutNul = false;  // fills all 20 bytes
  AdcConfig config{};             // what ADCGetConfig reports
  uint8_t dfuPin = 1;
  int32_t fifoLeft = 0;
  std::vector<uint8_t> cycle = std::vector<uint8_t>(16, 0);  // ADCRead's cycle
  // Each ReadFIFO takes the next chunk (empty chunk: 0 bytes). reportedBytes
  // overrides bytesRead when set (to test a library that over-reports).
  std::deque<std::vector<uint8_t>> fifoChunks;
  int64_t reportedBytes = -1;
  std::string versions[4] = {"1.0;lib", "2.0;sys", "3.0;mcu", "4.0;dfu"};
  // Per-selector failure.
  bool versionFails[4] = {false, false, false, false};

  KavrelNotifyCallback callback = nullptr;
  std::vector<Call> calls;
  std::vector<AdcConfig> sentConfigs;

  int count(const std::string& op) const {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                          [&](const Call& c) { return c.op == op; }));
  }
  std::vector<std::string> ops() const {
    std::vector<std::string> names;
    for (const Call& c : calls) names.push_back(c.op);
    return names;
  }

  uint8_t SetUSBNotify(uint32_t mode, KavrelNotifyCallback cb) override {
    record("SetUSBNotify", 0, mode);
    callback = cb;
    return notifyResult;
  }
  uint8_t OpenDevice() override {
    record("OpenDevice", 0);
    return openResult;
  }
  uint8_t CloseDevice(uint8_t index) override { return record("CloseDevice", index), 1; }
  uint8_t GetSerialNo(uint8_t index, char out[20]) override {
    record("GetSerialNo", index);
    if (serialWithoutNul) {
      std::memset(out, 'X', 20);
    } else {
      std::strncpy(out, serial.c_str(), 19);
    }
    return 1;
  }
  uint8_t ADCGetConfig(uint8_t index, AdcConfig* out) override {
    record("ADCGetConfig", index);
    if (getConfigResult) *out = config;
    return getConfigResult;
  }
  uint8_t ADCSetConfig(uint8_t index, const AdcConfig* in) override {
    record("ADCSetConfig", index);
    sentConfigs.push_back(*in);
    return setConfigResult;
  }
  uint8_t DFUPinGet(uint8_t index, uint8_t* state) override {
    record("DFUPinGet", index);
    *state = dfuPin;
    return 1;
  }
  uint8_t DFUPinSet(uint8_t index, uint8_t state) override {
    record("DFUPinSet", index, state);
    dfuPin = state;
    return 1;
  }
  uint8_t DFUMode(uint8_t index) override { return record("DFUMode", index), dfuModeResult; }
  uint8_t ADCReset(uint8_t index) override { return record("ADCReset", index), 1; }
  uint8_t ADCStart(uint8_t index) override { return record("ADCStart", index), startResult; }
  uint8_t InitFIFO(uint8_t index) override { return record("InitFIFO", index), 1; }
  uint8_t GetFIFOLeft(uint8_t index, int32_t* left) override {
    record("GetFIFOLeft", index);
    *left = fifoLeft;  // written even when the call fails
    return fifoLeftResult;
  }
  uint8_t ReadFIFO(uint8_t index, uint8_t* buffer, uint32_t size, uint32_t* bytesRead) override {
    record("ReadFIFO", index, size);
    *bytesRead = 0;
    if (!readFifoResult) {
      if (reportedBytes >= 0) *bytesRead = static_cast<uint32_t>(reportedBytes);
      return 0;
    }
    if (!fifoChunks.empty()) {
      const std::vector<uint8_t>& chunk = fifoChunks.front();
      const std::size_t n = std::min<std::size_t>(chunk.size(), size);
      if (n > 0) std::memcpy(buffer, chunk.data(), n);  // an empty chunk has no data pointer
      *bytesRead = static_cast<uint32_t>(n);
      fifoChunks.pop_front();
    }
    if (reportedBytes >= 0) *bytesRead = static_cast<uint32_t>(reportedBytes);
    return 1;
  }
  uint8_t ADCStop(uint8_t index) override { return record("ADCStop", index), stopResult; }
  uint8_t ADCRead(uint8_t index, uint8_t out[16]) override {
    record("ADCRead", index);
    if (readResult) std::memcpy(out, cycle.data(), 16);
    return readResult;
  }
  uint8_t GetVersion(uint8_t index, uint8_t selector, char buffer[50]) override {
    record("GetVersion", index, selector);
    if (!versionResult || selector > 3 || versionFails[selector]) return 0;
    std::memcpy(buffer, versions[selector].data(), std::min<std::size_t>(versions[selector].size(), 50));
    return 1;
  }

 private:
  void record(const char* op, uint8_t index, uint32_t arg = 0) { calls.push_back({op, index, arg}); }
};

// Cycles whose codes are given row by row.
inline std::vector<uint8_t> CyclesBytes(const std::vector<std::array<int16_t, 8>>& rows) {
  std::vector<uint8_t> bytes(rows.size() * 16);
  std::memcpy(bytes.data(), rows.data(), bytes.size());
  return bytes;
}

// The sequence number a test cycle carries: AN7 the high, AN8 the low 16 bits.
inline uint32_t SequenceOf(const int16_t* row) {
  return (uint32_t{static_cast<uint16_t>(row[6])} << 16) | static_cast<uint16_t>(row[7]);
}

// `count` cycles numbered first, first+1, ... (AN7/AN8), with AN1 the low
// 16 bits of the number as a code; the other channels 0.
inline std::vector<uint8_t> SequenceCycles(uint32_t count, uint32_t first = 0) {
  std::vector<uint8_t> bytes(std::size_t{count} * 16, 0);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t n = first + i;
    int16_t row[8] = {static_cast<int16_t>(n & 0xFFFF), 0, 0, 0, 0, 0,
                      static_cast<int16_t>(n >> 16), static_cast<int16_t>(n & 0xFFFF)};
    std::memcpy(bytes.data() + std::size_t{i} * 16, row, 16);
  }
  return bytes;
}

}  // namespace trelvan::testing
