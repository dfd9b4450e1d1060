#include "session/autosave.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <system_error>

#include "formats/line_io.h"
#include "formats/subtitle_io.h"
#include "foundation/textkit.h"
#include "session/session.h"

namespace lumetra {

namespace {

constexpr char kInfoHeader[] = "; Lumetra autosave";
constexpr char kDataSuffix[] = ".autosave";
constexpr char kInfoSuffix[] = ".info";
constexpr char kLockSuffix[] = ".lock";
// The sidecar's keys of the information header, in the document's order.
constexpr const char* kHeaderKeys[] = {"Title",    "Author", "Source",  "Prg",     "Filepath",
                                       "Delay",    "CdTrack", "Comment", "FontLine"};
constexpr std::size_t kHeaderFieldCount = std::size(kHeaderKeys);
// A sidecar is a few kilobytes.
constexpr std::uintmax_t kMaxInfoBytes = 1 << 20;

std::string Escaped(std::string_view value) {
  std::string out;
  for (char c : value) {
    if (c == '%') {
      out += "%25";
    } else if (c == '\r') {
      out += "%0D";
    } else if (c == '\n') {
      out += "%0A";
    } else {
      out += c;
    }
  }
  return out;
}

std::string Unescaped(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const std::string_view code = value.substr(i + 1, 2);
    if (value[i] == '%' && (code == "25" || code == "0D" || code == "0A")) {
      out += code == "25" ? '%' : code == "0D" ? '\r' : '\n';
      i += 2;
    } else {
      out += value[i];
    }
  }
  return out;
}

std::string DoubleText(double v) {
  char buffer[32];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

bool IsKnownKind(int kind) { return !SaveExtOfKind(kind).empty(); }

std::string PathIn(const std::string& dir, const std::string& name) {
  return WithBackslash(dir) + name;
}

void RemoveFile(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
}

// Whether the editor that made a slot still runs: it holds the slot's lock. Where the file
// system cannot lock, the process id in the lock file decides.
bool LockHeldByRunningEditor(const std::string& lock_path) {
  const int fd = ::open(lock_path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  bool running;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    running = false;
  } else if (errno == EWOULDBLOCK) {
    running = true;
  } else {
    char buffer[32] = {};
    const ssize_t got = ::pread(fd, buffer, sizeof buffer - 1, 0);
    const int pid = got > 0 ? TextToInt(TrimChar(std::string(buffer, static_cast<std::size_t>(got)),
                                                 '\n'))
                            : 0;
    running = pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
  }
  ::close(fd);
  return running;
}

}  // namespace

std::string StateDirectory(const EnvironmentLookup& env) {
  auto absolute = [&](const char* name) -> std::optional<std::string> {
    std::optional<std::string> value = env(name);
    if (!value || !value->starts_with('/')) return std::nullopt;
    return value;
  };
  if (std::optional<std::string> state = absolute("XDG_STATE_HOME")) {
    return WithBackslash(*state) + "lumetra";
  }
  if (std::optional<std::string> home = absolute("HOME")) {
    return WithBackslash(*home) + ".local/state/lumetra";
  }
  return {};
}

std::string AutosaveInfoText(const AutosaveInfo& info) {
  std::string out;
  LineWriter w(out);
  auto line = [&](const char* key, std::string_view value) {
    w.Line(std::string(key) + " = " + Escaped(value));
  };
  w.Line(kInfoHeader);
  line("Pid", IntToText(info.pid));
  line("Written", std::to_string(info.written));
  line("Path", info.original_path);
  line("Format", SaveExtOfKind(info.kind));
  line("Data", SaveExtOfKind(info.data_kind));
  line("CodePage", CodePageName(info.code_page));
  line("FileCodePage", info.file_code_page ? CodePageName(*info.file_code_page) : "");
  line("Fps", DoubleText(info.sub_fps));
  line("Frames", IntToText(info.frames));
  line("CutShortSource", info.cut_short_source);
  line("CutShortFrames", IntToText(info.cut_short_frames));
  for (std::size_t i = 0; i < kHeaderFieldCount; ++i) {
    line(kHeaderKeys[i], i < info.header.size() ? info.header[i] : std::string());
  }
  return out;
}

std::optional<AutosaveInfo> ReadAutosaveInfo(std::string_view text) {
  LineReader in(text);
  if (in.AtEnd() || in.ReadLine() != kInfoHeader) return std::nullopt;
  std::map<std::string, std::string, std::less<>> values;
  while (!in.AtEnd()) {
    const std::string_view line = in.ReadLine();
    const std::size_t equals = line.find(" = ");
    if (equals == std::string_view::npos) continue;
    values[std::string(line.substr(0, equals))] = Unescaped(line.substr(equals + 3));
  }
  auto value = [&](const char* key) -> const std::string& {
    static const std::string kNone;
    const auto it = values.find(key);
    return it == values.end() ? kNone : it->second;
  };
  AutosaveInfo info;
  info.data_kind = KindOfSaveExt(value("Data"));
  if (!IsKnownKind(info.data_kind)) return std::nullopt;
  info.kind = KindOfSaveExt(value("Format"));
  ParseNumber(value("Pid"), info.pid);
  ParseNumber(value("Written"), info.written);
  info.original_path = value("Path");
  info.code_page = CodePageOfName(value("CodePage")).value_or(CodePage::kWindows1250);
  info.file_code_page = CodePageOfName(value("FileCodePage"));
  if (!ParseNumber(value("Fps"), info.sub_fps) || !(info.sub_fps > 0)) info.sub_fps = 25;
  ParseNumber(value("Frames"), info.frames);
  info.cut_short_source = value("CutShortSource");
  ParseNumber(value("CutShortFrames"), info.cut_short_frames);
  for (const char* key : kHeaderKeys) info.header.push_back(value(key));
  return info;
}

AutosaveInfo AutosaveInfoOf(const Session& session, int pid, std::int64_t now) {
  const Document& doc = session.document();
  AutosaveInfo info;
  info.pid = pid;
  info.written = now;
  if (!doc.FileName.empty()) {
    info.original_path = doc.FileDir.empty() ? doc.FileName
                                             : WithBackslash(doc.FileDir) + NameOfPath(doc.FileName);
  }
  info.kind = IsKnownKind(doc.FileKind) ? doc.FileKind : kKindUnknown;
  info.data_kind = info.kind != kKindUnknown ? info.kind : kKindSubRip;
  info.code_page = doc.Encoding;
  info.file_code_page = doc.FileEncoding;
  info.sub_fps = doc.SubFps > 0 ? doc.SubFps : 25;
  info.frames = doc.FrameCount;
  info.cut_short_source = session.cut_short_source();
  info.cut_short_frames = session.cut_short_frames();
  info.header = {doc.InfoTitle,   doc.InfoAuthor,  doc.InfoSource,
                 doc.InfoPrg,     doc.InfoFilepath, doc.InfoDelay,
                 doc.InfoCdTrack, doc.InfoComment, doc.InfoFontLine};
  return info;
}

FileStatus WriteAutosaveData(const Session& session, const AutosaveInfo& info,
                             const std::string& path) {
  const Document& doc = session.document();
  return WriteFileReplacing(path, [&](const std::function<void(std::string_view)>& put) {
    WriteSubtitleData(doc, info.data_kind, info.sub_fps, put);
  });
}

std::string RecoveryQuestion(const AutosaveInfo& info) {
  const auto written = static_cast<std::time_t>(info.written);
  std::tm local{};
  char when[32] = "?";
  if (::localtime_r(&written, &local) != nullptr) {
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
  }
  return kRecoveryStart + (info.original_path.empty() ? std::string("Untitled") : info.original_path) +
         "\rWritten " + when + ", " +
         (info.frames == 1 ? std::string("1 frame") : IntToText(info.frames) + " frames") +
         kRecoveryEnd;
}

std::vector<OrphanedAutosave> FindOrphanedAutosaves(const std::string& dir) {
  std::vector<OrphanedAutosave> orphans;
  std::error_code ec;
  std::vector<std::string> ids;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    const std::string name = entry.path().filename().string();
    // A lock file that an editor ended before naming it.
    if (name.starts_with(".lock.") && !LockHeldByRunningEditor(entry.path().string())) {
      RemoveFile(entry.path().string());
      continue;
    }
    for (const char* suffix : {kDataSuffix, kInfoSuffix, kLockSuffix}) {
      if (name.ends_with(suffix) && name.size() > std::string_view(suffix).size()) {
        ids.push_back(name.substr(0, name.size() - std::string_view(suffix).size()));
      }
    }
  }
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  for (const std::string& id : ids) {
    OrphanedAutosave orphan{id, PathIn(dir, id + kDataSuffix), PathIn(dir, id + kInfoSuffix),
                            PathIn(dir, id + kLockSuffix), {}};
    if (LockHeldByRunningEditor(orphan.lock_path)) continue;
    std::string text;
    std::optional<AutosaveInfo> info;
    if (std::filesystem::is_regular_file(orphan.data_path, ec) &&
        ReadWholeFile(orphan.info_path, text, kMaxInfoBytes).ok()) {
      info = ReadAutosaveInfo(text);
    }
    if (!info) {
      DiscardAutosave(orphan);  // nothing that could be recovered
      continue;
    }
    orphan.info = std::move(*info);
    orphans.push_back(std::move(orphan));
  }
  std::stable_sort(orphans.begin(), orphans.end(),
                   [](const OrphanedAutosave& a, const OrphanedAutosave& b) {
                     return a.info.written < b.info.written;
                   });
  return orphans;
}

