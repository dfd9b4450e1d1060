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
  for (int i = 1; i <= doc.FrameCount; ++i) doc.FrameText[i] = DecodeToUtf8(doc.FrameText[i], from);
  for (std::string* field :
       {&doc.InfoTitle, &doc.InfoAuthor, &doc.InfoSource, &doc.InfoPrg, &doc.InfoFilepath,
        &doc.InfoDelay, &doc.InfoCdTrack, &doc.InfoComment, &doc.InfoFontLine}) {
    *field = DecodeToUtf8(*field, from);
  }
  doc.EndBulkChange();
  doc.NotifyHeaderChanged();
}

}  // namespace lumetra
