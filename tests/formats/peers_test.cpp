// Files of other programs, made when the test runs: ffmpeg and aeidon write WebVTT, ASS
// and SSA from a SubRip file of ours, and Lumetra reads every frame, time and text of them
// and saves them unchanged; what Lumetra writes in those formats they read back with the
// same frames. Tests skip, saying why, where a program is missing.
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "formats/format_test_support.h"
#include "formats/markup.h"
#include "test_support.h"

namespace lumetra {
namespace {

using namespace testing;

const std::string kSource = Crlf(
    "1\n00:00:01,000 --> 00:00:02,500\nHello <i>world</i>\nLeft | Right & more\n\n"
    "2\n00:00:03,250 --> 00:00:05,000\n<b>Bold</b> line\n\n"
    "3\n01:02:03,040 --> 01:02:04,000\nPlain\n");

bool Runs(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// A Python that has aeidon, or nothing.
std::string AeidonPython() {
  for (const char* python : {"/usr/bin/python3", "python3"}) {
    if (Runs(std::string(python) + " -c 'import aeidon'")) return python;
  }
  return "";
}

constexpr char kAeidonConvert[] =
    "import sys, aeidon\n"
    "project = aeidon.Project()\n"
    "project.open_main(sys.argv[1], 'utf_8')\n"
    "out = aeidon.files.new(getattr(aeidon.formats, sys.argv[3]), sys.argv[2], 'utf_8')\n"
    "project.save_main(out)\n";

class Peers : public ::testing::Test {
 protected:
  void SetUp() override {
    has_ffmpeg_ = Runs("ffmpeg -version");
    python_ = AeidonPython();
    if (!has_ffmpeg_ && python_.empty()) GTEST_SKIP() << "neither ffmpeg nor aeidon is installed";
    if (!has_ffmpeg_) std::cerr << "ffmpeg is not installed: only aeidon's files are tried\n";
    if (python_.empty()) std::cerr << "aeidon is not installed: only ffmpeg's files are tried\n";
    WriteFile(dir_.File("source.srt"), kSource);
    WriteFile(dir_.File("convert.py"), kAeidonConvert);
  }

  // Converts `from` into `to` with each program there is, as FORMAT for aeidon; returns
  // the files made.
  std::vector<std::string> Convert(const std::string& from, const std::string& to,
                                   const std::string& aeidon_format) {
    std::vector<std::string> made;
    const std::string ffmpeg_out = dir_.File("ffmpeg-" + to);
    if (has_ffmpeg_ &&
        Runs("ffmpeg -y -i '" + dir_.File(from) + "' '" + ffmpeg_out + "'")) {
      made.push_back(ffmpeg_out);
    }
    const std::string aeidon_out = dir_.File("aeidon-" + to);
    if (!python_.empty() && Runs(python_ + " '" + dir_.File("convert.py") + "' '" +
                                 dir_.File(from) + "' '" + aeidon_out + "' " + aeidon_format)) {
      made.push_back(aeidon_out);
    }
    return made;
  }

  TempDir dir_;
  bool has_ffmpeg_ = false;
  std::string python_;
};

// Frames of a file of `kind` as the source's SubRip texts; times within `precision` ms.
void ExpectSourceFrames(const Loaded& loaded, int kind, TimeValue precision,
                        const std::string& what) {
  const Frames source = Read(kSource, kKindSubRip).All();
  ASSERT_EQ(loaded.doc->FrameCount, static_cast<int>(source.size())) << what;
  for (int i = 1; i <= loaded.doc->FrameCount; ++i) {
    const Frame f = loaded.At(i);
    const Frame& want = source[static_cast<std::size_t>(i - 1)];
    EXPECT_LE(std::abs(f.start - want.start), precision) << what << " frame " << i;
    EXPECT_LE(std::abs(f.end - want.end), precision) << what << " frame " << i;
    EXPECT_EQ(ConvertMarkup(f.text, MarkupOfKind(kind), Markup::kHtml, loaded.doc->Encoding),
              want.text)
        << what << " frame " << i;
  }
}

struct Target {
  const char* ext;
  int kind;
  const char* aeidon_format;
  TimeValue precision;
};
constexpr Target kTargets[] = {{".vtt", kKindWebVtt, "WEBVTT", 0},
                               {".ass", kKindAss, "ASS", 10},
                               {".ssa", kKindSsa, "SSA", 10}};

TEST_F(Peers, TheirFilesAreReadWholeAndSavedUnchanged) {
  for (const Target& target : kTargets) {
    for (const std::string& path :
         Convert("source.srt", std::string("x") + target.ext, target.aeidon_format)) {
      const std::string bytes = ReadFile(path);
      const int kind = DetectSubtitleKind(bytes);
      EXPECT_EQ(kind == kKindSsa ? kKindAss : kind,
                target.kind == kKindSsa ? kKindAss : target.kind)
          << path;
      const auto loaded = Read(bytes, kind);
      ExpectSourceFrames(loaded, kind, target.precision, path);
      // Saved without edits: the same frames, styles and settings; written again, the
      // same bytes, which are the file's own where it had CR LF line ends.
      const std::string saved = Write(*loaded.doc, loaded.doc->FileKind);
      const auto reloaded = Read(saved, kind);
      EXPECT_EQ(reloaded.All(), loaded.All()) << path;
      for (int i = 1; i <= loaded.doc->FrameCount; ++i) {
        EXPECT_EQ(reloaded.doc->FrameExtra[i], loaded.doc->FrameExtra[i]) << path;
      }
      EXPECT_EQ(Write(*reloaded.doc, reloaded.doc->FileKind), saved) << path;
      // ASS and SSA files of both programs are in the writer's form but for their line
      // ends; WebVTT's shorter times ("00:01.000") are written in full.
      if (bytes.find("\r\n") != std::string::npos) {
        EXPECT_EQ(saved, bytes) << path;
      } else if (target.kind != kKindWebVtt) {
        EXPECT_EQ(saved, Crlf(bytes)) << path;
      }
    }
  }
}

TEST_F(Peers, WhatLumetraWritesTheyReadBack) {
  const auto source = Read(kSource, kKindSubRip);
  for (const Target& target : kTargets) {
    const std::string name = std::string("ours") + target.ext;
    WriteFile(dir_.File(name), Write(*source.doc, target.kind));
    for (const std::string& path : Convert(name, std::string("back-") + name + ".srt", "SUBRIP")) {
      ExpectSourceFrames(Read(ReadFile(path), kKindSubRip), kKindSubRip, target.precision, path);
    }
  }
}

}  // namespace
}  // namespace lumetra
