// The format lumetra-cli writes an OUTPUT in: the one --to names, else the one OUTPUT's
// extension names, as the editor's save does. Every command that writes a file uses it.
#pragma once

#include <optional>
#include <string>

namespace lumetra::cli {

// The names --to takes.
inline constexpr char kFormatNames[] = "subrip|srt2|sub|sami|webvtt|ass|ssa";

struct OutputFormat {
  int kind = 0;         // FileKinds; unknown when `problem` is set
  std::string problem;  // why the command line names no format: a usage error
};

OutputFormat ChooseOutputFormat(const std::optional<std::string>& to, const std::string& output);

}  // namespace lumetra::cli
