#include "ui/text_codec.h"

#include <QStringList>

#include "document/utf8_conversion.h"
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

bool HoldsText(const QString& text, CodePage page) {
  const QByteArray utf8 = text.toUtf8();
  return HeldBy(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), page);
}

void MakeRoomForTyping(Document& doc, const QString& typed) {
  if (!HoldsText(typed, doc.Encoding)) MoveTextsToUtf8(doc);
}

QString DecodeLines(const std::vector<std::string>& lines, CodePage page) {
  QStringList shown;
  for (const std::string& line : lines) shown << DecodeText(line, page);
  return shown.join('\n');
}

std::vector<std::string> EncodeLines(const QString& text, const std::vector<std::string>& old_lines,
                                     CodePage page) {
  const QStringList shown = text.split('\n');
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(shown.size()));
  for (qsizetype i = 0; i < shown.size(); ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (k < old_lines.size() && DecodeText(old_lines[k], page) == shown[i]) {
      lines.push_back(old_lines[k]);
    } else {
      lines.push_back(EncodeText(shown[i], page));
    }
  }
  return lines;
}

}  // namespace lumetra
