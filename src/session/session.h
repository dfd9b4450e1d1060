// The open document with everything around it: the file history, the SUB frame-rate
// dialog's state, the file dialogs' state, and the file commands (New, Open, the history
// menu, Save As, quick save, closing) that guard unsaved work through one prompt.
#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "editing/editing_parameters.h"
#include "editing/frame_rate.h"
#include "editing/sub_frame_rate.h"
#include "formats/file_io.h"
#include "formats/subtitle_io.h"
#include "session/command_runner.h"
#include "session/prompts.h"
#include "settings/configuration.h"
#include "settings/file_history.h"

namespace lumetra {

struct AutosaveInfo;

inline constexpr char kReadError[] = "READ ERROR! I can't read from file!";
inline constexpr char kUnknownFormat[] = "Unknown subtitle format!";
inline constexpr char kNoSuchSubtitle[] = "There is no recognized subtitle with this filename:\r\r";
inline constexpr char kFileNotFound[] = "File not found!\r\r";
// Followed by the path of a file that holds something, but no subtitle of a known kind.
inline constexpr char kNotASubtitle[] = "This file is not a subtitle Lumetra can read:\r\r";
// Followed by the path of a file with nothing but blank lines in it.
inline constexpr char kEmptyFile[] = "This file is empty:\r\r";
inline constexpr char kNothingToSave[] = "There is nothing to save!";
inline constexpr char kNoFileName[] = "No filename specified!";
inline constexpr char kUnknownExtension[] = "Unknown extension: ";
inline constexpr char kCreateError[] =
    "WRITE ERROR! I can't create file!\rMaybe its because the drive is write-protected, the "
    "file\ris in use or you've entered an incorrect filename.\r...or its my mistake :-)\r\r";
inline constexpr char kWriteError[] =
    "WRITE ERROR! I can't write to file!\rMaybe its because the file is in use\ror there is not "
    "enough free space.\r...or its my mistake :-)\r\r";
// Followed by the number of entries that were not loaded.
inline constexpr char kFrameLimitStart[] =
    "The subtitle has more frames than Lumetra can hold.\rOnly the first 9999 frames were "
    "loaded; ";
inline constexpr char kFrameLimitEnd[] = " were left out.";
inline constexpr char kOneFrameLeftOut[] = "1 frame was left out.";
// Asked before a save replaces the file that was read with frames left out: the start, the
// number of frames ("51 frames", "1 frame"), then kOverwriteLosesFramesEnd and the path.
inline constexpr char kOverwriteLosesFramesStart[] =
    "This subtitle was loaded without the frames beyond the first 9999.\rSaving it over the "
    "file it came from loses ";
inline constexpr char kOverwriteLosesFramesEnd[] = " for good:\r\r";
inline constexpr char kOverwriteLosesFramesQuestion[] = "\r\rSave over it anyway?";
// Asked before a save of texts that typed characters moved to UTF-8 when the file's code
// page cannot hold some of them: the start, the page's name, the middle, the frames ("3,
// 7, 12"; "the information header"), then the end. Its action is kSaveInUtf8.
inline constexpr char kNotHeldStart[] = "The code page of this subtitle, ";
inline constexpr char kNotHeldMiddle[] =
    ", cannot hold every character that was typed.\rThese frames hold characters it cannot "
    "hold: ";
inline constexpr char kNotHeldEnd[] =
    ".\r\rSave the subtitle in UTF-8, which holds them all, or cancel the save?";
inline constexpr char kSaveInUtf8[] = "Save in UTF-8";
// Asked before a save in WebVTT, ASS or SSA, which cannot hold times before 0, of frames
// that start or end before it: "Frames 1, 2 and 3 start before 0:00:00.000. WebVTT cannot
// hold times before 0: they will be saved as 0." Its action is kSave. Where nobody is asked
// (lumetra-cli), the save tells afterwards: "3 frames start before 0:00:00.000. WebVTT
// cannot hold times before 0: they were written as 0."
inline constexpr char kBeforeZero[] = " before 0:00:00.000. ";
inline constexpr char kCannotHoldBeforeZero[] = " cannot hold times before 0: ";
inline constexpr char kWillBeSavedAsZero[] = "they will be saved as 0.";
inline constexpr char kWereWrittenAsZero[] = "they were written as 0.";
inline constexpr char kSave[] = "Save";
// Followed by the path of a file that is no subtitle because of its size.
inline constexpr char kFileTooLarge[] = "The file is too large for a subtitle (over 256 MB):\r\r";
// A SAMI file with text in several classes (languages): the class read, then the others.
inline constexpr char kClassesStart[] =
    "The subtitle holds text in more than one language.\rOnly \"";
inline constexpr char kClassesMiddle[] = "\" was loaded; left out: ";

// What became of an attempt to open a file.
enum class OpenResult {
  kOpened,        // read into the document
  kMissing,       // no such file
  kUnreadable,    // the file could not be opened or read
  kUnrecognised,  // empty, or its first line names no kind; the user was told
  kNotRead,       // the read failed or the SUB frame-rate dialog was cancelled
};

class Session {
 public:
  // The prompts are not owned and must outlive the session.
  explicit Session(Prompts& prompts);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Document& document() { return doc_; }
  const Document& document() const { return doc_; }
  FileHistory& history() { return history_; }
  // The options and window values that the configuration file keeps.
  Configuration& settings() { return settings_; }
  SubFrameRateModel& sub_frame_rate() { return sub_frame_rate_; }
  // The boxes and check boxes of the "Timing" and "Text" groups.
  EditingParameters& editing_parameters() { return editing_parameters_; }
  FrameRateCalculator& frame_rate_calculator() { return frame_rate_calculator_; }
  FileDialogState& open_dialog() { return open_dialog_; }
  FileDialogState& save_dialog() { return save_dialog_; }
  Prompts& prompts() { return prompts_; }
  // Every command that changes the document runs through it; it holds the undo history.
  CommandRunner& runner() { return runner_; }

