// lumetra-cli's command line: a command, its paths, options and the steps of `edit`, all
// checked before any file is touched.
//
// To add an option: add a field to Arguments and a row to the option table in
// arguments.cpp (its name, what its value is called, the commands that take it, and where
// it goes); check its value in ParseArguments where it needs more than being given once.
// Steps of `edit` are added to the step tables of edit_steps.cpp instead.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/edit_steps.h"
#include "cli/output_format.h"
#include "editing/quality_checks.h"
#include "foundation/code_pages.h"

namespace lumetra::cli {

struct Arguments {
  std::string command;
  std::vector<std::string> paths;
  // Options as given (each at most once, or again with the same value).
  std::optional<std::string> fps;
  std::optional<std::string> to;
  bool tsv = false;
  std::optional<std::string> encoding_name;
  bool to_utf8 = false;
  std::optional<std::string> frames;
  // check: the dictionary and the limits.
  std::optional<std::string> spell;
  std::optional<std::string> min_gap;
  std::optional<std::string> min_length;
  std::optional<std::string> max_length;
  std::optional<std::string> max_cps;
  std::optional<std::string> max_line;
  std::optional<std::string> max_lines;
  // Made of the options above.
  std::optional<CodePage> encoding;
  std::optional<std::vector<FrameRange>> frame_ranges;
  OutputFormat output;  // convert and edit
  CheckLimits limits;   // check
  // edit: the steps in their order.
  std::vector<EditStep> steps;
};

// Parses the arguments after the program's name; returns the usage error, or nothing when
// the command line is well formed.
std::optional<std::string> ParseArguments(std::span<const std::string> argv, Arguments& args);

}  // namespace lumetra::cli
