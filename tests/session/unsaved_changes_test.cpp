#include "session/unsaved_changes.h"

#include <gtest/gtest.h>

#include "document/document.h"
#include "session/scripted_prompts.h"

namespace lumetra {
namespace {

class UnsavedChangesTest : public ::testing::Test {
 protected:
  UnsavedChangesTest() {
    doc.FrameCount = 1;
    doc.Modified = kUnsaved;
  }

  bool Resolve() {
    return ResolveUnsavedChanges(doc, prompts, save_dialog, kAskSaveBeforeOpen,
                                 [this](const std::string& path) {
                                   saved_to.push_back(path);
                                   if (save_succeeds) doc.Modified = kClean;
                                 });
  }

  Document doc;
  ScriptedPrompts prompts;
  FileDialogState save_dialog{"/start", "movie"};
  std::vector<std::string> saved_to;
  bool save_succeeds = true;
};

TEST_F(UnsavedChangesTest, YesWithAConfirmedSaveDialogSavesAndGoesOn) {
  prompts.answers.push_back(Answer::kYes);
  prompts.save_paths.push_back("/films/new.srt");
  EXPECT_TRUE(Resolve());
  EXPECT_EQ(prompts.questions, std::vector<std::string>{kAskSaveBeforeOpen});
  ASSERT_EQ(prompts.save_dialogs_shown.size(), 1u);
  EXPECT_EQ(prompts.save_dialogs_shown[0].initial_dir, "/start");
  EXPECT_EQ(saved_to, std::vector<std::string>{"/films/new.srt"});
  EXPECT_EQ(doc.FileName, "new.srt");
  EXPECT_EQ(doc.FileDir, "/films/");
  EXPECT_EQ(doc.FileBoxText, "new.srt");
  EXPECT_EQ(save_dialog.file_name, "/films/new.srt");
  EXPECT_EQ(doc.Modified, kClean);
}

TEST_F(UnsavedChangesTest, YesWithACancelledSaveDialogStops) {
  prompts.answers.push_back(Answer::kYes);
  prompts.save_paths.push_back(std::nullopt);
  EXPECT_FALSE(Resolve());
  EXPECT_TRUE(saved_to.empty());
  EXPECT_EQ(doc.Modified, kUnsaved);
}

TEST_F(UnsavedChangesTest, YesWithAFailedSaveStops) {
  save_succeeds = false;
  prompts.answers.push_back(Answer::kYes);
  prompts.save_paths.push_back("/nowhere/x.srt");
  EXPECT_FALSE(Resolve());
  EXPECT_EQ(doc.Modified, kUnsaved);
}

TEST_F(UnsavedChangesTest, NoDiscardsWithoutSaving) {
  prompts.answers.push_back(Answer::kNo);
  EXPECT_TRUE(Resolve());
  EXPECT_TRUE(prompts.save_dialogs_shown.empty());
  EXPECT_EQ(doc.Modified, kClean);
}

TEST_F(UnsavedChangesTest, CancelStopsAndMarksThePrompt) {
  prompts.answers.push_back(Answer::kCancel);
  EXPECT_FALSE(Resolve());
  EXPECT_EQ(doc.Modified, kPromptCancelled);
  // A cancelled prompt still counts as unsaved the next time.
  prompts.answers.push_back(Answer::kNo);
  EXPECT_TRUE(Resolve());
  EXPECT_EQ(prompts.questions.size(), 2u);
}

TEST_F(UnsavedChangesTest, AnEmptyDocumentNeverAsks) {
  doc.FrameCount = 0;
  EXPECT_TRUE(Resolve());
  EXPECT_TRUE(prompts.questions.empty());
  EXPECT_EQ(doc.Modified, kClean);
}

TEST_F(UnsavedChangesTest, ACleanDocumentNeverAsks) {
  doc.Modified = kClean;
  EXPECT_TRUE(Resolve());
  EXPECT_TRUE(prompts.questions.empty());
}

}  // namespace
}  // namespace lumetra
