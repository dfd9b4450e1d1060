// A film's peaks as the waveform wants them: from the cache when the film has a valid
// cache file, otherwise decoded (the buckets handed on as they come) and then cached.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "media/peak_decoder.h"

namespace lumetra {

inline constexpr char kFilmHasNoSound[] = "This film has no sound.";
inline constexpr char kSoundNotDecodable[] = "The film's sound cannot be decoded: ";
inline constexpr char kFilmNotOpened[] = "The film cannot be opened: ";
inline constexpr char kWaveformCancelled[] = "The waveform was cancelled.";

struct FilmPeaksResult {
  PeakOutcome outcome = PeakOutcome::kComplete;
  std::string detail;
  std::int64_t duration_ms = 0;
  bool from_cache = false;
};

// The peaks of the film at `film_path`, handed to `receiver`: from its cache file in
// `cache_directory` when that is valid for the film as it is now (one Received call),
// else decoded and, when complete, written there. An empty directory: no cache.
FilmPeaksResult LoadFilmPeaks(const std::string& film_path,
                              const std::filesystem::path& cache_directory,
                              PeakReceiver& receiver);

// What the waveform's panel says about a result; empty for a complete one.
std::string FilmPeaksMessage(const FilmPeaksResult& result);

}  // namespace lumetra
