#include "session/save_file_types.h"

#include <array>

#include "document/document.h"
#include "formats/subtitle_io.h"
#include "foundation/textkit.h"

namespace lumetra {

namespace {

constexpr std::array<SaveFileType, 8> kTypes = {{
    {"SRT  (srt with info header)", "srt", kKindSrt2},
    {"SUB  (frame-based subtitle)", "sub", kKindSub},
    {"SMI   (html subtitle)", "smi", kKindSami},
    {"TXT  (normal srt)", "txt", kKindSubRip},
    {"SRT  (normal srt)", "srt", kKindSubRip},
    {"WebVTT", "vtt", kKindWebVtt},
    {"ASS", "ass", kKindAss},
    {"SSA", "ssa", kKindSsa},
}};

constexpr int kSubRipSrtType = 4;

bool IsType(int file_type) { return file_type >= 0 && file_type < static_cast<int>(kTypes.size()); }

}  // namespace

std::span<const SaveFileType> SaveFileTypes() { return kTypes; }

std::string SaveDialogFilter() {
  std::string filter;
  for (const SaveFileType& type : kTypes) {
    if (!filter.empty()) filter += '|';
    filter.append(type.description);
    filter += "|*.";
    filter.append(type.ext);
  }
  return filter;
}

int SaveFileTypeFor(int kind, std::string_view file_name) {
  if (kind == kKindSubRip && LowerCaseHU(RightStr(file_name, 3)) == "srt") return kSubRipSrtType;
  for (int i = 0; IsType(i); ++i) {
    if (kTypes[static_cast<std::size_t>(i)].kind == kind) return i;
  }
  return 0;
}

int KindOfSaveChoice(std::string_view path, int file_type) {
  if (IsType(file_type)) {
    const SaveFileType& type = kTypes[static_cast<std::size_t>(file_type)];
    if (LowerCaseHU(RightStr(path, 3)) == type.ext) return type.kind;
  }
  return KindOfFileName(path);
}

}  // namespace lumetra
