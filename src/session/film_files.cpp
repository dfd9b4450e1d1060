#include "session/film_files.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "foundation/textkit.h"

namespace lumetra {

namespace {

constexpr std::array<std::string_view, 8> kFilmExtensions = {"mkv", "mp4", "avi", "webm",
                                                             "mov", "m4v", "mpg", "ts"};

bool IsRegularFile(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

// The extension after the name's last dot, in lower case; empty for none.
std::string LowerExtension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  std::string extension(name.substr(dot + 1));
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return extension;
}

}  // namespace

bool IsFilmFile(std::string_view path) {
  const std::filesystem::path p{std::string(path)};
  const std::string extension = LowerExtension(p.filename().string());
  for (std::string_view film : kFilmExtensions) {
    if (extension == film) return true;
  }
  return false;
}

std::optional<std::string> FilmBeside(const std::string& subtitle_path) {
  const std::filesystem::path subtitle(subtitle_path);
  const std::string stem = subtitle.stem().string();
  if (stem.empty()) return std::nullopt;
  const std::filesystem::path dir = subtitle.parent_path().empty() ? "." : subtitle.parent_path();
  std::error_code ec;
  std::optional<std::string> best;
  std::size_t best_rank = kFilmExtensions.size();
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::filesystem::path& candidate = it->path();
    if (candidate.stem().string() != stem || !IsRegularFile(candidate)) continue;
    const std::string extension = LowerExtension(candidate.filename().string());
    for (std::size_t rank = 0; rank < best_rank; ++rank) {
      if (extension == kFilmExtensions[rank]) {
        best = candidate.string();
        best_rank = rank;
        break;
      }
    }
  }
  return best;
}

std::optional<std::string> FilmToOpenWith(const std::string& subtitle_path,
                                          const FileHistory& history,
                                          const Configuration& settings) {
  if (const int entry = history.Find(subtitle_path); entry != 0) {
    const std::optional<std::string> film = history.Attribute(entry, kFilmAttribute);
    if (film && IsRegularFile(*film)) return film;
  }
  if (settings.AutoOpenFilm) return FilmBeside(subtitle_path);
  return std::nullopt;
}

void RememberFilm(FileHistory& history, const std::string& subtitle_path,
                  const std::string& film_path) {
  if (const int entry = history.Find(subtitle_path); entry != 0) {
    history.SetAttribute(entry, kFilmAttribute, film_path);
  }
}

}  // namespace lumetra
