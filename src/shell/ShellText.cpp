#include "shell/ShellText.h"

#include <QStringDecoder>

#include <string_view>

namespace varo::shell {

bool IsValidUtf8(const std::string& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  return !decoder.hasError();
}

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// True when `run` is a whole number of well-formed three-byte UTF-8 characters.
bool IsThreeByteUtf8(std::string_view run) {
  if (run.empty() || run.size() % 3 != 0) return false;
  for (std::size_t i = 0; i < run.size(); i += 3) {
    const auto lead = static_cast<unsigned char>(run[i]);
    if ((lead & 0xF0) != 0xE0) return false;
    if (!IsContinuation(static_cast<unsigned char>(run[i + 1])) ||
        !IsContinuation(static_cast<unsigned char>(run[i + 2])))
      return false;
  }
  return IsValidUtf8(std::string(run));
}

QString Decode(QStringDecoder& decoder, std::string_view bytes) {
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

}  // namespace

QString FromBytes(const std::string& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = Decode(utf8, bytes);
  if (!utf8.hasError()) return text;
  QStringDecoder gbk("GBK", QStringDecoder::Flag::Stateless);
  if (!gbk.isValid()) return text;  // no GBK codec: keep the replacement characters

  QString out;
  const std::string_view all(bytes);
  std::size_t i = 0;
  while (i < all.size()) {
    std::size_t j = i;
    const bool ascii = static_cast<unsigned char>(all[i]) < 0x80;
    while (j < all.size() && (static_cast<unsigned char>(all[j]) < 0x80) == ascii) ++j;
    const std::string_view run = all.substr(i, j - i);
    if (ascii) {
      out += QString::fromLatin1(run.data(), static_cast<qsizetype>(run.size()));
    } else if (IsThreeByteUtf8(run)) {
      out += QString::fromUtf8(run.data(), static_cast<qsizetype>(run.size()));
    } else {
      // A GBK character may end in an ASCII byte (0x40-0x7E): a lead byte
      // left without its partner takes the next byte along.
      std::size_t k = 0;
      while (k < run.size()) k += static_cast<unsigned char>(run[k]) >= 0x81 ? 2u : 1u;
      if (k > run.size() && j < all.size()) ++j;
      out += Decode(gbk, all.substr(i, j - i));
    }
    i = j;
  }
  return out;
}

std::string ToBytes(const QString& text) { return text.toStdString(); }

}  // namespace varo::shell
