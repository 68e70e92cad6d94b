#include "qt/shell/uTranslations.h"

#include <QLibraryInfo>

#include "platform/Log.h"

QTranslator* LoadQtTranslations(QCoreApplication& app, const QLocale& locale) {
    if (locale.language() != QLocale::Chinese) return nullptr;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(&app);
    // The locale's own variant first (zh_TW for Taiwan, ...), else the simplified Chinese one.
    if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder) ||
        translator->load(QStringLiteral("qtbase_zh_CN"), folder)) {
        QCoreApplication::installTranslator(translator);
        return translator;
    }
    delete translator;
    plat::LogLine(
        "Qt's Chinese texts (qtbase_zh_CN.qm) are not in " + folder.toStdString() +
        ", so the file chooser shows them in English; they come with the package qt6-translations-l10n.");
    return nullptr;
}
