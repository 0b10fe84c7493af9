#pragma once
// The X zoom ladder of the waveform window: cycles per division, from 5 to
// 6400, halving and doubling except for the step between 10 and 25. The
// window is ten divisions wide.

#include <array>
#include <cstdint>

namespace trelvan {

constexpr uint32_t WaveDivisions = 10;
constexpr std::array<uint32_t, 11> WaveDivisionLadder = {5,   10,  25,   50,   100, 200,
                                                         400, 800, 1600, 3200, 6400};
constexpr uint32_t WaveDivisionInitial = 50;
constexpr uint32_t WaveDivisionMin = 5;
constexpr uint32_t WaveDivisionMax = 6400;
// A run starts with at most this many cycles per division.
constexpr uint32_t WaveDivisionRunLimit = 1600;

constexpr uint32_t WaveWindowWidth(uint32_t division) { return WaveDivisions * division; }

// The next rung down (zoom in) and up (zoom out); the caller refuses at the ends.
constexpr uint32_t ZoomInDivision(uint32_t division) { return division == 25 ? 10 : division / 2; }
constexpr uint32_t ZoomOutDivision(uint32_t division) { return division == 10 ? 25 : division * 2; }

}  // namespace trelvan
