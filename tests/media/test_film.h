// Films made by ffmpeg while the tests (and benchmarks) run: a test picture with a clock
// and a 440 Hz tone. Nothing when ffmpeg is not installed. The sound is uncompressed, so
// no encoder delay shifts the pictures: picture k starts at exactly k * 40 ms.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace lumetra::testing {

inline bool HaveFfmpeg() { return std::system("ffmpeg -version >/dev/null 2>&1") == 0; }

// `path` gets a film of `seconds` at 25 pictures a second, `width` x `height`.
inline std::optional<std::string> MakeTestFilm(const std::string& path, int seconds = 3,
                                               int width = 320, int height = 240) {
  if (!HaveFfmpeg()) return std::nullopt;
  const std::string length = std::to_string(seconds);
  const std::string command =
      "ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=" + std::to_string(width) + "x" +
      std::to_string(height) + ":rate=25:duration=" + length +
      " -f lavfi -i sine=frequency=440:duration=" + length +
      " -c:v mpeg4 -q:v 4 -c:a pcm_s16le -shortest '" + path + "'";
  if (std::system(command.c_str()) != 0) return std::nullopt;
  return path;
}

}  // namespace lumetra::testing
