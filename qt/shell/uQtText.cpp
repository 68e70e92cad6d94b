#include "qt/shell/uQtText.h"

#include "platform/Gbk.h"

QString ToQ(const AnsiString& gbk) {
    const std::string utf8 = plat::GbkToUtf8(gbk);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

AnsiString FromQ(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return plat::Utf8ToGbk(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}
