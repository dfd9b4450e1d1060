// The open subtitle document: the frame store, the information header and the document
// state. There is one document at a time; the session owns it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/code_pages.h"
#include "foundation/time_value.h"
#include "foundation/utf16.h"

namespace lumetra {

// Number of frame slots. Frames are slots 1..FrameCount; slot 0 is not a frame but holds
// 0, 0 and the empty text unless an operation writes it (the SAMI reader may store an end
// time there, and operations on frame 1 that look at the previous frame read it).
constexpr int MaxFrames = 10000;
// The readers keep at most this many frames; only Insert and mini mode fill the last slot.
constexpr int MaxReadFrames = MaxFrames - 1;

inline constexpr char kVersionText[] = "1.33";
inline constexpr char kProgramCaption[] = "Morvaly's Lumetra  -  v1.33 beta  (2004/10/15)";
inline constexpr char kApplicationTitle[] = "Lumetra";

// Content kinds found by DetectSubtitleKind.
enum FileKinds : int {
  kKindUnknown = 0,
  kKindSubRip = 1,
  kKindSub = 2,
  kKindSrt2 = 3,
  kKindSami = 4,
  kKindWebVtt = 5,
  kKindAss = 6,
  kKindSsa = 7,
};

// Values of Modified.
enum ModifiedStates : int {
  kClean = 0,
  kUnsaved = 1,          // unsaved changes; during a save prompt also: the user chose Yes
  kPromptCancelled = 2,  // the user chose Cancel in a save prompt
};

// What the document tells the views that show it. Frame numbers are 1-based. Changes come
// in pairs (about to / done) so that a view can follow them the way Qt's item models do.
class DocumentObserver {
 public:
  virtual ~DocumentObserver() = default;
  // Every frame may change, and their number too.
  virtual void DocumentAboutToReset() {}
  virtual void DocumentReset() {}
  // Frames first..last (inclusive) have new times or texts.
  virtual void FramesChanged(int first, int last) { (void)first, (void)last; }
  // count frames go in before the old frame `first`.
  virtual void FramesAboutToBeInserted(int first, int count) { (void)first, (void)count; }
  virtual void FramesInserted(int first, int count) { (void)first, (void)count; }
  // Frames first..first+count-1 go away.
  virtual void FramesAboutToBeRemoved(int first, int count) { (void)first, (void)count; }
  virtual void FramesRemoved(int first, int count) { (void)first, (void)count; }
  // The information header, the file identity or the file-name box text changed.
  virtual void HeaderChanged() {}
};

// What a frame's format holds beyond its times and text. The reader of a format that has
// more (WebVTT, ASS, SSA) fills it, its writer writes it back, and every other format
// ignores it. It moves with its frame through every edit.
struct FrameExtras {
  // Lines of the file between the frame before and this one that are no frame (WebVTT
  // NOTE blocks, ASS Comment lines), each ended by "\n".
  std::string lead;
  // The frame's own name in its file (a WebVTT cue identifier).
  std::string identifier;
  // How the frame is shown: a WebVTT cue's settings, an ASS dialogue's fields besides its
  // times and text. A frame inserted beside it takes it.
  std::string style;
  bool empty() const { return lead.empty() && identifier.empty() && style.empty(); }
  bool operator==(const FrameExtras&) const = default;
};

// The extras of the frame slots 0..MaxFrames. The column takes no memory until a slot gets
// extras that are not empty: documents of formats without them (most) never pay for it.
class FrameExtrasColumn {
 public:
  // Slot i's extras (empty ones while the column has none).
  const FrameExtras& operator[](std::size_t i) const {
    return slots_.empty() ? NoExtras() : slots_[i];
  }
  // Slot i's extras to change in place; the column takes its memory here.
  FrameExtras& Mutable(std::size_t i) {
    Allocate();
    return slots_[i];
  }
  // Gives slot i these extras (an empty value costs nothing while the column has none).
  void Set(std::size_t i, FrameExtras extras) {
    if (slots_.empty() && extras.empty()) return;
    Mutable(i) = std::move(extras);
  }
  // Whether any slot may hold extras; while not, every slot holds empty ones.
  bool Allocated() const { return !slots_.empty(); }
  // The slots, taking the column's memory.
  std::vector<FrameExtras>& Slots() {
    Allocate();
    return slots_;
  }

