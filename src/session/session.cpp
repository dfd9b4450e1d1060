#include "session/session.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "document/utf8_conversion.h"
#include "formats/file_io.h"
#include "formats/subtitle_io.h"
#include "foundation/textkit.h"
#include "session/autosave.h"
#include "session/backups.h"
#include "session/save_file_types.h"
#include "session/unsaved_changes.h"

namespace lumetra {

namespace {

// A regular file (links followed): directories, pipes and devices are no subtitles, and
// a device such as /dev/zero would never end.
bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

// A new document is already as ResetDocument leaves one.
Session::Session(Prompts& prompts) : prompts_(prompts) {}

bool Session::ResolveUnsaved(const char* question) {
  PrepareSaveDialog();
  return ResolveUnsavedChanges(doc_, prompts_, save_dialog_, question,
                               [this](const SaveChoice& choice) { WriteChosen(choice); });
}

void Session::PrepareSaveDialog() {
  save_dialog_.file_type = SaveFileTypeFor(doc_.FileKind, doc_.FileName);
}

void Session::WriteChosen(const SaveChoice& choice) {
  save_dialog_.file_name = FullPathOf(choice.path);
  WriteSubtitle(KindOfSaveChoice(choice.path, choice.file_type));
}

void Session::New() {
  if (!ResolveUnsaved(kAskSaveBeforeNew)) return;
  doc_.FileName.clear();
  doc_.FileKind = kKindUnknown;
  doc_.HasByteOrderMark = false;
  doc_.Encoding = CodePage::kWindows1250;
  code_page_chosen_ = false;
  doc_.FileTextForm = TextForm::kBytes;
  doc_.SubRateLine.clear();
  doc_.MarkupKind = kKindUnknown;
  doc_.FileHeader.reset();
  doc_.ResetDocument();
  runner_.ClearHistory();
  SetCutShortSource({}, 0);
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
  PrepareSaveDialog();
  const std::optional<SaveChoice> choice = prompts_.AskSavePath(save_dialog_);
  if (choice) WriteChosen(*choice);
}

bool Session::SaveTo(const std::string& path, int kind) {
  if (doc_.FrameCount == 0) {
    prompts_.ShowMessage(kNothingToSave);
    return false;
  }
  save_dialog_.file_name = FullPathOf(path);
  WriteSubtitle(kind);
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
  if (KindOfFileName(doc_.FileName) == kKindUnknown) {
    doc_.FileName += "." + doc_.SaveExt;
  }
  save_dialog_.file_name = WithBackslash(doc_.FileDir) + doc_.FileName;
  // The document's own format, whatever the name's extension; a document that has none
  // (it was never read or saved) gets the one of the extension.
  WriteSubtitle(doc_.FileKind != kKindUnknown ? doc_.FileKind : KindOfFileName(doc_.FileName));
}

void Session::Save() {
  if (doc_.FileDir.empty() || doc_.FileName.empty()) {
    SaveAs();
  } else {
    QuickSave();
  }
}

bool Session::CloseQuery() { return ResolveUnsaved(kAskSaveBeforeExit); }

void Session::SetCodePage(CodePage page) {
  doc_.Encoding = page;
  doc_.FileEncoding.reset();  // the bytes are taken to be in that page, the file's too
  doc_.NotifyChanged(1, doc_.FrameCount);
  doc_.NotifyHeaderChanged();
}

void Session::ChooseCodePage(CodePage page) {
  SetCodePage(page);
  code_page_chosen_ = true;
  if (!doc_.FileDir.empty() && !doc_.FileName.empty()) {
    RememberCodePage(WithBackslash(doc_.FileDir) + doc_.FileName);
  }
}

std::optional<CodePage> Session::RememberedCodePage(const std::string& path) const {
  const int entry = history_.Find(path);
  if (entry == 0) return std::nullopt;
  const std::optional<std::string> name = history_.Attribute(entry, kCodePageAttribute);
  return name ? CodePageOfName(*name) : std::nullopt;
}

void Session::RememberCodePage(const std::string& path) {
  if (const int entry = history_.Find(path); entry != 0) {
    history_.SetAttribute(entry, kCodePageAttribute, CodePageName(doc_.Encoding));
  }
}

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

void Session::OpenDroppedFile(const std::string& path) {
  if (!ResolveUnsaved(kAskSaveBeforeOpen)) return;
  OpenStartupFile(path);
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
  last_os_error_ = 0;
  if (!FileExists(path)) {
    last_os_error_ = NotRegularFileError(path);
    prompts_.ShowMessage(kNoSuchSubtitle + path);
    return OpenResult::kMissing;
  }
  // The kind comes from the first lines; the rest is read only for a known kind.
  std::string read;
  MappedFile mapped;
  int kind;
  const FileStatus status = map_opened_files_ ? MapSubtitleFile(path, kind, mapped)
                                              : ReadSubtitleFile(path, kind, read);
  if (!ReadSucceeded(status, path)) return OpenResult::kUnreadable;
  const std::string_view data = map_opened_files_ ? mapped.bytes() : read;
  // The document keeps its format until a read replaces it.
  if (kind == kKindUnknown) {
    prompts_.ShowMessage((HoldsOnlyBlankLines(data) ? kEmptyFile : kNotASubtitle) + path);
    return OpenResult::kUnrecognised;
  }
  ReadSubtitleData(data, kind);
  return doc_.LoadStatus == 0 ? OpenResult::kOpened : OpenResult::kNotRead;
}

bool Session::ReadSucceeded(const FileStatus& status, const std::string& path) {
  if (status.ok()) return true;
  // A file too large is told as such; other failures carry the system's reason.
  last_os_error_ = status == FileError::kTooLarge ? 0 : status.system_error;
  prompts_.ShowMessage(status == FileError::kTooLarge ? kFileTooLarge + path : kReadError);
  return false;
}

void Session::ReadSubtitle() {
  std::string data;
  last_os_error_ = 0;
  if (!ReadSucceeded(ReadWholeFile(doc_.FileName, data), doc_.FileName)) {
    doc_.LoadStatus = 1;
    doc_.Modified = kClean;
    return;
  }
  ReadSubtitleData(data, doc_.FileKind);
}

void Session::ReadSubtitleData(std::string_view data, int kind) {
  doc_.LoadStatus = 0;
  doc_.Modified = kClean;
  frames_left_out_ = 0;
  if (SaveExtOfKind(kind).empty()) {
    prompts_.ShowMessage(kUnknownFormat);
    return;
  }
  if (kind == kKindSub) {
    // Cancelling the dialog leaves the document, its format included, as it was.
    if (const auto rate = SubFileFrameRate(data)) sub_frame_rate_.ProposeRate(*rate);
    prompts_.RunSubFrameRateDialog(sub_frame_rate_);
    doc_.SubFps = sub_frame_rate_.SubFpsChoice();
    if (sub_frame_rate_.LoadStatus() != 0) {
      doc_.LoadStatus = 2;
      return;
    }
  }
  const std::optional<CodePage> remembered = RememberedCodePage(doc_.FileName);
  const int write_kind = write_kind_without_guess_.value_or(kKindUnknown);
  const CodePageGuess guess =
      write_kind_without_guess_ &&
              !WriteReadsCodePage(kind, write_kind == kKindUnknown ? kind : write_kind)
          ? CodePageGuess::kWhenNeeded
          : CodePageGuess::kAlways;
  const ReadResult result = lumetra::ReadSubtitleData(data, kind, doc_.SubFps, doc_, remembered,
                                                       guess);
  code_page_chosen_ = remembered.has_value() && doc_.Encoding == *remembered;
  runner_.ClearHistory();
  frames_left_out_ = result.frames_left_out;
  SetCutShortSource(frames_left_out_ > 0 ? doc_.FileName : std::string(), frames_left_out_);
  if (frames_left_out_ == 1) {
    prompts_.ShowMessage(std::string(kFrameLimitStart) + kOneFrameLeftOut);
  } else if (frames_left_out_ > 1) {
    prompts_.ShowMessage(kFrameLimitStart + IntToText(frames_left_out_) + kFrameLimitEnd);
  }
  if (!result.classes_left_out.empty()) {
    std::string others;
    for (const std::string& name : result.classes_left_out) {
      others += (others.empty() ? "" : ", ") + name;
    }
    prompts_.ShowMessage(kClassesStart + result.class_read + kClassesMiddle + others + ".");
  }
  const std::string read_path = doc_.FileName;
  history_.UpdateHistory(read_path);
  doc_.FileDir = DirOfPath(doc_.FileName);
  doc_.FileName = NameOfPath(doc_.FileName);
  doc_.FileBoxText = doc_.FileName + "    " + doc_.FormatLabel;
  save_dialog_.initial_dir = doc_.FileDir;
  save_dialog_.file_name = WithoutExtension(doc_.FileName);
  open_dialog_.initial_dir = doc_.FileDir;
  doc_.NotifyHeaderChanged();
  if (file_listener_) file_listener_(read_path, true);
}

namespace {

// Frames by number, the first twenty of them: "1, 2, 3" ("1, 2 and 3" with
// `and_before_last`), then " and 5 more" beyond the twentieth.
std::string NamedFrames(const std::vector<int>& frames, bool and_before_last) {
  constexpr std::size_t kNamed = 20;
  const std::size_t named = std::min(frames.size(), kNamed);
  std::string list;
  for (std::size_t k = 0; k < named; ++k) {
    if (k > 0) {
      const bool last = k + 1 == named && frames.size() <= kNamed;
      list += last && and_before_last ? " and " : ", ";
    }
    list += IntToText(frames[k]);
  }
  if (frames.size() > kNamed) {
    list += " and " + IntToText(static_cast<int>(frames.size() - kNamed)) + " more";
  }
  return list;
}

}  // namespace

bool Session::ConfirmFileEncoding(bool& in_utf8) {
  in_utf8 = false;
  if (!doc_.FileEncoding || *doc_.FileEncoding == doc_.Encoding) return true;
  const std::vector<int> frames = FramesNotHeldBy(doc_, *doc_.FileEncoding);
  const bool header = !HeaderHeldBy(doc_, *doc_.FileEncoding);
  if (frames.empty() && !header) return true;
  std::string list = NamedFrames(frames, false);
  if (header) list += (list.empty() ? "" : "; ") + std::string("the information header");
  in_utf8 = prompts_.Confirm(kNotHeldStart + std::string(CodePageName(*doc_.FileEncoding)) +
                                 kNotHeldMiddle + list + kNotHeldEnd,
                             kSaveInUtf8);
  return in_utf8;
}

namespace {

// "WebVTT", "ASS", "SSA": the formats that cannot hold times before 0.
std::string FormatName(int kind) {
  if (kind == kKindAss) return "ASS";
  if (kind == kKindSsa) return "SSA";
  return "WebVTT";
}

// "start" where every frame starts before 0, else "start or end" (a frame whose end alone
// is before 0); "starts" and "starts or ends" for one frame.
std::string BeforeZeroVerb(const Document& doc, const std::vector<int>& frames) {
  const bool one = frames.size() == 1;
  for (const int i : frames) {
    if (doc.FrameStart[i] >= 0) return one ? "starts or ends" : "start or end";
  }
  return one ? "starts" : "start";
}

}  // namespace

bool Session::ConfirmTimesBeforeZero(const std::vector<int>& frames, int kind) {
  if (frames.empty() || !ask_about_times_before_zero_) return true;
  const std::string list =
      (frames.size() == 1 ? "Frame " : "Frames ") + NamedFrames(frames, true);
  return prompts_.Confirm(list + " " + BeforeZeroVerb(doc_, frames) + kBeforeZero +
                              FormatName(kind) + kCannotHoldBeforeZero + kWillBeSavedAsZero,
                          kSave);
}

void Session::BackUpBeforeFirstOverwrite(const std::string& target) {
  if (backup_dir_.empty()) return;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(target, ec)) return;  // nothing to replace
  const std::string file = std::filesystem::canonical(target, ec).string();
  if (ec || backed_up_.contains(file)) return;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  // A backup that cannot be made does not stop the save.
  if (::localtime_r(&now, &local) != nullptr && BackUpFile(file, backup_dir_, local).ok()) {
    backed_up_.insert(file);
  }
}

void Session::RecoverAutosave(std::string_view data, const AutosaveInfo& info) {
  lumetra::ReadSubtitleData(data, info.data_kind, info.sub_fps, doc_);
  runner_.ClearHistory();
  frames_left_out_ = 0;
  SetCutShortSource(info.cut_short_source, info.cut_short_frames);
  // What the format's bytes do not hold: the document's own format, its code page, its
  // frame rate, its information header and its file. (WebVTT bytes are UTF-8 whatever page
  // the texts were in, and are read so.)
  if (info.data_kind != kKindWebVtt) doc_.Encoding = info.code_page;
  doc_.FileEncoding = info.file_code_page;
  doc_.SubFps = info.sub_fps;
  if (info.kind == kKindSub || info.data_kind == kKindSub) {
    // The SUB frame-rate dialog holds the rate the document was read with, as after a read.
    sub_frame_rate_.ProposeRate(FloatToText(info.sub_fps));
    sub_frame_rate_.PressOk();
  }
  doc_.FileKind = info.kind;
  doc_.SaveExt = SaveExtOfKind(info.kind);
  doc_.FormatLabel = FormatLabelOfKind(info.kind, info.sub_fps);
  std::string* const header[] = {&doc_.InfoTitle,    &doc_.InfoAuthor,  &doc_.InfoSource,
                                 &doc_.InfoPrg,      &doc_.InfoFilepath, &doc_.InfoDelay,
                                 &doc_.InfoCdTrack,  &doc_.InfoComment, &doc_.InfoFontLine};
  for (std::size_t i = 0; i < std::size(header) && i < info.header.size(); ++i) {
    *header[i] = info.header[i];
  }
  if (info.original_path.empty()) {
    doc_.FileName.clear();
    doc_.FileBoxText.clear();
  } else {
    doc_.FileDir = DirOfPath(info.original_path);
    doc_.FileName = NameOfPath(info.original_path);
    doc_.FileBoxText = doc_.FileName + "    " + doc_.FormatLabel;
    save_dialog_.initial_dir = doc_.FileDir;
    save_dialog_.file_name = WithoutExtension(doc_.FileName);
    open_dialog_.initial_dir = doc_.FileDir;
  }
  doc_.Modified = kUnsaved;
  if (doc_.FrameCount > 0) doc_.NotifyChanged(1, doc_.FrameCount);
  doc_.NotifyHeaderChanged();
}

bool Session::WouldOverwriteCutShortSource(const std::string& path) const {
  if (cut_short_source_.empty()) return false;
  std::error_code ec;
  return std::filesystem::equivalent(path, cut_short_source_, ec);
}

void Session::SetCutShortSource(std::string path, int frames_left_out) {
  cut_short_source_ = std::move(path);
  cut_short_frames_ = cut_short_source_.empty() ? 0 : frames_left_out;
}

bool Session::ConfirmOverwriteOfCutShortSource(const std::string& target) {
  if (!WouldOverwriteCutShortSource(target)) return true;
  const std::string frames =
      cut_short_frames_ == 1 ? "1 frame" : IntToText(cut_short_frames_) + " frames";
  if (prompts_.AskYesNoCancel(kOverwriteLosesFramesStart + frames + kOverwriteLosesFramesEnd +
                              cut_short_source_ + kOverwriteLosesFramesQuestion) !=
      Answer::kYes) {
    return false;
  }
  return true;
}

void Session::WriteSubtitle(int kind) {
  // A file read with frames left out is not cut short by a save unless the user says so.
  const bool replaces_cut_short_source = WouldOverwriteCutShortSource(save_dialog_.file_name);
  if (!ConfirmOverwriteOfCutShortSource(save_dialog_.file_name)) {
    doc_.LoadStatus = 1;
    last_os_error_ = 0;
    return;
  }
  // Times before 0 become 0 in the formats that cannot hold them, once the user says so.
  const std::vector<int> before_zero =
      HoldsTimesBeforeZero(kind) ? std::vector<int>() : FramesBeforeZero(doc_);
  if (!ConfirmTimesBeforeZero(before_zero, kind)) {
    doc_.LoadStatus = 1;
    last_os_error_ = 0;
    return;
  }
  // Texts in UTF-8 for typed characters go back into the file's code page, or, where it
  // cannot hold them, into UTF-8 once the user says so: never "?". WebVTT is UTF-8 always.
  bool in_utf8 = kind == kKindWebVtt && doc_.FileEncoding.has_value();
  if (!in_utf8 && !ConfirmFileEncoding(in_utf8)) {
    doc_.LoadStatus = 1;
    last_os_error_ = 0;
    return;
  }
  const int modified_before = doc_.Modified;
  doc_.Modified = kClean;
  doc_.LoadStatus = 1;
  last_os_error_ = 0;
  const std::string target = save_dialog_.file_name;
  doc_.FileName = target;
  if (SaveExtOfKind(kind).empty()) {
    prompts_.ShowMessage(kUnknownExtension + LowerCaseHU(RightStr(target, 3)));
    doc_.Modified = modified_before;  // nothing was written
    return;
  }
  doc_.FileDir = DirOfPath(target);
  doc_.FileName = NameOfPath(target);

  if (kind == kKindSub) {
    // The dialog's outcome is not asked for: Cancel keeps the rate it held before.
    prompts_.RunSubFrameRateDialog(sub_frame_rate_);
    doc_.SubFps = sub_frame_rate_.SubFpsChoice();
    if (doc_.SubFps == 0) doc_.SubFps = 25;
  } else {
    // The other formats show their label after a failed write too.
    doc_.FormatLabel = FormatLabelOfKind(kind, 0);
  }

  // A document that becomes SUB states its rate in a first line, when the settings say so.
  WriteOptions options;
  options.sub_rate_line = settings_.WriteSubFrameRate;
  const bool states_rate = kind == kKindSub && options.sub_rate_line && doc_.FileKind != kKindSub;

  BackUpBeforeFirstOverwrite(target);
  // The bytes go to the file in chunks as they are made. A failure names the file and the
  // system's reason on a line of its own.
  FileStatus status;
  {
    // Texts that typed characters moved to UTF-8 are written in the file's page.
    std::optional<TextsInCodePage> in_file_encoding;
    if (doc_.FileEncoding && !in_utf8) in_file_encoding.emplace(doc_, *doc_.FileEncoding);
    status = WriteFileReplacing(target, [&](const std::function<void(std::string_view)>& put) {
      WriteSubtitleData(doc_, kind, doc_.SubFps, put, options);
    });
  }
  last_os_error_ = status.system_error;
  if (status.ok()) {
    doc_.LoadStatus = 0;
  } else {
    prompts_.ShowMessage((status == FileError::kWrite ? kWriteError : kCreateError) +
                         WithBackslash(doc_.FileDir) + doc_.FileName + "\r" +
                         SystemErrorText(status.system_error));
  }

  if (doc_.LoadStatus == 0) {
    // The file holds what the document holds from now on.
    if (replaces_cut_short_source) SetCutShortSource({}, 0);
    if (!before_zero.empty() && !ask_about_times_before_zero_) {
      const int count = static_cast<int>(before_zero.size());
      prompts_.ShowMessage((count == 1 ? std::string("1 frame ") : IntToText(count) + " frames ") +
                           BeforeZeroVerb(doc_, before_zero) + kBeforeZero + FormatName(kind) +
                           kCannotHoldBeforeZero + kWereWrittenAsZero);
    }
    if (in_utf8) doc_.FileEncoding.reset();  // a UTF-8 file from now on
    runner_.MarkSaved();
    // The rate line is the document's from now on, as if it had been read.
    if (states_rate && doc_.SubRateLine.empty()) {
      doc_.SubRateLine = "{1}{1}" + FloatToText(doc_.SubFps);
    }
    doc_.FileKind = kind;
    if (kind == kKindSub) doc_.FormatLabel = SubFormatLabel(sub_frame_rate_.SubFpsChoice());
    history_.UpdateHistory(target);
    if (code_page_chosen_) RememberCodePage(target);
    doc_.FileBoxText = doc_.FileName + "    " + doc_.FormatLabel;
    save_dialog_.file_name = WithoutExtension(doc_.FileName);
  } else {
    doc_.Modified = modified_before;  // the work is not saved
  }
  doc_.NotifyHeaderChanged();
  if (doc_.LoadStatus == 0 && file_listener_) file_listener_(target, false);
}

}  // namespace lumetra
