#include "session/session.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <tuple>

#include "document/utf8_conversion.h"
#include "editing/frame_commands.h"
#include "formats/subtitle_io.h"
#include "session/scripted_prompts.h"
#include "session/unsaved_changes.h"
#include "test_support.h"

namespace lumetra {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

constexpr char kSubRip[] =
    "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nA\r\nB\r\n";

class SessionTest : public ::testing::Test {
 protected:
  // Opens a file through the open dialog.
  void OpenThroughDialog(const std::string& path) {
    prompts.open_paths.push_back(path);
    session.Open();
  }

  // A document with one frame and unsaved changes.
  void MakeModified() {
    OpenThroughDialog(Write("movie.txt", kSubRip));
    doc.SetText(1, "changed");
    doc.Modified = kUnsaved;
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    WriteFile(dir.File(name), bytes);
    return dir.File(name);
  }

  TempDir dir;
  ScriptedPrompts prompts;
  Session session{prompts};
  Document& doc = session.document();
};

TEST_F(SessionTest, OpeningAFileSetsItsIdentityAndHistory) {
  const std::string path = Write("movie.txt", kSubRip);
  OpenThroughDialog(path);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(doc.FrameText[2], "A|B");
  EXPECT_EQ(doc.FileBoxText, "movie.txt    (Normal SRT)");
  EXPECT_EQ(doc.Modified, kClean);
  EXPECT_EQ(session.history().Entry(1), path);
  EXPECT_EQ(session.save_dialog().initial_dir, doc.FileDir);
  EXPECT_EQ(session.save_dialog().file_name, "movie");
  EXPECT_EQ(session.open_dialog().initial_dir, doc.FileDir);
}

TEST_F(SessionTest, FilesThatAreNotReadChangeNothing) {
  OpenThroughDialog(Write("movie.txt", kSubRip));
  const std::string missing = dir.File("gone.srt");
  OpenThroughDialog(missing);
  EXPECT_EQ(prompts.messages,
            std::vector<std::string>{"There is no recognized subtitle with this filename:\r\r" +
                                     missing});
  EXPECT_EQ(session.last_os_error(), ENOENT);
  std::filesystem::create_directory(dir.File("folder.srt"));
  OpenThroughDialog(dir.File("folder.srt"));
  EXPECT_EQ(session.last_os_error(), EISDIR);
  OpenThroughDialog("/dev/zero");
  EXPECT_EQ(prompts.messages.size(), 3u);
  // Files that hold no subtitle of a known kind are named in a message.
  const std::string other = Write("other.srt", "WEBVTTX\r\n\r\n00:01.000 --> 00:02.000\r\nX\r\n");
  const std::string empty = Write("empty.srt", "\xEF\xBB\xBF\r\n  \r\n");
  for (const std::string& path : {other, empty}) OpenThroughDialog(path);
  EXPECT_EQ(prompts.messages[3], "This file is not a subtitle Lumetra can read:\r\r" + other);
  EXPECT_EQ(prompts.messages[4], "This file is empty:\r\r" + empty);
  EXPECT_EQ(doc.FrameCount, 2);
  EXPECT_EQ(doc.FileName, "movie.txt");
  EXPECT_EQ(doc.FileKind, kKindSubRip);
}

TEST_F(SessionTest, SubFilesThatStateTheirRateHaveItProposedAndWrittenBack) {
  struct Case {
    const char* file;
    int proposed_tag;
    const char* proposed_text;
  };
  const Case cases[] = {{"{1}{1}12.500\r\n{40}{80}Hi\r\n", SubFrameRateModel::kCustomTag, "12.500"},
                        {"{1}{1}23.976\r\n{40}{80}Hi\r\n", 7, "23.976"},
                        {"{0}{0}29.97\r\n{40}{80}Hi\r\n", 12, "29.970"}};
  for (const Case& c : cases) {
    const std::string path = Write("rate.sub", c.file);
    std::string shown;
    prompts.sub_rate_actions.push_back([&](SubFrameRateModel& m) {
      shown = std::to_string(m.chosen_tag()) + " " + m.SubFpsText();
      m.PressOk();
    });
    OpenThroughDialog(path);
    EXPECT_EQ(shown, std::to_string(c.proposed_tag) + " " + c.proposed_text);
    EXPECT_EQ(doc.FrameCount, 1);
    EXPECT_EQ(doc.FrameText[1], "Hi");
  }
  // Saved at the rate the user chose instead.
  prompts.sub_rate_actions.push_back([](SubFrameRateModel& m) { m.ConfirmCustomRate("25"); });
  session.QuickSave();
  EXPECT_EQ(ReadFile(dir.File("rate.sub")), "{0}{0}25\r\n{33}{66}Hi\r\n");
  // Saved at the proposed rate: the file comes back as it was.
  const std::string file = cases[0].file;
  OpenThroughDialog(Write("kept.sub", file));
  session.QuickSave();
  EXPECT_EQ(ReadFile(dir.File("kept.sub")), file);
}

TEST_F(SessionTest, SamiWithSeveralLanguagesSaysWhichWereLeftOut) {
  OpenThroughDialog(Write("two.smi",
                          "<SAMI><BODY>\r\n<SYNC Start=1><P Class=KRCC>ko\r\n"
                          "<SYNC Start=1><P Class=ENCC>en\r\n<SYNC Start=1><P Class=JPCC>ja\r\n"));
  EXPECT_EQ(prompts.messages,
            std::vector<std::string>{"The subtitle holds text in more than one language.\rOnly "
                                     "\"KRCC\" was loaded; left out: ENCC, JPCC."});
  EXPECT_EQ(doc.FrameCount, 1);
}

TEST_F(SessionTest, SubFilesAskForTheirFrameRateAndCancellingReadsNothing) {
  const std::string path = Write("movie.sub", "{25}{50}Hi\r\n{100}{803}There\r\n");
  prompts.sub_rate_actions.push_back([](SubFrameRateModel& m) { m.ConfirmCustomRate("23.976"); });
  OpenThroughDialog(path);
  EXPECT_EQ(doc.FileBoxText, "movie.sub    (SUB 23.976 fps)");
  EXPECT_EQ(doc.FrameStart[1], 1042);

  OpenThroughDialog(Write("movie.txt", kSubRip));
  prompts.sub_rate_actions.push_back([](SubFrameRateModel& m) { m.PressCancel(); });
  OpenThroughDialog(path);
  EXPECT_EQ(prompts.sub_rate_dialogs_shown, 2);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(doc.FrameText[1], "Hello");
  // The document keeps its name and format: a quick save still writes SubRip.
  EXPECT_EQ(doc.FileBoxText, "movie.txt    (Normal SRT)");
  EXPECT_EQ(doc.FileKind, kKindSubRip);
}

TEST_F(SessionTest, NewFollowsTheAnswerToItsPrompt) {
  MakeModified();
  prompts.answers.push_back(Answer::kCancel);
  session.New();
  EXPECT_EQ(prompts.questions, std::vector<std::string>{kAskSaveBeforeNew});
  EXPECT_EQ(doc.FrameText[1], "changed");
  EXPECT_EQ(doc.Modified, kPromptCancelled);

  prompts.answers.push_back(Answer::kYes);
  prompts.save_paths.push_back(dir.File("saved.txt"));
  session.New();
  EXPECT_EQ(ReadFile(dir.File("saved.txt")),
            "1\r\n00:00:01,000 --> 00:00:02,500\r\nchanged\r\n\r\n"
            "2\r\n00:00:03,000 --> 00:00:04,000\r\nA\r\nB\r\n");
  EXPECT_EQ(doc.FrameCount, 0);
  EXPECT_EQ(doc.FileName, "");
  EXPECT_EQ(doc.FileBoxText, "");
  EXPECT_EQ(doc.FileDir, dir.path().string() + "/");  // kept

  MakeModified();
  prompts.answers.push_back(Answer::kNo);
  session.New();
  EXPECT_EQ(doc.FrameCount, 0);
  EXPECT_EQ(ReadFile(dir.File("movie.txt")), kSubRip);
}

TEST_F(SessionTest, APromptWhoseSaveFailsStopsTheCommand) {
  MakeModified();
  prompts.answers.push_back(Answer::kYes);
  const std::string bad = dir.File("missing-dir/saved.txt");
  prompts.save_paths.push_back(bad);
  session.New();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0], std::string(kCreateError) + bad + "\rNo such file or directory");
  EXPECT_EQ(doc.FrameCount, 2);
  EXPECT_EQ(doc.Modified, kUnsaved);
  // The window may not close either.
  prompts.answers.push_back(Answer::kYes);
  prompts.save_paths.push_back(bad);
  EXPECT_FALSE(session.CloseQuery());
}

