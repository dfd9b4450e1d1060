// The format lumetra-cli writes an OUTPUT in: the one --to names; else INPUT's own format
// when OUTPUT has INPUT's extension (a SubRip film.srt edited into another .srt stays
// SubRip); else the one OUTPUT's extension names. Every command that writes a file uses it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumetra::cli {

// The names --to takes, as the help shows them: "subrip|srt2|sub|sami".
std::string FormatNames();
// The extensions that name a format, as the help shows them: ".txt, .srt, .sub, .smi".
std::string FormatExtensions();

// The extension of a path's name part, after its last dot; empty when the name has no dot,
// ends with one, or only begins with one (".txt" is a hidden file's name, not an extension).
std::string_view ExtensionOf(std::string_view path);

struct OutputFormat {
  int kind = 0;               // FileKinds: the format to write, unless input_format
  bool input_format = false;  // the format INPUT is read in
  std::string problem;        // why the command line names no format: a usage error
};

OutputFormat ChooseOutputFormat(const std::optional<std::string>& to, std::string_view input,
                                std::string_view output);

}  // namespace lumetra::cli