 private:
  static const FrameExtras& NoExtras() {
    static const FrameExtras kNone;
    return kNone;
  }
  void Allocate();

  std::vector<FrameExtras> slots_;
};

// What a file of such a format holds beyond its frames: the lines before the first frame
// (the ASS sections, the WebVTT header and its STYLE, REGION and NOTE blocks) and after the
// last, each ended by "\n", and the format (FileKinds) they belong to, which is also the
// format of the frames' extras.
struct FormatHeader {
  int kind = kKindUnknown;
  std::string head;
  std::string tail;
  bool operator==(const FormatHeader&) const = default;
};

// One frame: its times and its text (its extras are beside it, see FrameExtra).
struct Frame {
  TimeValue start = 0;
  TimeValue end = 0;
  std::string text;
  bool operator==(const Frame&) const = default;
};

// Told before the frame store changes, so that what was there can be kept (the undo
// history does). Frame numbers are 1-based.
class ChangeWatcher {
 public:
  virtual ~ChangeWatcher() = default;
  // Frame i is about to get new times.
  virtual void TimesAboutToChange(int i) = 0;
  // Frame i got a new text; `old` is the text it had.
  virtual void TextReplaced(int i, std::string&& old) = 0;
  // Frames from `first` on are about to move, appear or go.
  virtual void FramesAboutToMove(int first) = 0;
  // Frame i is about to get new extras.
  virtual void ExtrasAboutToChange(int i) { (void)i; }
};

class Document {
 public:
  Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // Frame store, slots 0..MaxFrames.
  std::vector<TimeValue> FrameStart;
  std::vector<TimeValue> FrameEnd;
  std::vector<std::string> FrameText;
  // What each frame's format holds beyond times and text, beside FrameText.
  FrameExtrasColumn FrameExtra;
  int FrameCount = 0;
  int CurFrame = 0;

  // Document identity and format.
  std::string FileName;  // full path while opening or saving, the name part afterwards
  std::string FileDir;   // directory of the current file, ending with the separator
  int FileKind = kKindUnknown;
  std::string SaveExt;
  std::string FormatLabel;
  double SubFps = 25.0;
  int LoadStatus = 0;
  int Modified = kClean;
  // Whether the file began with a UTF-8 byte-order mark; written back on save.
  bool HasByteOrderMark = false;
  // The code page the texts are shown and typed in (the bytes do not depend on it).
  CodePage Encoding = CodePage::kWindows1250;
  // The code page of the file when the texts are held in another one: typed characters
  // that it cannot hold moved them to UTF-8 (MoveTextsToUtf8). A save writes them in this
  // page again, or asks before it writes UTF-8. None while the texts are in the file's page.
  std::optional<CodePage> FileEncoding;
  // UTF-16 files are held as UTF-8 (Encoding kUtf8) and written back in their form.
  TextForm FileTextForm = TextForm::kBytes;
  // The first line of a SUB file that stated its own frame rate ("{1}{1}23.976"); a SUB
  // save writes such a line first. Empty when the file had none.
  std::string SubRateLine;
  // The format whose markup the texts hold (FileKinds): the format they were read from. A
  // save in a format of another markup converts them (formats/markup.h); unknown for texts
  // of no format, which count as SubRip's.
  int MarkupKind = kKindUnknown;
  // What the file holds beyond its frames, for the formats that keep it (see FormatHeader);
  // null when there is nothing. Shared and never changed in place: SetFileHeader replaces it.
  std::shared_ptr<const FormatHeader> FileHeader;

  // The information header.
  std::string InfoTitle;
  std::string InfoAuthor;
  std::string InfoSource;
  std::string InfoPrg;
  std::string InfoFilepath;
  std::string InfoDelay;
  std::string InfoCdTrack;
  std::string InfoComment;
  std::string InfoFontLine;

  // The text of the main window's file-name box: the file name after a reset, the name and
  // four spaces and the format label after a successful read or write.
  std::string FileBoxText;

