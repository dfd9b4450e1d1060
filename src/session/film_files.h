// Which film goes with a subtitle: the one last used with it (kept in its history entry),
// else, when the user wants it, a film of the same base name in its folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/configuration.h"
#include "settings/file_history.h"

namespace lumetra {

// Followed by the film's path, a line break and the player's reason.
inline constexpr char kFilmCannotPlay[] = "This film cannot be played:\r\r";

// The extensions of the films opened beside a subtitle, and of dropped files taken as
// films: .mkv .mp4 .avi .webm .mov .m4v .mpg .ts, in any letter case.
bool IsFilmFile(std::string_view path);

// A film in the subtitle's folder whose name is the subtitle's without its extension,
// with one of the film extensions ("a.srt" finds "a.mkv" or "a.MP4"; the base name's own
// letter case must match). The extensions are tried in the order above.
std::optional<std::string> FilmBeside(const std::string& subtitle_path);

// The film to open with a subtitle that was just opened: the film remembered in its
// history entry while that file still exists, else FilmBeside when AutoOpenFilm is set.
std::optional<std::string> FilmToOpenWith(const std::string& subtitle_path,
                                          const FileHistory& history,
                                          const Configuration& settings);

// Remembers a film in the history entry of the subtitle (nothing when the subtitle is not
// in the history).
void RememberFilm(FileHistory& history, const std::string& subtitle_path,
                  const std::string& film_path);

}  // namespace lumetra
