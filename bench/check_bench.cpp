// The text checks on the 9999 frames of the bench document: the spell check with the
// installed English and Hungarian dictionaries (a fresh checker each run, so every word is
// looked up again; the target is under 1 s for all frames), the quality checks, and Find
// and replace with a regular expression. Prints the median of several runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench_document.h"
#include "editing/find_replace.h"
#include "editing/quality_checks.h"
#include "editing/spelling.h"
#include "spelling/hunspell_dictionary.h"

namespace {

using namespace lumetra;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 5;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Time(const std::function<void()>& work) {
  std::vector<double> runs;
  for (int i = 0; i < kRuns; ++i) {
    const Clock::time_point start = Clock::now();
    work();
    runs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  return Median(runs);
}

void Report(const char* name, double ms, double target_ms, const std::string& what) {
  std::printf("%-40s %9.1f ms  %s%s\n", name, ms,
              target_ms > 0 ? (ms < target_ms ? "(under " : "(OVER ") : "",
              target_ms > 0 ? (std::to_string(static_cast<int>(target_ms)) + " ms) " + what).c_str()
                            : what.c_str());
}

}  // namespace

int main() {
#ifndef __OPTIMIZE__
  std::printf("Note: built without optimisation; these figures say little.\n");
#endif
  static Document doc;
  FillBenchDocument(doc);
  doc.Encoding = CodePage::kWindows1250;
  const std::vector<int> all = AllFrames(doc.FrameCount);

  for (const DictionaryFiles& files : FindDictionaries({"/usr/share/hunspell"})) {
    if (files.language != "en_US" && files.language != "hu_HU") continue;
    const Clock::time_point load = Clock::now();
    const auto dictionary = OpenHunspellDictionary(files);
    if (!dictionary) continue;
    SpellChecker(dictionary, files.language).Knows("a");  // the dictionary is read lazily
    Report(("load " + files.language).c_str(),
           std::chrono::duration<double, std::milli>(Clock::now() - load).count(), 0, "");
    std::size_t unknown = 0;
    const double ms = Time([&] {
      SpellChecker checker(dictionary, files.language);
      unknown = 0;
      for (int frame : all)
        unknown += checker.UnknownWords(doc.FrameText[frame], doc.Encoding).size();
    });
    Report(("spell check all frames, " + files.language).c_str(), ms, 1000,
           std::to_string(unknown) + " unknown words");
  }

  std::size_t findings = 0;
  const double checks = Time([&] { findings = CheckDocument(doc, CheckLimits{}).size(); });
  Report("quality checks, all frames", checks, 0, std::to_string(findings) + " findings");

  int hits = 0;
  const TextPattern plain = MakeFindPattern("weather", {});
  const double plain_count = Time([&] { hits = CountHits(doc, all, plain).hits; });
  Report("count plain hits, all frames", plain_count, 0, std::to_string(hits) + " hits");
  const TextPattern pattern = MakeFindPattern("(\\w+) (yes|all)\\b", {false, false, true});
  const double count = Time([&] { hits = CountHits(doc, all, pattern).hits; });
  Report("count regex hits, all frames", count, 0, std::to_string(hits) + " hits");
  const double plan = Time([&] { PlanReplaceAll(doc, all, pattern, "\\2 \\1"); });
  Report("replace all (worked out), all frames", plan, 0, "");
  return 0;
}
