// The two parsers of the settings: the configuration file lumetra.cfg and the desktop's
// mimeapps.list that the file association merges its two lines into. The input's first
// byte chooses which; the rest is the file. Besides the sanitizers' findings it checks what
// must hold for any file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "settings/configuration.h"
#include "settings/file_association.h"
#include "settings/file_history.h"

namespace {

using namespace lumetra;

// Ends the run, naming the broken condition, when it does not hold.
#define CHECK(condition)                                                                      \
  do {                                                                                        \
    if (!(condition)) {                                                                       \
      std::fprintf(stderr, "fuzz_settings.cpp:%d: %s does not hold\n", __LINE__, #condition); \
      std::abort();                                                                           \
    }                                                                                         \
  } while (false)

// Any file reads into values within their ranges, and what is written of them (the history
// counted again first) reads back as the same values and is written again as the same
// bytes.
void CheckConfiguration(std::string_view text) {
  Configuration config;
  FileHistory history;
  ReadConfigText(text, config, history);
  CHECK(history.MaxHistory >= 1 && history.MaxHistory <= FileHistory::kSlots);
  CHECK(history.HisNum >= 1 && history.HisNum <= history.MaxHistory);
  CHECK(config.TextAlign >= 0 && config.TextAlign <= 2);

  const std::string written = ConfigFileText(config, history);
  Configuration again;
  FileHistory history_again;
  ReadConfigText(written, again, history_again);
  CHECK(again.WinPosSav == config.WinPosSav && again.RemLastDir == config.RemLastDir &&
        again.AutoLoad == config.AutoLoad && again.Window == config.Window &&
        again.TextAlign == config.TextAlign && again.InstantApply == config.InstantApply &&
        again.AutoFocus == config.AutoFocus);
  CHECK(!config.RemLastDir || again.LastDir == config.LastDir);
  CHECK(history_again.MaxHistory == history.MaxHistory);
  CHECK(history_again.HisNum == history.HisNum);
  for (int i = 1; i <= history.HisNum; ++i) CHECK(history_again.Entry(i) == history.Entry(i));
  CHECK(ConfigFileText(again, history_again) == written);
}

std::vector<std::string_view> LinesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string_view Trim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// The merged list names the program first for both media types in its default-handler
// group, keeps every line that is not one of those two keys in that order, and merging
// again changes nothing.
void CheckMimeApps(std::string_view text) {
  const std::string merged = MimeAppsWithDefaults(text);
  CHECK(MimeAppsWithDefaults(merged) == merged);
  const std::vector<std::string_view> lines = LinesOf(merged);

  const char* const types[] = {kSubRipMediaType, kMicroDvdMediaType};
  bool found[2] = {false, false};
  bool in_group = false;
  bool group_seen = false;
  for (std::string_view line : lines) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.starts_with('[')) {
      in_group = !group_seen && trimmed == "[Default Applications]";
      group_seen = group_seen || in_group;
      continue;
    }
    if (!in_group) continue;
    for (int k = 0; k < 2; ++k) {
      if (line.starts_with(std::string(types[k]) + "=")) {
        CHECK(line.substr(std::string_view(types[k]).size() + 1).starts_with(kDesktopFileName));
        found[k] = true;
      }
    }
  }
  CHECK(found[0] && found[1]);

  // Every other line of the input, in its order, among the lines of the result.
  std::size_t at = 0;
  for (std::string_view line : LinesOf(text)) {
    bool rewritten = false;
    for (const char* type : types) {
      const std::size_t eq = line.find('=');
      rewritten = rewritten || (eq != std::string_view::npos && Trim(line.substr(0, eq)) == type);
    }
    if (rewritten) continue;
    while (at < lines.size() && lines[at] != line) ++at;
    CHECK(at < lines.size());
    ++at;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] % 2 == 0) {
    CheckConfiguration(text);
  } else {
    CheckMimeApps(text);
  }
  return 0;
}
