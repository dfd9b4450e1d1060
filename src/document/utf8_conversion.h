// Re-encoding a document's texts into UTF-8, for programs that read nothing else.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"

namespace lumetra {

// Every frame text, its extras, the format's header and every information field, taken in
// the document's code page, becomes UTF-8, and so does the code page. A document read from
// UTF-16 is written as UTF-8 with the UTF-8 mark from then on. Texts already in UTF-8 keep
// their bytes. The observers see one reset.
void ConvertTextsToUtf8(Document& doc);

// Typed characters that the document's code page cannot hold: the texts move to UTF-8
// (ConvertTextsToUtf8), remembering the file's page in FileEncoding, so that nothing typed
// becomes "?". Nothing happens to texts already in UTF-8.
void MoveTextsToUtf8(Document& doc);

// Whether UTF-8 text holds only characters that the page can hold.
bool HeldBy(std::string_view utf8, CodePage page);
// The frames (ascending) whose UTF-8 texts hold characters that the page cannot hold, and
// whether the information header holds any.
std::vector<int> FramesNotHeldBy(const Document& doc, CodePage page);
bool HeaderHeldBy(const Document& doc, CodePage page);

// The texts (UTF-8), the frames' extras, the format's header and the information header
// written in the page, and the page the document's Encoding, for as long as this lives;
// then all as they were. Every text must be held by the page. Nothing is told to the
// document's observers.
class TextsInCodePage {
 public:
  TextsInCodePage(Document& doc, CodePage page);
  ~TextsInCodePage();
  TextsInCodePage(const TextsInCodePage&) = delete;
  TextsInCodePage& operator=(const TextsInCodePage&) = delete;

 private:
  Document& doc_;
  CodePage encoding_;
  std::shared_ptr<const FormatHeader> file_header_;
  std::vector<std::string> texts_;
  // Whether the frames' extras were changed too (none are while no frame has any).
  bool with_extras_;
};

}  // namespace lumetra
