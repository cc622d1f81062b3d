#include "platform/qt/text1252.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace kelpie {

QString fromBytes(const std::string& bytes) {
  QStringDecoder decode("windows-1252");
  if (!decode.isValid())
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  return decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string toBytes(const QString& text) {
  QStringEncoder encode("windows-1252");
  if (!encode.isValid()) return text.toLatin1().toStdString();
  std::string out;
  out.reserve(static_cast<size_t>(text.size()));
  // Encode one character at a time so that what 1252 cannot hold becomes "?", not 0x1A.
  for (qsizetype i = 0; i < text.size(); ++i) {
    qsizetype len = 1;
    if (text[i].isHighSurrogate() && i + 1 < text.size()) len = 2;
    const QStringView ch = QStringView(text).mid(i, len);
    const QByteArray b = encode(ch);
    if (encode.hasError() || b.size() != 1 || (b[0] == '\x1A' && ch[0] != QChar(0x1A))) {
      out += '?';
      encode.resetState();
    } else {
      out += b[0];
    }
    i += len - 1;
  }
  return out;
}

QString fromBytesForDisplay(const std::string& bytes) {
  QString s = fromBytes(bytes);
  s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  s.replace(QChar('\r'), QChar('\n'));
  return s;
}

}  // namespace kelpie
