// Autosaves in the state directory, their recovery into a session, and backups of the
// files that saves replace.
#include "session/autosave.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "document_support.h"
#include "document/utf8_conversion.h"
#include "formats/subtitle_io.h"
#include "foundation/textkit.h"
#include "session/backups.h"
#include "session/scripted_prompts.h"
#include "session/session.h"
#include "test_support.h"

namespace lumetra {
namespace {

using testing::EntriesIn;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::vector<Frame> FramesOf(const Document& doc) {
  std::vector<Frame> frames;
  for (int i = 1; i <= doc.FrameCount; ++i) frames.push_back(doc.FrameAt(i));
  return frames;
}

TEST(Autosave, StateDirectoryFollowsTheEnvironment) {
  auto env = [](std::map<std::string, std::string> vars) {
    return [vars](const char* name) -> std::optional<std::string> {
      const auto it = vars.find(name);
      return it == vars.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
  };
  EXPECT_EQ(StateDirectory(env({{"XDG_STATE_HOME", "/s"}, {"HOME", "/h"}})), "/s/lumetra");
  EXPECT_EQ(StateDirectory(env({{"XDG_STATE_HOME", "rel"}, {"HOME", "/h/"}})),
            "/h/.local/state/lumetra");
  EXPECT_EQ(StateDirectory(env({})), "");
}

TEST(Autosave, SidecarKeepsEveryValueWhateverItHolds) {
  AutosaveInfo info;
  info.pid = 4321;
  info.written = 1714558800;
  info.original_path = "/home/u/odd\nname 100%.sub";
  info.kind = kKindSub;
  info.data_kind = kKindSub;
  info.code_page = CodePage::kUtf8;
  info.file_code_page = CodePage::kWindows1251;
  info.sub_fps = 23.976;
  info.frames = 9999;
  info.cut_short_source = "/home/u/odd\nname 100%.sub";
  info.cut_short_frames = 51;
  info.header = {"T\r", "A = b", "", "P", "", "", "", "%0A", "[FONT]x"};
  EXPECT_EQ(ReadAutosaveInfo(AutosaveInfoText(info)), info);
  // A document without a format of its own; a text that is no sidecar.
  info.kind = kKindUnknown;
  info.data_kind = kKindSubRip;
  info.file_code_page.reset();
  EXPECT_EQ(ReadAutosaveInfo(AutosaveInfoText(info)), info);
  EXPECT_EQ(ReadAutosaveInfo("; Lumetra autosave\r\nData = xyz\r\n"), std::nullopt);
  EXPECT_EQ(ReadAutosaveInfo("Data = txt\r\n"), std::nullopt);
}

class AutosaveTest : public ::testing::Test {
 protected:
  std::string Dir() const { return dir.File("autosave"); }
  // A session with a SUB document at 23.976 fps in Windows-1251, read from `name`, its
  // texts moved to UTF-8, edited.
  void Edit(Session& session, const std::string& name) {
    const std::string path = dir.File(name);
    WriteFile(path, "{1}{1}23.976\r\n{24}{48}\xCF\xF0\xE8|two\r\n{72}{96}three\r\n");
    session.document().FileName = path;
    ASSERT_EQ(session.OpenSubtitle(), OpenResult::kOpened);
    session.SetCodePage(CodePage::kWindows1251);
    Document& doc = session.document();
    MoveTextsToUtf8(doc);  // as for typed characters that Windows-1251 cannot hold
    doc.SetText(2, "edited");
    doc.InfoTitle = "Title";
    doc.Modified = kUnsaved;
  }

  // Autosaves `before` as an editor that then ends (the lock goes, the files stay), and
  // recovers its one orphaned autosave into `after`.
  void AutosaveAndRecover(Session& before, Session& after) {
    {
      AutosaveSlot slot(Dir());
      ASSERT_TRUE(slot.Claim(1, 2));
      ASSERT_TRUE(slot.Write(before, 2).ok());
    }
    const std::vector<OrphanedAutosave> orphans = FindOrphanedAutosaves(Dir());
    ASSERT_EQ(orphans.size(), 1u);
    std::string data;
    ASSERT_TRUE(ReadAutosaveData(orphans[0], data).ok());
    after.RecoverAutosave(data, orphans[0].info);
  }

  TempDir dir;
  ScriptedPrompts prompts;
};

TEST_F(AutosaveTest, OnlySlotsOfEditorsThatEndedAreOrphansAndHalfSlotsAreCleared) {
  Session running(prompts);
  Edit(running, "running.sub");
  AutosaveSlot live(Dir());
  ASSERT_TRUE(live.Claim(100, 1000));
  ASSERT_TRUE(live.Write(running, 1000).ok());
  {
    // An editor that ended without closing: its lock is no longer held.
    AutosaveSlot ended(Dir());
    ASSERT_TRUE(ended.Claim(100, 1000));  // the same process id and second: a slot of its own
    EXPECT_NE(ended.id(), live.id());
    ASSERT_TRUE(ended.Write(running, 900).ok());
  }
  {
    AutosaveSlot clean(Dir());  // ended with nothing unsaved: only its lock file
    ASSERT_TRUE(clean.Claim(200, 1000));
  }
  WriteFile(dir.File("autosave/7-1.autosave"), "1\r\n");  // bytes without a sidecar
  const std::vector<OrphanedAutosave> orphans = FindOrphanedAutosaves(Dir());
  ASSERT_EQ(orphans.size(), 1u);
  EXPECT_EQ(orphans[0].id, "100-1000-1");
  EXPECT_EQ(orphans[0].info.written, 900);
  EXPECT_EQ(EntriesIn(Dir()), (std::vector<std::string>{
                                  "100-1000-1.autosave", "100-1000-1.info", "100-1000-1.lock",
                                  "100-1000.autosave", "100-1000.info", "100-1000.lock"}));
  DiscardAutosave(orphans[0]);
  live.Release();
  EXPECT_TRUE(EntriesIn(Dir()).empty());
  // The user's file was never written.
  EXPECT_EQ(ReadFile(dir.File("running.sub")).find("edited"), std::string::npos);
}

TEST_F(AutosaveTest, RecoveryGivesBackTheDocumentAsAnUnsavedOneWithItsFile) {
  Session before(prompts);
  Edit(before, "movie.sub");
  Session after(prompts);
  ASSERT_NO_FATAL_FAILURE(AutosaveAndRecover(before, after));
  const Document& a = after.document();
  const Document& b = before.document();
  EXPECT_EQ(FramesOf(a), FramesOf(b));
  EXPECT_EQ(a.FileName, "movie.sub");
  EXPECT_EQ(a.FileDir, b.FileDir);
  EXPECT_EQ(a.FileKind, kKindSub);
  EXPECT_EQ(a.SubFps, 23.976);
  EXPECT_EQ(a.SubRateLine, "{1}{1}23.976");
  EXPECT_EQ(a.Encoding, CodePage::kUtf8);
  EXPECT_EQ(a.FileEncoding, CodePage::kWindows1251);
  EXPECT_EQ(a.InfoTitle, "Title");
  EXPECT_EQ(a.FileBoxText, "movie.sub    (SUB 23.976 fps)");
  EXPECT_EQ(a.Modified, kUnsaved);
  EXPECT_FALSE(after.runner().CanUndo());
  // Ctrl+S then saves to the original file.
  prompts.sub_rate_actions.clear();
  after.QuickSave();
  EXPECT_EQ(ReadFile(dir.File("movie.sub")),
            "{1}{1}23.976\r\n{24}{48}\xCF\xF0\xE8|two\r\n{72}{96}edited\r\n");
}

// A WebVTT autosave is UTF-8 whatever page the user chose for the file: its texts used to
// come back read in that page ("Привет" as "РџСЂРёРІРµС‚").
TEST_F(AutosaveTest, AWebVttDocumentInAChosenCodePageIsRecoveredWithItsLetters) {
  Session before(prompts);
  const std::string path = dir.File("film.vtt");
  WriteFile(path, "WEBVTT\r\n\r\nNOTE \xEE\xE4\xE8\xED\r\n\r\n00:00:01.000 --> 00:00:02.000\r\n"
                  "\xCF\xF0\xE8\xE2\xE5\xF2\r\n");
  before.document().FileName = path;
  ASSERT_EQ(before.OpenSubtitle(), OpenResult::kOpened);
  before.SetCodePage(CodePage::kWindows1251);
  before.document().Modified = kUnsaved;
  Session after(prompts);
  ASSERT_NO_FATAL_FAILURE(AutosaveAndRecover(before, after));
  const Document& a = after.document();
  EXPECT_EQ(a.Encoding, CodePage::kUtf8);
  EXPECT_EQ(a.FrameText[1], "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82");  // Привет
  ASSERT_NE(a.FileHeader, nullptr);
  EXPECT_EQ(a.FileHeader->head, "WEBVTT\n\nNOTE \xD0\xBE\xD0\xB4\xD0\xB8\xD0\xBD\n\n");  // один
  after.QuickSave();
  EXPECT_EQ(ReadFile(path), "WEBVTT\r\n\r\nNOTE \xD0\xBE\xD0\xB4\xD0\xB8\xD0\xBD\r\n\r\n"
                            "00:00:01.000 --> 00:00:02.000\r\n"
                            "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\r\n");
}

TEST_F(AutosaveTest, RecoveryQuestionNamesTheFileTheTimeAndTheFrames) {
  AutosaveInfo info;
  info.original_path = "/x/movie.srt";
  info.frames = 1;
  const std::string question = RecoveryQuestion(info);
  EXPECT_NE(question.find("/x/movie.srt\r"), std::string::npos) << question;
  EXPECT_NE(question.find(", 1 frame\r"), std::string::npos) << question;
  info.original_path.clear();
  info.frames = 12;
  EXPECT_NE(RecoveryQuestion(info).find("Untitled\r"), std::string::npos);
  EXPECT_NE(RecoveryQuestion(info).find(", 12 frames\r"), std::string::npos);
}

TEST(Backups, KeepTheLastTenVersionsOfEachFileName) {
  TempDir dir;
  const std::string backups = dir.File("backups");
  const std::string path = dir.File("movie.srt");
  std::tm now{};
  now.tm_year = 124;
  now.tm_mon = 4;
  now.tm_mday = 1;
  now.tm_hour = 12;
  for (int i = 0; i < 12; ++i) {
    WriteFile(path, "version " + std::to_string(i));
    now.tm_sec = i / 2;  // two backups in each second
    ASSERT_TRUE(BackUpFile(path, backups, now).ok());
  }
  const std::vector<std::string> kept = BackupsOf("movie.srt", backups);
  ASSERT_EQ(kept.size(), 10u);
  EXPECT_EQ(ReadFile(kept.front()), "version 2");
  EXPECT_EQ(ReadFile(kept.back()), "version 11");
  EXPECT_EQ(NameOfPath(kept.front()), "20240501-120001-00.srt");
  EXPECT_EQ(NameOfPath(kept.back()), "20240501-120005-01.srt");
  // Another name has versions of its own; a name without an extension keeps none.
  WriteFile(dir.File("notes"), "n");
  ASSERT_TRUE(BackUpFile(dir.File("notes"), backups, now, 1).ok());
  ASSERT_TRUE(BackUpFile(dir.File("notes"), backups, now, 1).ok());
  EXPECT_EQ(EntriesIn(std::filesystem::path(backups) / "notes"),
            std::vector<std::string>{"20240501-120005-01"});
  EXPECT_EQ(BackupsOf("movie.srt", backups).size(), 10u);
  EXPECT_FALSE(BackUpFile(dir.File("missing.srt"), backups, now).ok());
}

TEST(Backups, TheFirstSaveOfARunOverAFileKeepsItsPreviousVersion) {
  TempDir dir;
  ScriptedPrompts prompts;
  Session session(prompts);
  const std::string path = dir.File("movie.txt");
  const std::string original = "1\r\n00:00:01,000 --> 00:00:02,000\r\nold\r\n";
  WriteFile(path, original);
  session.document().FileName = path;
  ASSERT_EQ(session.OpenSubtitle(), OpenResult::kOpened);
  session.document().SetText(1, "new");
  // Without a backup directory (the command-line tool) there are none.
  session.QuickSave();
  EXPECT_FALSE(std::filesystem::exists(dir.File("backups")));
  session.SetBackupDirectory(dir.File("backups"));
  session.document().SetText(1, "newer");
  session.QuickSave();
  session.document().SetText(1, "newest");
  session.QuickSave();  // not the first save of this file any more
  const std::vector<std::string> kept = BackupsOf("movie.txt", dir.File("backups"));
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_NE(ReadFile(kept[0]).find("\r\nnew\r\n"), std::string::npos);
  // A new file has no previous version.
  EXPECT_TRUE(session.SaveTo(dir.File("fresh.txt"), kKindSubRip));
  EXPECT_TRUE(BackupsOf("fresh.txt", dir.File("backups")).empty());
}

}  // namespace
}  // namespace lumetra