void DiscardAutosave(const OrphanedAutosave& orphan) {
  RemoveFile(orphan.data_path);
  RemoveFile(orphan.info_path);
  RemoveFile(orphan.lock_path);
}

FileStatus ReadAutosaveData(const OrphanedAutosave& orphan, std::string& data) {
  return ReadWholeFile(orphan.data_path, data);
}

AutosaveSlot::~AutosaveSlot() {
  if (lock_fd_ >= 0) ::close(lock_fd_);
}

std::string AutosaveSlot::DataPath() const { return PathIn(dir_, id_ + kDataSuffix); }
std::string AutosaveSlot::InfoPath() const { return PathIn(dir_, id_ + kInfoSuffix); }

bool AutosaveSlot::Claim(int pid, std::int64_t now) {
  if (claimed()) return true;
  if (dir_.empty()) return false;
  std::error_code ec;
  if (!std::filesystem::is_directory(dir_, ec)) {
    std::filesystem::create_directories(dir_, ec);
    // The user's unsaved work is the user's alone.
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, ec);
  }
  // The lock file is made and locked under a temporary name first, so that no other editor
  // ever sees it unlocked (and takes it for the lock of an editor that ended).
  std::string temp = PathIn(dir_, ".lock.XXXXXX");
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  // Where the file system cannot lock, the process id tells that the editor runs.
  ::flock(fd, LOCK_EX | LOCK_NB);
  const std::string text = IntToText(pid) + "\n";
  const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  const std::string base = IntToText(pid) + "-" + std::to_string(now);
  for (int attempt = 0; written && attempt < 100; ++attempt) {
    const std::string id = attempt == 0 ? base : base + "-" + IntToText(attempt);
    // A slot that is there already (an orphan of the same process id) is not taken.
    if (std::filesystem::exists(PathIn(dir_, id + kDataSuffix), ec) ||
        std::filesystem::exists(PathIn(dir_, id + kInfoSuffix), ec)) {
      continue;
    }
    if (::link(temp.c_str(), PathIn(dir_, id + kLockSuffix).c_str()) != 0) {
      if (errno == EEXIST) continue;
      break;
    }
    RemoveFile(temp);
    lock_fd_ = fd;
    id_ = id;
    pid_ = pid;
    return true;
  }
  ::close(fd);
  RemoveFile(temp);
  return false;
}

FileStatus AutosaveSlot::Write(const Session& session, std::int64_t now) {
  if (!claimed()) return {FileError::kCreate, ENOENT};
  const AutosaveInfo info = AutosaveInfoOf(session, pid_, now);
  // The bytes first: a sidecar always describes bytes that are complete.
  FileStatus status = WriteAutosaveData(session, info, DataPath());
  if (status.ok()) status = WriteFileReplacing(InfoPath(), AutosaveInfoText(info));
  if (status.ok()) holds_autosave_ = true;
  return status;
}

void AutosaveSlot::Remove() {
  if (!claimed()) return;
  RemoveFile(InfoPath());
  RemoveFile(DataPath());
  holds_autosave_ = false;
}

void AutosaveSlot::Release() {
  if (!claimed()) return;
  Remove();
  RemoveFile(PathIn(dir_, id_ + kLockSuffix));
  ::close(lock_fd_);
  lock_fd_ = -1;
}

}  // namespace lumetra
