#include "ui/text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace lumetra {

namespace {

constexpr char kWindows1250[] = "windows-1250";

}  // namespace

QString DecodeText(std::string_view bytes, CodePage page) {
  const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
  if (page == CodePage::kUtf8) return QString::fromUtf8(view);
  QStringDecoder decoder(kWindows1250, QStringConverter::Flag::Stateless);
  return decoder.decode(view);
}

std::string EncodeText(const QString& text, CodePage page) {
  QByteArray bytes;
  if (page == CodePage::kUtf8) {
    bytes = text.toUtf8();
  } else {
    QStringEncoder encoder(kWindows1250, QStringConverter::Flag::Stateless);
    bytes = encoder.encode(text);
  }
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace lumetra
