#include "document/utf8_conversion.h"

#include <array>

namespace lumetra {

void ConvertTextsToUtf8(Document& doc) {
  if (doc.FileTextForm != TextForm::kBytes) {
    doc.FileTextForm = TextForm::kBytes;
    doc.HasByteOrderMark = true;  // the file had a mark; it keeps one
  }
  const CodePage from = doc.Encoding;
  doc.Encoding = CodePage::kUtf8;
  if (from == CodePage::kUtf8) return;
  doc.BeginBulkChange();
  for (int i = 1; i <= doc.FrameCount; ++i) doc.FrameText[i] = DecodeToUtf8(doc.FrameText[i], from);
  for (std::string* field :
       {&doc.InfoTitle, &doc.InfoAuthor, &doc.InfoSource, &doc.InfoPrg, &doc.InfoFilepath,
        &doc.InfoDelay, &doc.InfoCdTrack, &doc.InfoComment, &doc.InfoFontLine}) {
    *field = DecodeToUtf8(*field, from);
  }
  doc.EndBulkChange();
  doc.NotifyHeaderChanged();
}

namespace {

// The nine fields of the information header (const or not, as the document is).
template <typename Doc>
auto HeaderFieldsOf(Doc& doc) {
  return std::array{&doc.InfoTitle,   &doc.InfoAuthor,  &doc.InfoSource,
                    &doc.InfoPrg,     &doc.InfoFilepath, &doc.InfoDelay,
                    &doc.InfoCdTrack, &doc.InfoComment, &doc.InfoFontLine};
}

}  // namespace

void MoveTextsToUtf8(Document& doc) {
  if (doc.Encoding == CodePage::kUtf8) return;
  doc.FileEncoding = doc.Encoding;
  ConvertTextsToUtf8(doc);
}

bool HeldBy(std::string_view utf8, CodePage page) {
  if (page == CodePage::kUtf8) return true;
  std::string scratch;
  for (std::size_t at = 0; at < utf8.size();) {
    char32_t code_point;
    const int length = NextUtf8(utf8.substr(at), code_point);
    if (length == 0) return false;
    if (code_point >= 0x80) {
      scratch.clear();
      if (!AppendInCodePage(scratch, code_point, page)) return false;
    }
    at += static_cast<std::size_t>(length);
  }
  return true;
}

std::vector<int> FramesNotHeldBy(const Document& doc, CodePage page) {
  std::vector<int> frames;
  for (int i = 1; i <= doc.FrameCount; ++i) {
    if (!HeldBy(doc.FrameText[static_cast<std::size_t>(i)], page)) frames.push_back(i);
  }
  return frames;
}

bool HeaderHeldBy(const Document& doc, CodePage page) {
  for (const std::string* field : HeaderFieldsOf(doc)) {
    if (!HeldBy(*field, page)) return false;
  }
  return true;
}

TextsInCodePage::TextsInCodePage(Document& doc, CodePage page) : doc_(doc) {
  texts_.reserve(static_cast<std::size_t>(doc.FrameCount) + 9);
  for (int i = 1; i <= doc.FrameCount; ++i) {
    std::string& text = doc.FrameText[static_cast<std::size_t>(i)];
    texts_.push_back(std::move(text));
    text = EncodeFromUtf8(texts_.back(), page);
  }
  for (std::string* field : HeaderFieldsOf(doc)) {
    texts_.push_back(std::move(*field));
    *field = EncodeFromUtf8(texts_.back(), page);
  }
}

TextsInCodePage::~TextsInCodePage() {
  std::size_t k = 0;
  for (int i = 1; i <= doc_.FrameCount; ++i) {
    doc_.FrameText[static_cast<std::size_t>(i)] = std::move(texts_[k++]);
  }
  for (std::string* field : HeaderFieldsOf(doc_)) *field = std::move(texts_[k++]);
}

}  // namespace lumetra
