#include "document/utf8_conversion.h"

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
    FrameExtras& extras = doc.FrameExtra[static_cast<std::size_t>(i)];
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

}  // namespace lumetra
