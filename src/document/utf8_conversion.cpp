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
  for (int i = 1; i <= doc.FrameCount; ++i) {
    doc.FrameText[i] = DecodeToUtf8(doc.FrameText[i], from);
    if (!doc.FrameExtra.Allocated()) continue;
    FrameExtras& extras = doc.FrameExtra.Mutable(static_cast<std::size_t>(i));
    for (std::string* part : {&extras.lead, &extras.identifier, &extras.style}) {
      *part = DecodeToUtf8(*part, from);
    }
  }
  if (doc.FileHeader) {
    auto header = std::make_shared<FormatHeader>(*doc.FileHeader);
    header->head = DecodeToUtf8(header->head, from);
    header->tail = DecodeToUtf8(header->tail, from);
    doc.FileHeader = std::move(header);
  }
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
  return std::array{&doc.InfoTitle,   &doc.InfoAuthor,   &doc.InfoSource,
                    &doc.InfoPrg,     &doc.InfoFilepath, &doc.InfoDelay,
                    &doc.InfoCdTrack, &doc.InfoComment,  &doc.InfoFontLine};
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

TextsInCodePage::TextsInCodePage(Document& doc, CodePage page)
    : doc_(doc),
      encoding_(doc.Encoding),
      file_header_(doc.FileHeader),
      with_extras_(doc.FrameExtra.Allocated()) {
  texts_.reserve(static_cast<std::size_t>(doc.FrameCount) * (with_extras_ ? 4 : 1) + 9);
  auto encode = [&](std::string& text) {
    texts_.push_back(std::move(text));
    text = EncodeFromUtf8(texts_.back(), page);
  };
  for (int i = 1; i <= doc.FrameCount; ++i) {
    const auto k = static_cast<std::size_t>(i);
    encode(doc.FrameText[k]);
    if (!with_extras_) continue;
    FrameExtras& extras = doc.FrameExtra.Mutable(k);
    for (std::string* part : {&extras.lead, &extras.identifier, &extras.style}) encode(*part);
  }
  for (std::string* field : HeaderFieldsOf(doc)) encode(*field);
  if (doc.FileHeader) {
    auto header = std::make_shared<FormatHeader>(*doc.FileHeader);
    header->head = EncodeFromUtf8(header->head, page);
    header->tail = EncodeFromUtf8(header->tail, page);
    doc.FileHeader = std::move(header);
  }
  doc.Encoding = page;
}

TextsInCodePage::~TextsInCodePage() {
  std::size_t k = 0;
  for (int i = 1; i <= doc_.FrameCount; ++i) {
    const auto slot = static_cast<std::size_t>(i);
    doc_.FrameText[slot] = std::move(texts_[k++]);
    if (!with_extras_) continue;
    FrameExtras& extras = doc_.FrameExtra.Mutable(slot);
    for (std::string* part : {&extras.lead, &extras.identifier, &extras.style}) {
      *part = std::move(texts_[k++]);
    }
  }
  for (std::string* field : HeaderFieldsOf(doc_)) *field = std::move(texts_[k++]);
  doc_.FileHeader = std::move(file_header_);
  doc_.Encoding = encoding_;
}

}  // namespace lumetra