  // New: after the unsaved-changes prompt, an empty document without a file name.
  void New();
  // Open: after the unsaved-changes prompt, the open dialog, then OpenSubtitle.
  void Open();
  // The history menu's items (recounting the history).
  std::vector<HistoryMenuItem> HistoryMenu();
  // A history menu item: after the unsaved-changes prompt, opens that entry.
  void OpenHistoryEntry(int index);
  // Save As: the save dialog, preselecting the document's own format, then WriteSubtitle
  // in the format the chosen type and name give (KindOfSaveChoice).
  void SaveAs();
  // Quick save: writes the document's own format to the current file's directory and name
  // without a dialog.
  void QuickSave();
  // Save (the keyboard's): quick save when the document has a file name, else Save As.
  void Save();
  // Save As to a path given instead of chosen in the dialog, in the format `kind` (the
  // command-line tool's convert): refuses an empty document; true when the file was
  // written.
  bool SaveTo(const std::string& path, int kind);
  // Closing the window: the unsaved-changes prompt; true when the window may close.
  bool CloseQuery();
  // Shows and types the document's texts in another code page; no byte changes.
  void SetCodePage(CodePage page);
  // The user's choice of a code page for the document (the window's "Reopen with code
  // page"): SetCodePage, and the file's history entry remembers the page, so the file
  // opens in it next time. A document saved under another name takes the page along.
  void ChooseCodePage(CodePage page);

  // Opens a subtitle named on the command line: its full path when it exists, else
  // "File not found!" and the argument.
  void OpenStartupFile(const std::string& argument);
  // A file dropped on the window: after the unsaved-changes prompt, opened as a
  // command-line file is.
  void OpenDroppedFile(const std::string& path);

  // Opens the file named by the document's FileName (a full path): checks that it exists,
  // recognises its kind and reads it. A file that is not read leaves the document as it
  // was, its FileName included.
  OpenResult OpenSubtitle();
  // Opens an autosave's bytes as the document it was written of: its frames, format, code
  // page, frame rate, information header and file, with unsaved changes and no undo steps
  // (the file history is left alone).
  void RecoverAutosave(std::string_view data, const AutosaveInfo& info);
  // Where the first save of a run over an existing file keeps that file's previous version
  // (BackUpFile); empty, the default, keeps none.
  void SetBackupDirectory(std::string dir) { backup_dir_ = std::move(dir); }

  // Saves in a format that cannot hold times before 0 write them as 0 without asking first,
  // and then tell how many frames had them: for a caller with nobody to ask (lumetra-cli).
  void WriteTimesBeforeZeroWithoutAsking() { ask_about_times_before_zero_ = false; }