// Quick save writes the document's own format whatever the name says; Save As preselects
// that format and writes the type chosen, where the name's extension is the type's.
TEST_F(SessionTest, TheFormatBelongsToTheDocument) {
  struct Case {
    const char* name;
    int preselected;            // the save dialog's type (SaveFileTypes)
    std::optional<int> chosen;  // the type the user picks, if another
    const char* save_as;
    const char* label;  // of the format written
  };
  const Case cases[] = {
      {"subrip.srt", 4, std::nullopt, "copy.srt", "(Normal SRT)"},
      {"subrip.srt", 4, 0, "copy.srt", "(SRT2 with Info)"},
      {"subrip.txt", 3, std::nullopt, "copy.SRT", "(SRT2 with Info)"},
      {"subrip.sub", 3, 2, "copy.smi", "(SMI-html)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(c.name, kSubRip);
    OpenThroughDialog(path);
    session.QuickSave();
    EXPECT_EQ(ReadFile(path), kSubRip);
    prompts.save_paths.push_back(dir.File(c.save_as));
    if (c.chosen) prompts.save_types.push_back(*c.chosen);
    session.SaveAs();
    EXPECT_EQ(prompts.save_dialogs_shown.back().file_type, c.preselected);
    // The format written is the document's from now on.
    EXPECT_EQ(doc.FileBoxText, std::string(c.save_as) + "    " + c.label);
    EXPECT_EQ(doc.FileKind, DetectSubtitleKind(ReadFile(dir.File(c.save_as))));
    EXPECT_EQ(doc.SaveExt, "txt");  // the format of the file last read
    EXPECT_EQ(session.save_dialog().file_name, "copy");
    EXPECT_EQ(session.history().Entry(1), dir.File(c.save_as));
  }
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(SessionTest, SavesNeedFramesANameAndAKnownExtension) {
  session.QuickSave();
  session.SaveAs();
  EXPECT_EQ(prompts.messages, (std::vector<std::string>{kNothingToSave, kNothingToSave}));
  // A name without extension gets the one of the format read.
  OpenThroughDialog(Write("movie", kSubRip));
  doc.SetText(2, "B");
  doc.Modified = kUnsaved;
  session.QuickSave();
  EXPECT_TRUE(prompts.save_dialogs_shown.empty());
  EXPECT_EQ(ReadFile(dir.File("movie.txt")),
            "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\n\r\n"
            "2\r\n00:00:03,000 --> 00:00:04,000\r\nB\r\n");
  EXPECT_EQ(doc.Modified, kClean);
  EXPECT_EQ(doc.FileName, "movie.txt");
  session.New();
  doc.InsertFrame(1, 0, 60000, "");
  session.QuickSave();
  EXPECT_EQ(prompts.messages.back(), kNoFileName);

  MakeModified();
  prompts.save_paths.push_back(dir.File("movie.srt2"));
  session.SaveAs();
  EXPECT_EQ(prompts.messages.back(), "Unknown extension: rt2");
  EXPECT_FALSE(std::filesystem::exists(dir.File("movie.srt2")));
  EXPECT_EQ(doc.Modified, kUnsaved);
}

TEST_F(SessionTest, SubSaveAfterARefusedRateWritesAt25) {
  OpenThroughDialog(Write("movie.txt", kSubRip));
  prompts.sub_rate_actions.push_back([](SubFrameRateModel& m) {
    m.ClickRadio(SubFrameRateModel::kCustomTag);
    m.SetCustomText("0");
    EXPECT_FALSE(m.PressOk());
    m.PressCancel();
  });
  prompts.save_paths.push_back(dir.File("movie.sub"));
  session.SaveAs();
  EXPECT_EQ(ReadFile(dir.File("movie.sub")), "{1}{1}25\r\n{25}{62}Hello\r\n{75}{100}A|B\r\n");
  EXPECT_EQ(doc.FormatLabel, "(SUB 0 fps)");
  EXPECT_EQ(doc.SubFps, 25.0);
}

// A document that becomes SUB states its rate first, for other programs, and keeps that
// line; a SUB file read without one is saved without one; the setting turns it off.
TEST_F(SessionTest, SubSavesStateTheirRateUnlessTheFileHadNone) {
  const std::string without = "{25}{62}Hello\r\n{75}{100}A|B\r\n";
  OpenThroughDialog(Write("plain.sub", without));
  session.QuickSave();
  EXPECT_EQ(ReadFile(dir.File("plain.sub")), without);
  for (const bool setting : {true, false}) {
    session.settings().WriteSubFrameRate = setting;
    OpenThroughDialog(Write("movie.txt", kSubRip));
    prompts.save_paths.push_back(dir.File("movie.sub"));
    session.SaveAs();
    doc.SetText(1, "Hi");
    session.QuickSave();
    EXPECT_EQ(ReadFile(dir.File("movie.sub")),
              (setting ? "{1}{1}25\r\n" : "") + std::string("{25}{62}Hi\r\n{75}{100}A|B\r\n"));
  }
}

// WebVTT, ASS and SSA are types of the save dialog; a quick save keeps each one's form.
TEST_F(SessionTest, WebVttAndAssFilesAreSavedInTheirOwnFormat) {
  const std::string vtt = "WEBVTT\r\n\r\nx\r\n00:00:01.000 --> 00:00:02.500 line:0\r\nHello\r\n";
  OpenThroughDialog(Write("movie.vtt", vtt));
  EXPECT_EQ(doc.FileBoxText, "movie.vtt    (WebVTT)");
  session.QuickSave();
  EXPECT_EQ(ReadFile(dir.File("movie.vtt")), vtt);
  for (const auto& [type, name, label] :
       {std::tuple{6, "copy.ass", "(ASS)"}, std::tuple{7, "copy.ssa", "(SSA)"}}) {
    prompts.save_paths.push_back(dir.File(name));
    prompts.save_types.push_back(type);
    session.SaveAs();
    EXPECT_EQ(doc.FileBoxText, std::string(name) + "    " + label);
    OpenThroughDialog(dir.File(name));
    EXPECT_EQ(doc.FrameText[1], "Hello");
  }
  // Save As preselects the format of the document: WebVTT, then the ASS file's, then SSA.
  session.SaveAs();
  std::vector<int> preselected;
  for (const auto& shown : prompts.save_dialogs_shown) preselected.push_back(shown.file_type);
  EXPECT_EQ(preselected, (std::vector<int>{5, 6, 7}));
}

// With a byte-order mark, or in UTF-16 either way round; New forgets both.
TEST_F(SessionTest, OpeningAndSavingWithoutEditsKeepsTheBytes) {
  for (const std::string& file :
       {"\xEF\xBB\xBF" + std::string(kSubRip), Utf8ToUtf16(kSubRip, TextForm::kUtf16Le),
        Utf8ToUtf16(kSubRip, TextForm::kUtf16Be)}) {
    OpenThroughDialog(Write("marked.txt", file));
    EXPECT_EQ(doc.FrameText[2], "A|B");
    session.QuickSave();
    EXPECT_EQ(ReadFile(dir.File("marked.txt")), file);
    session.New();
    EXPECT_FALSE(doc.HasByteOrderMark);
    EXPECT_EQ(doc.FileTextForm, TextForm::kBytes);
  }
}

TEST_F(SessionTest, ACodePageChosenForAFileIsRememberedInItsHistoryEntry) {
  // "Привет" in Windows-1251, guessed as something else from so few letters or not.
  const std::string a = Write("a.txt", "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xCF\xF0\xE8\r\n");
  const std::string b = Write("b.txt", kSubRip);
  OpenThroughDialog(a);
  session.ChooseCodePage(CodePage::kWindows1253);
  EXPECT_EQ(session.history().Attribute(1, kCodePageAttribute), "Windows-1253");
  OpenThroughDialog(b);
  EXPECT_EQ(doc.Encoding, CodePage::kWindows1250);
  // Through the configuration file, as at the next start.
  Session next(prompts);
  Configuration config;
  ReadConfigText(ConfigFileText(config, session.history()), config, next.history());
  prompts.open_paths.push_back(a);
  next.Open();
  EXPECT_EQ(next.document().Encoding, CodePage::kWindows1253);
  // Saved under another name, the document takes its page along; the bytes stay.
  prompts.save_paths.push_back(dir.File("c.txt"));
  next.SaveAs();
  EXPECT_EQ(ReadFile(dir.File("c.txt")), ReadFile(a));
  EXPECT_EQ(next.history().Attribute(1, kCodePageAttribute), "Windows-1253");
  EXPECT_EQ(next.history().Entry(1), dir.File("c.txt"));
}

TEST_F(SessionTest, HistoryEntriesOpenAfterThePrompt) {
  const std::string first = Write("first.txt", kSubRip);
  const std::string second = Write("second.txt", "1\r\n00:00:05,000 --> 00:00:06,000\r\nX\r\n");
  OpenThroughDialog(first);
  OpenThroughDialog(second);
  const std::vector<HistoryMenuItem> menu = session.HistoryMenu();
  ASSERT_EQ(menu.size(), 2u);
  EXPECT_EQ(menu[0].caption, "1. " + second);
  EXPECT_EQ(menu[1].caption, "2. " + first);

  doc.Modified = kUnsaved;
  prompts.answers.push_back(Answer::kCancel);
  session.OpenHistoryEntry(menu[1].index);
  EXPECT_EQ(doc.FileName, "second.txt");

  prompts.answers.push_back(Answer::kNo);
  session.OpenHistoryEntry(menu[1].index);
  EXPECT_EQ(doc.FileName, "first.txt");
  EXPECT_EQ(doc.FrameCount, 2);
  EXPECT_EQ(session.open_dialog().initial_dir, dir.path().string() + "/");
  EXPECT_EQ(session.history().Entry(1), first);
}

TEST_F(SessionTest, TooManyFramesAreReportedNotLost) {
  std::string frames;
  for (int i = 1; i <= 10005; ++i) {
    frames += std::to_string(i) + "\r\n00:00:01,000 --> 00:00:02,000\r\nframe " +
              std::to_string(i) + "\r\n\r\n";
    if (i == 10000) OpenThroughDialog(Write("one.txt", frames));
  }
  EXPECT_EQ(session.frames_left_out(), 1);
  OpenThroughDialog(Write("six.txt", frames));
  EXPECT_EQ(doc.FrameCount, MaxReadFrames);
  EXPECT_EQ(session.frames_left_out(), 6);
  const std::string limit =
      "The subtitle has more frames than Lumetra can hold.\rOnly the first 9999 frames were "
      "loaded; ";
  EXPECT_EQ(prompts.messages, (std::vector<std::string>{limit + "1 frame was left out.",
                                                        limit + "6 were left out."}));
}

// Quick save used to rewrite a file read with frames left out, losing them without a word.
TEST_F(SessionTest, AFileReadWithFramesLeftOutIsOverwrittenOnlyWhenTheUserAgrees) {
  std::string frames;
  for (int i = 1; i <= 10001; ++i) {
    frames += std::to_string(i) + "\r\n00:00:01,000 --> 00:00:02,000\r\nx\r\n\r\n";
  }
  const std::string big = Write("big.txt", frames);
  std::filesystem::create_symlink(big, dir.File("link.txt"));
  OpenThroughDialog(big);
  prompts.messages.clear();
  const std::string question = std::string(kOverwriteLosesFramesStart) + "2 frames" +
                               kOverwriteLosesFramesEnd + big + kOverwriteLosesFramesQuestion;
  doc.Modified = kUnsaved;
  for (const Answer answer : {Answer::kNo, Answer::kCancel}) {
    prompts.answers = {answer};
    session.QuickSave();
    EXPECT_EQ(prompts.questions.back(), question);
    EXPECT_EQ(ReadFile(big), frames);
    EXPECT_EQ(doc.Modified, kUnsaved);
  }
  // Another name is fine, a link to the file is the file.
  prompts.questions.clear();
  EXPECT_TRUE(session.SaveTo(dir.File("other.txt"), kKindSubRip));
  EXPECT_TRUE(prompts.questions.empty());
  prompts.save_paths = {dir.File("link.txt")};
  session.SaveAs();
  EXPECT_EQ(prompts.questions, std::vector<std::string>{question});
  EXPECT_EQ(ReadFile(big), frames);
  // Agreed to once, the file holds the document: no more questions.
  prompts.answers = {Answer::kYes};
  EXPECT_TRUE(session.SaveTo(big, kKindSubRip));
  EXPECT_EQ(ReadFile(big), ReadFile(dir.File("other.txt")));
  EXPECT_TRUE(session.SaveTo(big, kKindSubRip));
  EXPECT_EQ(prompts.questions.size(), 2u);
  EXPECT_TRUE(prompts.messages.empty());
}

// Typing "Привет" into a Windows-1250 subtitle used to save six "?" without a word.
TEST_F(SessionTest, TypedCharactersTheFilesCodePageCannotHoldAreSavedOnlyInUtf8WhenAsked) {
  const std::string path = Write(
      "movie.txt",
      "1\r\n00:00:01,000 --> 00:00:02,000\r\nJ\xF3 napot\r\n\r\n"
      "2\r\n00:00:03,000 --> 00:00:04,000\r\nSzia\r\n");
  const std::string original = ReadFile(path);
  OpenThroughDialog(path);
  ASSERT_EQ(doc.Encoding, CodePage::kWindows1250);
  // Typed as the editor stores it: the texts move to UTF-8 first, in the same step.
  auto type = [&](int frame, const std::string& utf8) {
    session.runner().Run("Text", Selection{{frame}, frame, 1}, [&](Document& d) {
      MoveTextsToUtf8(d);
      d.Modified = kUnsaved;
      d.SetText(frame, utf8);
      return CommandResult{Selection{{frame}, frame, 1}, false, {}};
    });
  };
  const std::string privet = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";
  type(2, privet);
  EXPECT_EQ(doc.Encoding, CodePage::kUtf8);
  EXPECT_EQ(doc.FileEncoding, CodePage::kWindows1250);
  EXPECT_EQ(doc.FrameText[1], "J\xC3\xB3 napot");
  auto question = [](const std::string& frames) {
    return std::string(kNotHeldStart) + "Windows-1250" + kNotHeldMiddle + frames + kNotHeldEnd +
           "\r[" + kSaveInUtf8 + "]";
  };
  session.QuickSave();  // cancelled
  EXPECT_EQ(prompts.questions, std::vector<std::string>{question("2")});
  EXPECT_EQ(ReadFile(path), original);
  EXPECT_EQ(doc.Modified, kUnsaved);

  // Undone, the texts are back in their page as they were.
  session.runner().Undo();
  EXPECT_EQ(doc.Encoding, CodePage::kWindows1250);
  EXPECT_EQ(doc.FileEncoding, std::nullopt);
  EXPECT_EQ(doc.FrameText[1], "J\xF3 napot");
  session.runner().Redo();
  EXPECT_EQ(doc.FrameText[2], privet);

  // What the page holds is written in it, without a question, and the texts stay in UTF-8.
  type(2, "Szia \xC5\x91");  // "ő", which Windows-1250 holds
  session.QuickSave();
  EXPECT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(ReadFile(path), original.substr(0, original.size() - 2) + " \xF5\r\n");
  EXPECT_EQ(doc.FrameText[1], "J\xC3\xB3 napot");

  // Asked, the whole subtitle is saved in UTF-8, which it is from then on.
  type(1, privet);
  prompts.confirmations = {true};
  session.QuickSave();
  EXPECT_EQ(prompts.questions.back(), question("1"));
  EXPECT_EQ(ReadFile(path), "1\r\n00:00:01,000 --> 00:00:02,000\r\n" + privet +
                                "\r\n\r\n2\r\n00:00:03,000 --> 00:00:04,000\r\nSzia \xC5\x91\r\n");
  EXPECT_EQ(doc.FileEncoding, std::nullopt);
  EXPECT_EQ(doc.Modified, kClean);
}

// Saved as WebVTT, ASS or SSA, a time before 0 used to become 0 without a word.
TEST_F(SessionTest, TimesBeforeZeroBecomeZeroInWebVttAssAndSsaOnlyWhenTheUserSaysSo) {
  OpenThroughDialog(Write("neg.txt",
                          "1\r\n-00:00:00,001 --> 00:00:01,000\r\nA\r\n\r\n"
                          "2\r\n00:00:00,000 --> 00:00:02,000\r\nB\r\n\r\n"
                          "3\r\n-00:00:03,000 --> -00:00:02,000\r\nC\r\n"));
  const std::string vtt = dir.File("neg.vtt");
  const std::string question =
      "Frames 1 and 3 start before 0:00:00.000. WebVTT cannot hold times before 0: they will "
      "be saved as 0.\r[Save]";
  // Cancel leaves the file unwritten and the document as it was.
  prompts.save_paths = {vtt};
  session.SaveAs();
  EXPECT_EQ(prompts.questions, std::vector<std::string>{question});
  EXPECT_FALSE(std::filesystem::exists(vtt));
  EXPECT_EQ(doc.FileName, "neg.txt");
  EXPECT_EQ(doc.FileKind, kKindSubRip);

  // Save writes them as 0; the document keeps its times.
  prompts.save_paths = {vtt};
  prompts.confirmations = {true};
  session.SaveAs();
  EXPECT_EQ(ReadFile(vtt),
            "WEBVTT\r\n\r\n00:00:00.000 --> 00:00:01.000\r\nA\r\n\r\n"
            "00:00:00.000 --> 00:00:02.000\r\nB\r\n\r\n00:00:00.000 --> 00:00:00.000\r\nC\r\n");
  EXPECT_EQ(doc.FileKind, kKindWebVtt);
  EXPECT_EQ(doc.FrameStart[1], -1);
  EXPECT_EQ(doc.Modified, kClean);

  // Quick save asks again; a frame whose end alone is before 0 counts too.
  doc.SetTimes(1, 0, 1000);
  doc.SetTimes(3, 0, -5);
  WriteFile(vtt, "kept");
  session.QuickSave();
  EXPECT_EQ(prompts.questions.back(),
            "Frame 3 starts or ends before 0:00:00.000. WebVTT cannot hold times before 0: they "
            "will be saved as 0.\r[Save]");
  EXPECT_EQ(ReadFile(vtt), "kept");
  // ASS and SSA are named as themselves; SubRip holds the times and asks nothing.
  prompts.save_paths = {dir.File("neg.ssa")};
  session.SaveAs();
  EXPECT_EQ(prompts.questions.back(),
            "Frame 3 starts or ends before 0:00:00.000. SSA cannot hold times before 0: they will "
            "be saved as 0.\r[Save]");
  EXPECT_EQ(prompts.questions.size(), 4u);
  EXPECT_TRUE(session.SaveTo(dir.File("back.txt"), kKindSubRip));
  EXPECT_EQ(prompts.questions.size(), 4u);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(SessionTest, TheQuestionNamesTwentyFramesAndCountsTheRest) {
  std::string file;
  for (int i = 1; i <= 21; ++i) {
    file += std::to_string(i) + "\r\n00:00:01,000 --> 00:00:02,000\r\nx\r\n\r\n";
  }
  OpenThroughDialog(Write("many.txt", file));
  MoveTextsToUtf8(doc);
  for (int i = 1; i <= 21; ++i) doc.SetText(i, "\xE2\x82\xAC\xE2\x98\x83");  // a snowman
  doc.InfoTitle = "\xE2\x98\x83";
  session.QuickSave();
  ASSERT_EQ(prompts.questions.size(), 1u);
  EXPECT_NE(prompts.questions[0].find(": 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, "
                                      "17, 18, 19, 20 and 1 more; the information header.\r"),
            std::string::npos)
      << prompts.questions[0];
}

// The sections, style fields and comments of an ASS file in a single-byte page are
// written in that page again, with the texts, after typing moved them to UTF-8; a WebVTT
// copy is UTF-8 throughout, without a question.
TEST_F(SessionTest, AnAssFileInItsCodePageKeepsItsHeaderAndStylesInItAfterTypedText) {
  const std::string head =
      "[Script Info]\r\nTitle: T\xEDtulo\r\nScriptType: v4.00+\r\n\r\n[Events]\r\n"
      "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\r\n"
      "Comment: 0,0:00:00.00,0:00:00.00,Default,,0,0,0,,Pozn\xE1mka\r\n";
  const std::string path =
      Write("film.ass", head + "Dialogue: 0,0:00:01.00,0:00:02.00,Default,M\xE1ria,0,0,0,,Szia\r\n");
  OpenThroughDialog(path);
  ASSERT_EQ(doc.Encoding, CodePage::kWindows1250);
  session.runner().Run("Text", Selection{{1}, 1, 1}, [&](Document& d) {
    MoveTextsToUtf8(d);
    d.Modified = kUnsaved;
    d.SetText(1, "Szia \xC5\x91");  // "ő", which Windows-1250 holds
    return CommandResult{Selection{{1}, 1, 1}, false, {}};
  });
  session.QuickSave();
  EXPECT_TRUE(prompts.questions.empty());
  EXPECT_EQ(ReadFile(path),
            head + "Dialogue: 0,0:00:01.00,0:00:02.00,Default,M\xE1ria,0,0,0,,Szia \xF5\r\n");

  prompts.save_paths.push_back(dir.File("film.vtt"));
  prompts.save_types.push_back(kKindWebVtt);
  session.SaveAs();
  EXPECT_TRUE(prompts.questions.empty());
  EXPECT_EQ(ReadFile(dir.File("film.vtt")),
            "WEBVTT\r\n\r\n00:00:01.000 --> 00:00:02.000\r\nSzia \xC5\x91\r\n");
  EXPECT_EQ(doc.FileEncoding, std::nullopt);
}

TEST_F(SessionTest, DialogPathsAreResolvedThroughLinksNotFoldedAsText) {
  const std::filesystem::path real = dir.path() / "real";
  std::filesystem::create_directories(real / "sub");
  std::filesystem::create_directory_symlink(real / "sub", dir.path() / "dl");
  WriteFile((real / "z.txt").string(), kSubRip);
  WriteFile(dir.File("z.txt"), "1\r\n00:00:05,000 --> 00:00:06,000\r\nNot this one\r\n");

  OpenThroughDialog(dir.File("dl/../z.txt"));
  EXPECT_EQ(doc.FrameText[1], "Hello");
  EXPECT_EQ(doc.FileDir, real.string() + "/");
  EXPECT_EQ(session.history().Entry(1), (real / "z.txt").string());

  prompts.save_paths.push_back(dir.File("dl/../y.srt"));
  session.SaveAs();
  EXPECT_TRUE(std::filesystem::exists(real / "y.srt"));
  EXPECT_FALSE(std::filesystem::exists(dir.File("y.srt")));
  EXPECT_EQ(session.history().Entry(1), (real / "y.srt").string());
}

TEST_F(SessionTest, StartupFileIsOpenedByItsFullPath) {
  const std::string path = Write("movie.txt", kSubRip);
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  session.OpenStartupFile("movie.txt");
  std::filesystem::current_path(cwd);
  EXPECT_EQ(doc.FrameCount, 2);
  EXPECT_EQ(session.history().Entry(1), path);
  EXPECT_EQ(doc.FileDir, dir.path().string() + "/");

  session.OpenStartupFile("no-such-file.srt");
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"File not found!\r\rno-such-file.srt"});
}

TEST_F(SessionTest, ClosingAsksOnlyWithUnsavedFrames) {
  doc.Modified = kUnsaved;
  EXPECT_TRUE(session.CloseQuery());  // no frames: never asks
  EXPECT_TRUE(prompts.questions.empty());

  MakeModified();
  prompts.answers.push_back(Answer::kCancel);
  EXPECT_FALSE(session.CloseQuery());
  prompts.answers.push_back(Answer::kYes);
  prompts.save_paths.push_back(std::nullopt);
  EXPECT_FALSE(session.CloseQuery());
  EXPECT_EQ(doc.Modified, kUnsaved);
  prompts.answers.push_back(Answer::kNo);
  EXPECT_TRUE(session.CloseQuery());
  EXPECT_EQ(prompts.questions.back(), kAskSaveBeforeExit);
}

TEST_F(SessionTest, OpeningAndNewEmptyTheUndoHistoryAndSavingMarksTheCleanState) {
  const std::string path = Write("a.txt", kSubRip);
  auto insert = [&] {
    session.runner().Run("Insert", Selection{{}, 1, 1}, [](Document& d) {
      return InsertFrame(d, Selection{{}, 1, 1});
    });
  };
  OpenThroughDialog(path);
  insert();
  prompts.save_paths.push_back(dir.File("b.txt"));
  session.SaveAs();
  EXPECT_EQ(doc.Modified, kClean);
  session.runner().Undo();
  EXPECT_EQ(doc.Modified, kUnsaved);
  session.runner().Redo();
  EXPECT_EQ(doc.Modified, kClean);
  insert();
  prompts.answers = {Answer::kNo, Answer::kNo};
  OpenThroughDialog(path);
  EXPECT_FALSE(session.runner().CanUndo());
  insert();
  session.New();
  EXPECT_FALSE(session.runner().CanUndo());
}

}  // namespace
}  // namespace lumetra
