#include "formats/line_io.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumetra {
namespace {

std::vector<std::string> AllLines(std::string_view data) {
  LineReader in(data);
  std::vector<std::string> lines;
  while (!in.AtEnd()) lines.emplace_back(in.ReadLine());
  return lines;
}

TEST(LineReader, LinesEndAtCrLfOrCrLf) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(AllLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(AllLines("a\n\nb\r\n"), (Lines{"a", "", "b"}));
  // LF CR is two line ends; CR CR LF is an empty line after the first.
  EXPECT_EQ(AllLines("a\n\rb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(AllLines("a\r\r\n"), (Lines{"a", ""}));
  EXPECT_EQ(AllLines(""), Lines{});
  EXPECT_EQ(AllLines("\n"), Lines{""});
}

TEST(LineReader, ReadingPastTheEndGivesEmptyLines) {
  LineReader in("x\r\n");
  EXPECT_EQ(in.ReadLine(), "x");
  EXPECT_TRUE(in.AtEnd());
  EXPECT_EQ(in.ReadLine(), "");
  EXPECT_EQ(in.ReadLine(), "");
  EXPECT_TRUE(in.AtEnd());
}

}  // namespace
}  // namespace lumetra
