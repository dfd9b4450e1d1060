#include "cli/output_format.h"

#include <string_view>

#include "document/document.h"
#include "formats/subtitle_io.h"
#include "foundation/textkit.h"

namespace lumetra::cli {

namespace {

struct NamedFormat {
  std::string_view name;
  int kind;
};

constexpr NamedFormat kNamedFormats[] = {
    {"subrip", kKindSubRip},
    {"srt2", kKindSrt2},
    {"sub", kKindSub},
    {"sami", kKindSami},
    {"webvtt", kKindWebVtt},
    {"ass", kKindAss},
    {"ssa", kKindSsa},
};

}  // namespace

OutputFormat ChooseOutputFormat(const std::optional<std::string>& to, const std::string& output) {
  if (to) {
    const std::string name = LowerCaseHU(*to);
    for (const NamedFormat& format : kNamedFormats) {
      if (format.name == name) return {format.kind, ""};
    }
    return {kKindUnknown, "--to " + *to + " is not a format; use " + kFormatNames};
  }
  const int kind = KindOfFileName(output);
  if (kind != kKindUnknown) return {kind, ""};
  return {kKindUnknown, "the extension of " + output +
                            " names no format (.txt, .srt, .sub, .smi, .vtt, .ass, .ssa); choose one with --to " +
                            kFormatNames};
}

}  // namespace lumetra::cli
