#include "cli/output_format.h"

#include "document/document.h"
#include "formats/subtitle_io.h"
#include "foundation/textkit.h"

namespace lumetra::cli {

namespace {

// The formats --to names. A new format is one more row; its extension comes from the
// format table of the readers and writers.
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

std::string FormatNames() {
  std::string names;
  for (const NamedFormat& format : kNamedFormats) {
    if (!names.empty()) names += '|';
    names += format.name;
  }
  return names;
}

std::string FormatExtensions() {
  std::string extensions;
  for (const NamedFormat& format : kNamedFormats) {
    const std::string ext = "." + SaveExtOfKind(format.kind);
    if (extensions.find(ext + ",") != std::string::npos || extensions.ends_with(ext)) continue;
    if (!extensions.empty()) extensions += ", ";
    extensions += ext;
  }
  return extensions;
}

std::string_view ExtensionOf(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {};
  return name.substr(dot + 1);
}

OutputFormat ChooseOutputFormat(const std::optional<std::string>& to, std::string_view input,
                                std::string_view output) {
  if (to) {
    const std::string name = LowerCaseHU(*to);
    for (const NamedFormat& format : kNamedFormats) {
      if (format.name == name) return {.kind = format.kind, .problem = {}};
    }
    return {.problem = "--to " + *to + " is not a format; use " + FormatNames()};
  }
  const std::string ext = LowerCaseHU(ExtensionOf(output));
  if (ext.empty()) {
    return {.problem = "OUTPUT " + std::string(output) + " has no extension; give it one of " +
                       FormatExtensions() + ", or choose a format with --to " + FormatNames()};
  }
  if (ext == LowerCaseHU(ExtensionOf(input))) return {.input_format = true, .problem = {}};
  const int kind = KindOfSaveExt(ext);
  if (kind != kKindUnknown) return {.kind = kind, .problem = {}};
  return {.problem = "the extension of " + std::string(output) + " names no format (" +
                     FormatExtensions() + "); choose one with --to " + FormatNames()};
}

}  // namespace lumetra::cli