  // Reads the document's FileName as FileKind; reports through LoadStatus and messages.
  void ReadSubtitle();
  // Files are opened mapped into memory instead of read (see MappedFile: the program must
  // handle SIGBUS).
  void MapOpenedFiles() { map_opened_files_ = true; }
  // Files are opened to be written in `write_kind` (kKindUnknown: in their own format)
  // without guessing the code page of their bytes where neither the read nor that write
  // needs it (CodePageGuess::kWhenNeeded, WriteReadsCodePage): for a caller that only
  // writes the texts back.
  void OpenWithoutCodePageGuess(int write_kind) { write_kind_without_guess_ = write_kind; }
  // Entries of the file last read that did not fit into the store (0: none).
  int frames_left_out() const { return frames_left_out_; }
  // Whether writing `path` would replace the file that was read with frames left out (the
  // same file, through any name or link), which a save does only when the user confirms
  // the loss.
  bool WouldOverwriteCutShortSource(const std::string& path) const;
  // The file read with frames left out and how many were: the guard above. An empty path
  // (after New, a read without frames left out, or a confirmed overwrite) guards nothing.
  const std::string& cut_short_source() const { return cut_short_source_; }
  int cut_short_frames() const { return cut_short_frames_; }
  void SetCutShortSource(std::string path, int frames_left_out);
  // Writes the document to the save dialog's file name in the format `kind` (FileKinds);
  // reports through LoadStatus and messages. A kind that is no format writes nothing and shows
  // "Unknown extension: " with the name's last three characters (callers choose the kind
  // from the name's extension). A save that fails or writes nothing leaves Modified as it
  // was; a save that succeeds makes `kind` the document's format.
  void WriteSubtitle(int kind);

  // Told the full path of each subtitle file read (`read` true) or written, once it is in
  // the history and the window shows it.
  using FileListener = std::function<void(const std::string& path, bool read)>;
  void SetFileListener(FileListener listener) { file_listener_ = std::move(listener); }

  // The system's error number behind the last open or save that failed on the file system
  // (a missing file, a refused permission), 0 when there was none.
  int last_os_error() const { return last_os_error_; }

 private:
  bool ResolveUnsaved(const char* question);
  // Opens a full path as the current document's file.
  OpenResult OpenPath(const std::string& path);
  // ReadSubtitle on bytes already read from the file, as `kind`.
  void ReadSubtitleData(std::string_view data, int kind);
  // True when a file was read; else tells why and keeps the system's error number.
  bool ReadSucceeded(const FileStatus& status, const std::string& path);
  // Asks before a save replaces the file read with frames left out; true when the save
  // may go on.
  bool ConfirmOverwriteOfCutShortSource(const std::string& target);
  // Texts that typed characters moved to UTF-8: true when the save may write them in the
  // file's page (no frame holds what it cannot) or, asked, in UTF-8 (`in_utf8`).
  bool ConfirmFileEncoding(bool& in_utf8);
  // Frames that start or end before 0, to be saved in `kind`, which cannot hold such times
  // (`frames`, FramesBeforeZero): true when the save may write them as 0.
  bool ConfirmTimesBeforeZero(const std::vector<int>& frames, int kind);
  // Keeps the previous version of a file before the first save of this run replaces it.
  void BackUpBeforeFirstOverwrite(const std::string& target);
  // Preselects the document's own format in the save dialog.
  void PrepareSaveDialog();
  // WriteSubtitle of a path chosen in the save dialog.
  void WriteChosen(const SaveChoice& choice);
  // The page remembered for a file in its history entry (a full path), if any.
  std::optional<CodePage> RememberedCodePage(const std::string& path) const;
  // Remembers the document's page in the history entry of a full path.
  void RememberCodePage(const std::string& path);

  Prompts& prompts_;
  Document doc_;
  FileHistory history_;
  Configuration settings_;
  SubFrameRateModel sub_frame_rate_;
  EditingParameters editing_parameters_;
  FrameRateCalculator frame_rate_calculator_;
  FileDialogState open_dialog_;
  FileDialogState save_dialog_;
  int last_os_error_ = 0;
  bool map_opened_files_ = false;
  std::optional<int> write_kind_without_guess_;
  int frames_left_out_ = 0;
  FileListener file_listener_;
  // The document's code page was chosen by the user, now or when the file was last used.
  bool code_page_chosen_ = false;
  std::string cut_short_source_;
  int cut_short_frames_ = 0;
  std::string backup_dir_;
  bool ask_about_times_before_zero_ = true;
  std::set<std::string> backed_up_;  // files (resolved paths) backed up in this run
  CommandRunner runner_{doc_, prompts_};
};

}  // namespace lumetra
