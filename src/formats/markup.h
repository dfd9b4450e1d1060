// The markup of frame texts in each family of formats, and its conversion when a text is
// saved in a format of another family. A text keeps the markup of the file it was read
// from (Document::MarkupKind); the writer of another family converts italics, bold and
// underline into its own markup and drops every other tag or code, so that no markup
// shows as text.
#pragma once

#include <string>
#include <string_view>

#include "foundation/code_pages.h"

namespace lumetra {

enum class Markup {
  kHtml,    // SubRip, SRT2, SAMI: <i> <b> <u> (and <font ...>, and ASS's {\an8})
  kWebVtt,  // <i> <b> <u> <c.class> <v Speaker> <lang> <ruby> <00:00:01.000>
  kAss,     // override blocks {\i1}...{\i0}, \h for a hard space
  kSub,     // {y:i} for a line, {Y:i} for the whole frame, {c:$BBGGRR} and other codes
};

// The end (the index of ">") of an HTML-like tag that starts at `at` (a "<"), or npos. A
// tag opens with a letter or "/" (or, with `time_stamps`, is a WebVTT time stamp such as
// "<00:01.000>") and closes on its line.
std::size_t HtmlTagEnd(std::string_view text, std::size_t at, bool time_stamps);

// The markup of a kind's texts (FileKinds); texts of no format are taken as kHtml.
Markup MarkupOfKind(int kind);

// The text in the markup `to`; texts of the same markup come back unchanged. Line breaks
// ("|") stay where they are. `page` is the code page of the text's bytes (for the hard
// space of ASS, which is a no-break space elsewhere).
std::string ConvertMarkup(std::string_view text, Markup from, Markup to, CodePage page);
// Appends ConvertMarkup's text to `out` when it may be another than `text`
// (ConvertsMarkup); false, appending nothing, when it is `text` as it is.
bool AppendConvertedMarkup(std::string& out, std::string_view text, Markup from, Markup to,
                           CodePage page);
// Whether ConvertMarkup gives another text than `text` may be (false: it gives it as it is).
bool ConvertsMarkup(std::string_view text, Markup from, Markup to, CodePage page);

// The texts of a save, one after another, in the markup of the format written.
class MarkupConverter {
 public:
  MarkupConverter(Markup from, Markup to, CodePage page);
  // ConvertMarkup of the text: the text itself where it stays as it is, else the converted
  // text in a buffer that the next call reuses.
  std::string_view Convert(std::string_view text);
  // Convert of a text that holds one of the characters StaysWithout sets.
  std::string_view ConvertHolding(std::string_view text);
  // ConvertHolding's text written at `at`, where the text is written as
  // PutLinesJoined(at, text, "|") writes it (each kLiteralBar a "|"), with 16 bytes after it
  // that may be read and overwritten: what PutLinesJoined(at, ConvertHolding(text), "|")
  // would write. For texts going from HTML into SUB whose SUB holds no codes, as most
  // such texts' (a style inside a line cannot be held), up to 128 bytes: returns the end.
  // Null for any other text, the bytes from `at` on then undefined.
  char* PutHoldingWithoutSubCodes(char* at, std::string_view text) const;
  // Sets two characters (perhaps one twice) and returns true when a text stays as it is
  // exactly when it holds neither of them; false when the texts convert by another rule.
  bool StaysWithout(char& first, char& second) const;

 private:
  Markup from_;
  Markup to_;
  CodePage page_;
  std::string converted_;
};

}  // namespace lumetra
