#include "session/session.h"

#include <filesystem>
#include <system_error>

#include "formats/file_io.h"
#include "formats/subtitle_io.h"
#include "foundation/textkit.h"
#include "session/unsaved_changes.h"

namespace lumetra {

namespace {

bool IsSaveExtension(std::string_view e) { return KindOfSaveExt(e) != kKindUnknown; }

// A regular file (links followed): directories, pipes and devices are no subtitles, and
// a device such as /dev/zero would never end.
bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

Session::Session(Prompts& prompts) : prompts_(prompts) { doc_.ResetDocument(); }

bool Session::ResolveUnsaved(const char* question) {
  return ResolveUnsavedChanges(doc_, prompts_, save_dialog_, question,
                               [this](const std::string&) { WriteSubtitle(); });
}

void Session::New() {
  if (!ResolveUnsaved(kAskSaveBeforeNew)) return;
  doc_.FileName.clear();
  doc_.HasByteOrderMark = false;
  doc_.Encoding = CodePage::kWindows1250;
  doc_.ResetDocument();
}

void Session::Open() {
  if (!ResolveUnsaved(kAskSaveBeforeOpen)) return;
  const std::optional<std::string> path = prompts_.AskOpenPath(open_dialog_);
  if (!path) return;
  open_dialog_.file_name = *path;
  OpenPath(FullPathOf(*path));
}

std::vector<HistoryMenuItem> Session::HistoryMenu() { return history_.MenuItems(); }

void Session::OpenHistoryEntry(int index) {
  if (index < 1 || index > FileHistory::kSlots) return;
  if (!ResolveUnsaved(kAskSaveBeforeOpen)) return;
  const std::string path = history_.Entry(index);
  open_dialog_.file_name = path;
  open_dialog_.initial_dir = DirOfPath(path);
  OpenPath(path);
}

void Session::SaveAs() {
  if (doc_.FrameCount == 0) {
    prompts_.ShowMessage(kNothingToSave);
    return;
  }
  const std::optional<std::string> path = prompts_.AskSavePath(save_dialog_);
  if (!path) return;
  save_dialog_.file_name = FullPathOf(*path);
  WriteSubtitle();
}

bool Session::SaveTo(const std::string& path) {
  if (doc_.FrameCount == 0) {
    prompts_.ShowMessage(kNothingToSave);
    return false;
  }
  save_dialog_.file_name = FullPathOf(path);
  WriteSubtitle();
  return doc_.LoadStatus == 0;
}

void Session::QuickSave() {
  if (doc_.FrameCount == 0) {
    prompts_.ShowMessage(kNothingToSave);
    return;
  }
  if (doc_.FileDir.empty() || doc_.FileName.empty()) {
    prompts_.ShowMessage(kNoFileName);
    return;
  }
  if (!IsSaveExtension(LowerCaseHU(RightStr(doc_.FileName, 3)))) {
    doc_.FileName += "." + doc_.SaveExt;
  }
  save_dialog_.file_name = WithBackslash(doc_.FileDir) + doc_.FileName;
  WriteSubtitle();
}

bool Session::CloseQuery() { return ResolveUnsaved(kAskSaveBeforeExit); }

void Session::OpenStartupFile(const std::string& argument) {
  if (!FileExists(argument)) {
    prompts_.ShowMessage(kFileNotFound + argument);
    return;
  }
  const std::string path = FullPathOf(argument);
  open_dialog_.file_name = NameOfPath(path);
  open_dialog_.initial_dir = DirOfPath(path);
  OpenPath(path);
}

OpenResult Session::OpenPath(const std::string& path) {
  const std::string previous_name = doc_.FileName;
  doc_.FileName = path;
  const OpenResult result = OpenSubtitle();
  if (result != OpenResult::kOpened) doc_.FileName = previous_name;
  return result;
}

OpenResult Session::OpenSubtitle() {
  const std::string path = doc_.FileName;
  if (!FileExists(path)) {
    prompts_.ShowMessage(kNoSuchSubtitle + path);
    return OpenResult::kMissing;
  }
  // The kind comes from the first lines; the rest is read only for a known kind.
  std::string data;
  int kind;
  const FileStatus status = ReadSubtitleFile(path, kind, data);
  if (!status.ok()) {
    prompts_.ShowMessage(status == FileError::kTooLarge ? kFileTooLarge + path : kReadError);
    return OpenResult::kUnreadable;
  }
  doc_.FileKind = kind;
  if (doc_.FileKind == kKindUnknown) return OpenResult::kUnrecognised;
  ReadSubtitleData(data);
  return doc_.LoadStatus == 0 ? OpenResult::kOpened : OpenResult::kNotRead;
}

void Session::ReadSubtitle() {
  std::string data;
  const FileStatus status = ReadWholeFile(doc_.FileName, data);
  if (!status.ok()) {
    doc_.LoadStatus = 1;
    doc_.Modified = kClean;
    prompts_.ShowMessage(status == FileError::kTooLarge ? kFileTooLarge + doc_.FileName
                                                        : kReadError);
    return;
  }
  ReadSubtitleData(data);
}

void Session::ReadSubtitleData(std::string_view data) {
  doc_.LoadStatus = 0;
  doc_.Modified = kClean;
  frames_left_out_ = 0;
  const int kind = doc_.FileKind;
  if (kind < kKindSubRip || kind > kKindSami) {
    prompts_.ShowMessage(kUnknownFormat);
    return;
  }
  if (kind == kKindSub) {
    doc_.SaveExt = SaveExtOfKind(kind);
    prompts_.RunSubFrameRateDialog(sub_frame_rate_);
    doc_.SubFps = sub_frame_rate_.SubFpsChoice();
    if (sub_frame_rate_.LoadStatus() != 0) {
      doc_.LoadStatus = 2;
      return;
    }
  }
  const ReadResult result = lumetra::ReadSubtitleData(data, kind, doc_.SubFps, doc_);
  frames_left_out_ = result.frames_left_out;
  if (frames_left_out_ == 1) {
    prompts_.ShowMessage(std::string(kFrameLimitStart) + kOneFrameLeftOut);
  } else if (frames_left_out_ > 1) {
    prompts_.ShowMessage(kFrameLimitStart + IntToText(frames_left_out_) + kFrameLimitEnd);
  }
  history_.UpdateHistory(doc_.FileName);
  doc_.FileDir = DirOfPath(doc_.FileName);
  doc_.FileName = NameOfPath(doc_.FileName);
  doc_.FileBoxText = doc_.FileName + "    " + doc_.FormatLabel;
  save_dialog_.initial_dir = doc_.FileDir;
  save_dialog_.file_name = WithoutExtension(doc_.FileName);
  open_dialog_.initial_dir = doc_.FileDir;
  doc_.NotifyHeaderChanged();
}

void Session::WriteSubtitle() {
  const int modified_before = doc_.Modified;
  doc_.Modified = kClean;
  doc_.LoadStatus = 1;
  const std::string target = save_dialog_.file_name;
  doc_.FileName = target;
  const std::string e = LowerCaseHU(RightStr(target, 3));
  if (!IsSaveExtension(e)) {
    prompts_.ShowMessage(kUnknownExtension + e);
    doc_.Modified = modified_before;  // nothing was written
    return;
  }
  doc_.FileDir = DirOfPath(target);
  doc_.FileName = NameOfPath(target);

  const int kind = KindOfSaveExt(e);
  if (kind == kKindSub) {
    // The dialog's outcome is not asked for: Cancel keeps the rate it held before.
    prompts_.RunSubFrameRateDialog(sub_frame_rate_);
    doc_.SubFps = sub_frame_rate_.SubFpsChoice();
    if (doc_.SubFps == 0) doc_.SubFps = 25;
  } else {
    // The other formats show their label after a failed write too.
    doc_.FormatLabel = FormatLabelOfKind(kind, 0);
  }

  std::string bytes;
  WriteSubtitleData(doc_, e, doc_.SubFps, bytes);
  // A failure names the file and the system's reason on a line of its own.
  const FileStatus status = WriteFileReplacing(target, bytes);
  if (status.ok()) {
    doc_.LoadStatus = 0;
  } else {
    prompts_.ShowMessage((status == FileError::kWrite ? kWriteError : kCreateError) +
                         WithBackslash(doc_.FileDir) + doc_.FileName + "\r" +
                         SystemReason(status.system_error));
  }

  if (doc_.LoadStatus == 0) {
    if (kind == kKindSub) doc_.FormatLabel = SubFormatLabel(sub_frame_rate_.SubFpsChoice());
    history_.UpdateHistory(target);
    doc_.FileBoxText = doc_.FileName + "    " + doc_.FormatLabel;
    save_dialog_.file_name = WithoutExtension(doc_.FileName);
  } else {
    doc_.Modified = modified_before;  // the work is not saved
  }
  doc_.NotifyHeaderChanged();
}

}  // namespace lumetra
