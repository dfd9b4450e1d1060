// Sound files made by the tests themselves: 16-bit PCM WAV written here, and compressed
// films made with the ffmpeg program where it is installed.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "media/audio_peaks.h"

namespace lumetra::testing {

// Interleaved 16-bit samples of `channels` channels at `rate` as the bytes of a WAV
// file. `stated_bytes` overrides the data size in the header (a stream of unknown length).
inline std::string WavBytes(int rate, int channels, const std::vector<std::int16_t>& samples,
                            std::uint32_t stated_bytes = 0) {
  std::string out;
  auto put = [&out](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
  };
  const std::uint32_t data_bytes =
      stated_bytes != 0 ? stated_bytes : static_cast<std::uint32_t>(samples.size() * 2);
  out += "RIFF";
  put(36 + data_bytes, 4);
  out += "WAVEfmt ";
  put(16, 4);
  put(1, 2);  // PCM
  put(channels, 2);
  put(rate, 4);
  put(rate * channels * 2, 4);
  put(channels * 2, 2);
  put(16, 2);
  out += "data";
  put(data_bytes, 4);
  for (std::int16_t s : samples) put(static_cast<std::uint16_t>(s), 2);
  return out;
}

inline void WriteWav(const std::string& path, int rate, int channels,
                     const std::vector<std::int16_t>& samples) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const std::string bytes = WavBytes(rate, channels, samples);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// `seconds` of silence, then `tone_seconds` of a sine of `hz` at `amplitude` (of full
// scale), the same in every channel.
inline std::vector<std::int16_t> Tone(int rate, int channels, double seconds, double tone_seconds,
                                      double hz, double amplitude) {
  std::vector<std::int16_t> samples;
  const long silent = std::lround(seconds * rate);
  const long total = silent + std::lround(tone_seconds * rate);
  for (long i = 0; i < total; ++i) {
    double v = 0;
    if (i >= silent) v = amplitude * std::sin(2 * std::numbers::pi * hz * (i - silent) / rate);
    const auto s = static_cast<std::int16_t>(std::lround(v * 32767));
    for (int c = 0; c < channels; ++c) samples.push_back(s);
  }
  return samples;
}

inline bool HaveFfmpeg() { return std::system("ffmpeg -version >/dev/null 2>&1") == 0; }

// A peak value as a fraction of full scale.
inline double Level(std::int16_t value) { return value / static_cast<double>(kPeakFullScale); }

}  // namespace lumetra::testing
