// Autosaves: while the editor has unsaved work it keeps a copy of the document in the
// program's state directory, so that an editor that ends without closing (a crash, a
// kill, a lost display) loses nothing. Each running editor has a slot there: a lock file
// holding its process id and locked while it runs, the document's bytes in the document's
// own format, and a sidecar with everything else about the document. A slot whose editor
// no longer runs is orphaned; the next editor offers it for recovery.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "formats/file_io.h"
#include "settings/configuration.h"

namespace lumetra {

class Session;

// The program's state directory: $XDG_STATE_HOME/lumetra, with ~/.local/state when the
// variable is unset or not absolute; empty when neither can be named.
std::string StateDirectory(const EnvironmentLookup& env);
// Its subdirectories for autosaves and for backups of overwritten files.
inline constexpr char kAutosaveDirName[] = "autosave";
inline constexpr char kBackupDirName[] = "backups";

// What the sidecar of an autosave holds besides the document's bytes.
struct AutosaveInfo {
  int pid = 0;
  std::int64_t written = 0;   // seconds since the epoch
  std::string original_path;  // the document's file, a full path; empty when it has none
  int kind = kKindUnknown;    // the document's own format
  int data_kind = kKindSubRip;  // the format the bytes are written in
  CodePage code_page = CodePage::kWindows1250;
  // The file's code page when the texts are held in UTF-8 for typed characters it cannot
  // hold (Document::FileEncoding).
  std::optional<CodePage> file_code_page;
  double sub_fps = 25;
  int frames = 0;
  // The file read with frames left out and how many were, which a save must not cut short
  // without asking (empty: none).
  std::string cut_short_source;
  int cut_short_frames = 0;
  // The information header, InfoTitle to InfoFontLine (every format but SRT2 drops it).
  std::vector<std::string> header;

  friend bool operator==(const AutosaveInfo&, const AutosaveInfo&) = default;
};

// The sidecar's text: one "Key = value" line each, values with "%", CR and LF written as
// "%25", "%0D" and "%0A". Reading takes the keys in any order; a text without the first
// line or without the data format is no sidecar.
std::string AutosaveInfoText(const AutosaveInfo& info);
std::optional<AutosaveInfo> ReadAutosaveInfo(std::string_view text);

// What the session's document gives an autosave: its sidecar and the format the bytes are
// written in (the document's own; SubRip, which keeps every millisecond, for a document
// that has none yet).
AutosaveInfo AutosaveInfoOf(const Session& session, int pid, std::int64_t now);
// The document's bytes as the autosave holds them.
FileStatus WriteAutosaveData(const Session& session, const AutosaveInfo& info,
                             const std::string& path);

// The recovery dialog's text for an autosave: the file (or "Untitled"), when it was
// written (local time) and its number of frames.
inline constexpr char kRecoveryStart[] =
    "Lumetra did not close normally, and this unsaved work was kept:\r\r";
inline constexpr char kRecoveryEnd[] =
    "\r\rRecover opens it as an unsaved subtitle; Discard deletes it; Later keeps it for the "
    "next start.";
std::string RecoveryQuestion(const AutosaveInfo& info);

// An autosave left by an editor that no longer runs.
struct OrphanedAutosave {
  std::string id;
  std::string data_path;
  std::string info_path;
  std::string lock_path;
  AutosaveInfo info;
};

// The orphaned autosaves in `dir`, oldest first. Files of slots that hold no autosave
// (a lock left by an editor that ended with nothing unsaved, half a slot) are removed on
// the way. A slot whose lock is held by a running editor is not orphaned.
std::vector<OrphanedAutosave> FindOrphanedAutosaves(const std::string& dir);
// Removes an orphan's files.
void DiscardAutosave(const OrphanedAutosave& orphan);
// Reads an orphan's document bytes.
FileStatus ReadAutosaveData(const OrphanedAutosave& orphan, std::string& data);

// This editor's slot: its lock is held from Claim until Release (or until the process
// ends, however it ends: the system releases the lock).
class AutosaveSlot {
 public:
  explicit AutosaveSlot(std::string dir) : dir_(std::move(dir)) {}
  ~AutosaveSlot();
  AutosaveSlot(const AutosaveSlot&) = delete;
  AutosaveSlot& operator=(const AutosaveSlot&) = delete;

  // Creates the directory and a slot of its own in it, named after the process id and the
  // time; false when that cannot be done (no autosaves then).
  bool Claim(int pid, std::int64_t now);
  bool claimed() const { return lock_fd_ >= 0; }
  const std::string& id() const { return id_; }
  std::string DataPath() const;
  std::string InfoPath() const;

  // Writes the session's document and its sidecar, each through a temporary file that
  // replaces the previous one only when complete. The user's file is never touched.
  FileStatus Write(const Session& session, std::int64_t now);
  // Whether the slot holds an autosave now.
  bool holds_autosave() const { return holds_autosave_; }
  // Removes the autosave (after a save, New, or when the work is no longer unsaved).
  void Remove();
  // Removes the autosave and the lock: the editor closes normally.
  void Release();

 private:
  std::string dir_;
  std::string id_;
  int pid_ = 0;
  int lock_fd_ = -1;
  bool holds_autosave_ = false;
};

}  // namespace lumetra
