#include "qt/banner/uBannerProtocol.h"

#include <QUrl>

namespace BannerProtocol {

QByteArray Line(const QByteArray& word, const QList<QByteArray>& args) {
    QByteArray line = word;
    for (const QByteArray& arg : args) line += ' ' + arg;
    return line + '\n';
}

QList<QByteArray> Split(const QByteArray& line) {
    QList<QByteArray> parts = line.trimmed().split(' ');
    parts.removeAll(QByteArray());
    return parts;
}

QByteArray Encode(const QString& text) {
    // An empty text still needs a field of its own.
    return text.isEmpty() ? QByteArray("%") : QUrl::toPercentEncoding(text);
}

QString Decode(const QByteArray& field) {
    return field == "%" ? QString() : QUrl::fromPercentEncoding(field);
}

}  // namespace BannerProtocol
