#include "ui/text_codec.h"

#include "foundation/code_pages.h"

namespace lumetra {

// The core's tables, so that the editor shows what the command-line tool prints.
QString DecodeText(std::string_view bytes, CodePage page) {
  const std::string utf8 = DecodeToUtf8(bytes, page);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string EncodeText(const QString& text, CodePage page) {
  const QByteArray utf8 = text.toUtf8();
  return EncodeFromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
                        page);
}

}  // namespace lumetra
