// Subtitle files as bytes: recognising their kind, reading them into the document and
// writing the document in one of the formats (FileKinds). Nothing here touches the file system
// or asks the user; the session does both around these calls.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"

namespace lumetra {

// The UTF-8 byte-order mark, EF BB BF. At the very start of a file it is not part of the
// first line: detection and every reader skip it.
bool HasUtf8ByteOrderMark(std::string_view data);
std::string_view WithoutByteOrderMark(std::string_view data);

// True when the bytes are valid UTF-8 and hold at least one non-ASCII character.
bool LooksLikeUtf8Text(std::string_view data);

// Every function here that takes a file's bytes takes a UTF-16 file (one that begins with
// its byte-order mark) as its text in UTF-8, and the writer writes such a document back in
// its UTF-16 form.

// The kind of a subtitle file (FileKinds) from its first line that is not blank after
// trimming spaces (KindOfFirstLine); unknown when there is no such line.
int DetectSubtitleKind(std::string_view data);
// The kind a first line (spaces trimmed) names: "1" SubRip, "{" SUB, "[" or "0" SRT2, "<"
// SAMI, each later rule overriding an earlier one; then a line that is exactly "0" (entries
// numbered from 0) or that holds "-->" (entries without numbers) and does not begin with
// "{", "[" or "<" is SubRip; "WEBVTT" alone or followed by a blank is WebVTT; "[Script
// Info]" in any letter case is ASS (the reader tells SSA from it). Anything else: unknown.
int KindOfFirstLine(std::string_view line);
// True when the bytes hold no line that is not blank: nothing but spaces and line ends
// after any byte-order mark.
bool HoldsOnlyBlankLines(std::string_view data);

// The extension that saves in a kind's format ("txt", "sub", "srt", "smi", "vtt", "ass",
// "ssa"), and the format label of a kind ("(Normal SRT)", "(SRT2 with Info)", "(SMI-html)",
// "(WebVTT)", "(ASS)", "(SSA)"; SUB labels carry their rate, see SubFormatLabel). Empty
// for a kind that is no format.
std::string SaveExtOfKind(int kind);
// The kind whose format an extension saves in (lower case); unknown for any other.
int KindOfSaveExt(std::string_view ext);
// The kind whose format a file name's extension names: its last three characters, lower
// case, as a save extension ("movie.SRT" SRT2, "movie.txt" SubRip); unknown for any other.
int KindOfFileName(std::string_view name);
std::string SubFormatLabel(double fps);
// The label a read of this kind sets: SubFormatLabel(fps) for SUB, the fixed label of the
// other kinds, empty for an unknown kind.
std::string FormatLabelOfKind(int kind, double fps);
// Whether the format of a kind holds times before 0: WebVTT, ASS and SSA do not, and their
// writers write such a time as 0; the others (and a kind that is no format) do.
bool HoldsTimesBeforeZero(int kind);
// The frames, ascending, whose start or end is before 0.
std::vector<int> FramesBeforeZero(const Document& doc);

struct ReadResult {
  // Entries of the file beyond the frames the reader keeps (MaxReadFrames).
  int frames_left_out = 0;
  // SAMI with text in several classes (languages): the class read and the others.
  std::string class_read;
  std::vector<std::string> classes_left_out;
};

// The frame rate that a SUB file states in its first frame ("{1}{1}23.976" gives
// "23.976"), if it does; the session proposes it in the SUB frame-rate dialog.
std::optional<std::string> SubFileFrameRate(std::string_view data);

// Empties the document and fills it from the bytes of a file of the given kind: frames, the
// information header of SRT2 files, HasByteOrderMark, FileTextForm, Encoding, SubRateLine,
// and the frames' extras and the FileHeader of WebVTT, ASS and SSA. Encoding is UTF-8 for
// UTF-16 files, else `code_page` when given (a page the user chose for the file), else
// UTF-8 for WebVTT and for bytes that look like UTF-8, else the page guessed from the bytes
// (GuessSingleByteCodePage: Windows-1250 without a guess). SUB frame numbers become
// milliseconds at sub_fps (a SUB read also sets SubFps); a SUB frame-rate line is no frame.
// SAMI in which the line rules find no frame but that holds SYNC tags is read by the
// tolerant SAMI reader, its entities replaced in the Encoding just chosen. Sets the
// document's format: FileKind (SSA for an ASS file that says so, and the other way
// round), MarkupKind, SaveExt and FormatLabel. The observers see one reset. A kind that is
// no format changes nothing.
// With kWhenNeeded the bytes' page is found only where the read itself needs it (the
// tolerant SAMI reader); otherwise Encoding is left Windows-1250 unless it is known without
// looking at the bytes (UTF-16, WebVTT, `code_page`): for a caller that writes the bytes
// back as they are and never reads the page (lumetra-cli convert), which then saves the
// pass.
enum class CodePageGuess { kAlways, kWhenNeeded };
// Whether writing a document read from a file of `read_kind` in the format `write_kind`
// reads the code page of its texts: WebVTT is written in UTF-8, and the hard space of ASS
// markup is the page's no-break space.
bool WriteReadsCodePage(int read_kind, int write_kind);
ReadResult ReadSubtitleData(std::string_view data, int kind, double sub_fps, Document& doc,
                            std::optional<CodePage> code_page = std::nullopt,
                            CodePageGuess guess = CodePageGuess::kAlways);

struct WriteOptions {
  // A SUB save starts with the frame-rate line "{1}{1}RATE", which other programs read as
  // the rate, unless the document is SUB already and has none (it stays as it was read).
  bool sub_rate_line = false;
};

// The whole document in the format of `kind` (SubRip, SRT2 with the information header,
// SUB at sub_fps (0 counts as 25), SAMI, WebVTT, ASS, SSA); every line ends with CR LF, and
// the byte-order mark comes first when the document had one; a SUB file that stated its
// frame rate gets that line first, with sub_fps as the rate. The texts are written in the
// markup of the format (formats/markup.h); WebVTT, ASS and SSA write the extras and the
// header of a document of their own format back in their places, and a header and fields
// of their own for any other. A document read from UTF-16 is written in its UTF-16 form
// (WebVTT always in UTF-8). On success `out` holds exactly the file's bytes (whatever it
// held before is replaced). Returns false, writing nothing, for a kind that is no format.
// Which format to write is the caller's choice (see KindOfFileName).
bool WriteSubtitleData(const Document& doc, int kind, double sub_fps, std::string& out,
                       const WriteOptions& options = {});
// The same bytes handed to `put` in pieces of whole lines, through one reused buffer.
bool WriteSubtitleData(const Document& doc, int kind, double sub_fps,
                       const std::function<void(std::string_view)>& put,
                       const WriteOptions& options = {});

}  // namespace lumetra
