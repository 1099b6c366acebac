#include "platform/ui/qt_text.h"

#include <QStringDecoder>

namespace ui {

QString toQString(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) return text;
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString toDisplayText(const std::string& bytes) {
    QString text = toQString(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    return text;
}

QString toWindowTitle(const std::string& bytes) {
    QString title = toQString(bytes);
    title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    return title;
}

std::string fromQString(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace ui
