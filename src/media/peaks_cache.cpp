#include "media/peaks_cache.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <system_error>

namespace lumetra {

namespace {

constexpr char kMagic[8] = {'L', 'M', 'T', 'P', 'E', 'A', 'K', 'S'};
constexpr std::uint32_t kVersion = 1;
// Larger files are no cache of ours: 24 hours of peaks take 35 MB.
constexpr std::uint64_t kMaxCacheBytes = 256ull << 20;

std::uint64_t Fnv1a(const char* data, std::size_t size,
                    std::uint64_t hash = 14695981039346656037ull) {
  for (std::size_t i = 0; i < size; ++i) {
    hash ^= static_cast<unsigned char>(data[i]);
    hash *= 1099511628211ull;
  }
  return hash;
}

class Writer {
 public:
  void Bytes(const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    out_.insert(out_.end(), bytes, bytes + size);
  }
  void Unsigned(std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) out_.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
  }
  std::string& out() { return out_; }

 private:
  std::string out_;
};

class Reader {
 public:
  explicit Reader(const std::string& in) : in_(in) {}
  bool Bytes(void* data, std::size_t size) {
    if (in_.size() - at_ < size) return false;
    std::memcpy(data, in_.data() + at_, size);
    at_ += size;
    return true;
  }
  bool Unsigned(std::uint64_t* value, int size) {
    if (in_.size() - at_ < static_cast<std::size_t>(size)) return false;
    *value = 0;
    for (int i = 0; i < size; ++i) {
      *value |= static_cast<std::uint64_t>(static_cast<unsigned char>(in_[at_ + i])) << (8 * i);
    }
    at_ += size;
    return true;
  }
  std::size_t at() const { return at_; }
  std::size_t left() const { return in_.size() - at_; }

 private:
  const std::string& in_;
  std::size_t at_ = 0;
};

void WriteHeader(Writer& w, const FilmIdentity& film, std::int64_t duration_ms,
                 std::uint64_t buckets) {
  w.Bytes(kMagic, sizeof kMagic);
  w.Unsigned(kVersion, 4);
  w.Unsigned(kPeakBucketMs, 4);
  w.Unsigned(film.size, 8);
  w.Unsigned(static_cast<std::uint64_t>(film.modified_ns), 8);
  w.Unsigned(film.path.size(), 4);
  w.Bytes(film.path.data(), film.path.size());
  w.Unsigned(static_cast<std::uint64_t>(duration_ms), 8);
  w.Unsigned(buckets, 8);
}

}  // namespace

std::optional<FilmIdentity> IdentifyFilm(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::weakly_canonical(path, error);
  if (error) absolute = std::filesystem::absolute(path, error);
  if (error) return std::nullopt;
  const std::uintmax_t size = std::filesystem::file_size(absolute, error);
  if (error) return std::nullopt;
  const auto modified = std::filesystem::last_write_time(absolute, error);
  if (error) return std::nullopt;
  FilmIdentity film;
  film.path = absolute.string();
  film.size = size;
  film.modified_ns =
      std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count();
  return film;
}

std::filesystem::path PeaksCacheDirectory(const EnvironmentVariable& env) {
  const std::optional<std::string> cache = env("XDG_CACHE_HOME");
  if (cache && !cache->empty() && std::filesystem::path(*cache).is_absolute()) {
    return std::filesystem::path(*cache) / "lumetra" / "peaks";
  }
  const std::optional<std::string> home = env("HOME");
  if (home && !home->empty() && std::filesystem::path(*home).is_absolute()) {
    return std::filesystem::path(*home) / ".cache" / "lumetra" / "peaks";
  }
  return {};
}

std::filesystem::path PeaksCacheDirectory() {
  return PeaksCacheDirectory([](const char* name) -> std::optional<std::string> {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  });
}

std::filesystem::path PeaksCacheFile(const std::filesystem::path& directory,
                                     const FilmIdentity& film) {
  char name[32];
  std::snprintf(name, sizeof name, "%016llx.peaks",
                static_cast<unsigned long long>(Fnv1a(film.path.data(), film.path.size())));
  return directory / name;
}

std::optional<CachedPeaks> ReadPeaksCache(const std::filesystem::path& file,
                                          const FilmIdentity& film) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  const std::streamoff length = in.tellg();
  if (length <= 0 || static_cast<std::uint64_t>(length) > kMaxCacheBytes) return std::nullopt;
  in.seekg(0);
  std::string data(static_cast<std::size_t>(length), '\0');
  if (!in.read(data.data(), length)) return std::nullopt;

  Reader r(data);
  char magic[sizeof kMagic];
  std::uint64_t version = 0, bucket_ms = 0, size = 0, modified = 0, path_size = 0;
  if (!r.Bytes(magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof kMagic) != 0 ||
      !r.Unsigned(&version, 4) || version != kVersion || !r.Unsigned(&bucket_ms, 4) ||
      bucket_ms != kPeakBucketMs || !r.Unsigned(&size, 8) || !r.Unsigned(&modified, 8) ||
      !r.Unsigned(&path_size, 4) || path_size > r.left()) {
    return std::nullopt;
  }
  std::string path(path_size, '\0');
  r.Bytes(path.data(), path_size);
  if (path != film.path || size != film.size ||
      static_cast<std::int64_t>(modified) != film.modified_ns) {
    return std::nullopt;
  }
  std::uint64_t duration = 0, buckets = 0;
  if (!r.Unsigned(&duration, 8) || !r.Unsigned(&buckets, 8) || buckets > r.left() / 4 ||
      r.left() != buckets * 4 + 8) {
    return std::nullopt;
  }
  const std::size_t payload_end = r.at() + buckets * 4;
  std::uint64_t checksum = 0;
  for (int i = 0; i < 8; ++i) {
    checksum |= static_cast<std::uint64_t>(static_cast<unsigned char>(data[payload_end + i]))
                << (8 * i);
  }
  if (checksum != Fnv1a(data.data(), payload_end)) return std::nullopt;
  CachedPeaks peaks;
  peaks.duration_ms = static_cast<std::int64_t>(duration);
  peaks.base.resize(buckets);
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(data.data()) + r.at();
  for (std::size_t i = 0; i < buckets; ++i, bytes += 4) {
    peaks.base[i].min = static_cast<std::int16_t>(bytes[0] | (bytes[1] << 8));
    peaks.base[i].max = static_cast<std::int16_t>(bytes[2] | (bytes[3] << 8));
  }
  return peaks;
}

bool WritePeaksCache(const std::filesystem::path& file, const FilmIdentity& film,
                     const CachedPeaks& peaks) {
  Writer w;
  w.out().reserve(64 + film.path.size() + peaks.base.size() * 4);
  WriteHeader(w, film, peaks.duration_ms, peaks.base.size());
  for (const Peak& peak : peaks.base) {
    w.Unsigned(static_cast<std::uint16_t>(peak.min), 2);
    w.Unsigned(static_cast<std::uint16_t>(peak.max), 2);
  }
  w.Unsigned(Fnv1a(w.out().data(), w.out().size()), 8);

  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  if (error) return false;
  std::filesystem::path temporary = file;
  static std::atomic<unsigned> writes{0};
  temporary += ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(++writes);
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out.write(w.out().data(), static_cast<std::streamsize>(w.out().size())) ||
        !out.flush()) {
      out.close();
      std::filesystem::remove(temporary, error);
      return false;
    }
  }
  std::filesystem::rename(temporary, file, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  return true;
}

}  // namespace lumetra