  // Empties the document: no frames, clean, an empty information header whose program
  // field names this program; every slot 1..MaxFrames holds 0, 0, the empty text and no
  // extras. The file-name box shows FileName (which this leaves alone), and the format's
  // header (FileHeader) stays, as the document's format does. Tells the observers. Only the
  // slots that may have been used are cleared: those up to FrameCount, and those that
  // FrameCount covered when frames were inserted or removed through the edits below or a
  // bulk change ended (code that fills the arrays directly sets FrameCount over what it
  // filled before it lowers it, as the readers do).
  void ResetDocument();

  // The one-line summary of title, author and source for the main window.
  std::string ShowInfoSummary() const;

  // The frame list line of slot i.
  std::string FrameListLine(int i) const;

  // Frame i as one value.
  Frame FrameAt(int i) const;

  // Primitive edits; each tells the watcher first and the observers after. Callers set
  // Modified themselves.
  void SetTimes(int i, TimeValue start, TimeValue end);
  void SetText(int i, std::string text);
  void SetExtras(int i, FrameExtras extras);
  // Replaces the format's header; the undo history compares it before and after a command.
  void SetFileHeader(std::shared_ptr<const FormatHeader> header);
  // Inserts a frame before frame `at` (1..FrameCount+1); it takes the style of the frame
  // before it (of the one after it when it is the first). Refused (false) when the store
  // is full.
  bool InsertFrame(int at, TimeValue start, TimeValue end, std::string text);
  // Inserts frames before frame `at` as one block, with their extras (one per frame, or
  // none for frames without); refused (false, nothing changes) when they do not all fit
  // into the store.
  bool InsertFrames(int at, std::vector<Frame> frames, std::vector<FrameExtras> extras = {});
  // Removes frames first..first+count-1; slots above the new count keep no meaning.
  void RemoveFrames(int first, int count);
  // Removes the given frames (ascending, each 1..FrameCount) in one pass. Frames that are
  // not neighbours are shown to the views as one reset.
  void RemoveFrameList(const std::vector<int>& frames);
  // Before the given frames (ascending) are removed: the lines each holds before it (its
  // extras' lead, a note or a comment of the file) go to the next frame that stays, or to
  // the end of the format's header, so that removing frames loses no such line.
  void KeepLeadsOf(const std::vector<int>& frames);

  // The one watcher (the command runner while a command runs), or none; not owned.
  void SetChangeWatcher(ChangeWatcher* watcher) { watcher_ = watcher; }
  ChangeWatcher* change_watcher() const { return watcher_; }

  // Observers are not owned; they must outlive the document or remove themselves.
  void AddObserver(DocumentObserver* observer);
  void RemoveObserver(DocumentObserver* observer);

  // A bulk change made directly to the arrays above (a read fills the store this way)
  // sits between these two; the observers see one reset, and the watcher is told that the
  // frames from `first_moved` on may change. Bulk changes nest, and the primitive edits
  // inside one tell no observer.
  void BeginBulkChange(int first_moved = 1);
  void EndBulkChange();
  // Between these two, changed frames are told to the observers as one range at the end
  // (or before the next insert or removal). Batches nest.
  void BeginChangeBatch();
  void EndChangeBatch();
  void NotifyChanged(int first, int last);
  void NotifyHeaderChanged();

 private:
  template <typename Call>
  void Tell(Call call);

  void FlushChanges();
  void WillMove(int first);

  // Remembers that the slots up to `last` may hold frames.
  void NoteSlotsInUse(int last) {
    if (last > slots_in_use_) slots_in_use_ = last;
  }

  std::vector<DocumentObserver*> observers_;
  ChangeWatcher* watcher_ = nullptr;
  // Slots above this one and above FrameCount hold 0, 0 and the empty text.
  int slots_in_use_ = 0;
  int bulk_depth_ = 0;
  int batch_depth_ = 0;
  // The changed range waiting for the end of a batch; empty while first > last.
  int pending_first_ = 1;
  int pending_last_ = 0;
};

}  // namespace lumetra
