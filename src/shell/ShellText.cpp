#include "shell/ShellText.h"

#include <QStringDecoder>

namespace varo::shell {

bool IsValidUtf8(const std::string& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  return !decoder.hasError();
}

QString FromBytes(const std::string& bytes) {
  const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(view);
  if (!utf8.hasError()) return text;
  QStringDecoder gbk("GBK");
  if (!gbk.isValid()) return text;  // no GBK codec: keep the replacement characters
  return gbk.decode(view);
}

std::string ToBytes(const QString& text) { return text.toStdString(); }

}  // namespace varo::shell
