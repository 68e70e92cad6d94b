#pragma once
// Qt's own texts (the file chooser's labels and buttons, the standard dialogs) in the user's language
// where that is Chinese, so they match the program's own Chinese texts.
#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

// Installs Qt's translation for locale when its language is Chinese (qtbase_zh_CN.qm from Debian's
// qt6-translations-l10n, or the variant the locale names) and returns it (owned by app); none for other
// languages. When it is missing, the log says what to install and Qt's English texts stay.
QTranslator* LoadQtTranslations(QCoreApplication& app, const QLocale& locale);
