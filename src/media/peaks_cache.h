// The peaks cache: one file per film in $XDG_CACHE_HOME/lumetra/peaks/, so that a film
// opened again shows its waveform at once. A cache file names the film it belongs to (its
// path, size and modification time) and ends with a checksum; a file that is cut short,
// damaged, of another program or of another state of the film is not used.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "media/audio_peaks.h"

namespace lumetra {

// What a film's cache file is keyed by.
struct FilmIdentity {
  std::string path;  // absolute
  std::uint64_t size = 0;
  std::int64_t modified_ns = 0;
  bool operator==(const FilmIdentity&) const = default;
};

// The identity of the film at `path` as it is now; nothing when it cannot be looked at.
std::optional<FilmIdentity> IdentifyFilm(const std::string& path);

// $XDG_CACHE_HOME/lumetra/peaks, or ~/.cache/lumetra/peaks when the variable is unset or
// not an absolute path; empty when neither gives a place. `env` looks up a variable.
using EnvironmentVariable = std::function<std::optional<std::string>(const char* name)>;
std::filesystem::path PeaksCacheDirectory(const EnvironmentVariable& env);
// The same from the process's environment.
std::filesystem::path PeaksCacheDirectory();

// The cache file of a film inside `directory`.
std::filesystem::path PeaksCacheFile(const std::filesystem::path& directory,
                                     const FilmIdentity& film);

struct CachedPeaks {
  std::int64_t duration_ms = 0;  // the film's stated length (0: unknown)
  std::vector<Peak> base;        // the base level
};

// The peaks kept in `file` for `film`; nothing when the file is missing, short, damaged,
// foreign or kept for another identity.
std::optional<CachedPeaks> ReadPeaksCache(const std::filesystem::path& file,
                                          const FilmIdentity& film);
// Writes the peaks through a temporary file beside `file`, creating its directory; false
// when that fails (the cache is a convenience: nothing else depends on it).
bool WritePeaksCache(const std::filesystem::path& file, const FilmIdentity& film,
                     const CachedPeaks& peaks);

}  // namespace lumetra
