// What a Chinese user reads in the boxes and in Qt's own dialogs: the program's boxes have the buttons
// 确定 and 取消 in every language, and Qt's texts (the file chooser's) are Chinese where the locale is.
#include <QAbstractButton>
#include <QKeyEvent>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "QtTestMain.h"
#include "platform/Dialogs.h"
#include "platform/Gbk.h"
#include "qt/shell/uMessageBox.h"
#include "qt/shell/uTranslations.h"

Q_DECLARE_METATYPE(plat::TBoxKind)

namespace {

AnsiString G(const char* utf8) {
    return plat::Utf8ToGbk(utf8);
}

QStringList ButtonTexts(const QMessageBox& box) {
    QStringList texts;
    for (const QAbstractButton* button : box.buttons()) texts << button->text();
    texts.sort();
    return texts;
}

// Answers the next box that comes up: a click on the button with this text, or Escape when none.
void AnswerNextBox(const QString& buttonText) {
    QTimer::singleShot(0, [buttonText] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        if (buttonText.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton* button : box->buttons())
            if (button->text() == buttonText) return button->click();
        QFAIL(qPrintable("no button " + buttonText));
    });
}

}  // namespace

class MessageBoxTest : public QObject {
    Q_OBJECT
private slots:
    void buttons_data() {
        QTest::addColumn<plat::TBoxKind>("kind");
        QTest::addColumn<QStringList>("texts");  // sorted
        QTest::addColumn<QString>("escape");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::newRow("question") << plat::TBoxKind::Question
                                  << QStringList{QStringLiteral("取消"), QStringLiteral("确定")}
                                  << QStringLiteral("取消") << QMessageBox::Question;
        QTest::newRow("notice") << plat::TBoxKind::Notice << QStringList{QStringLiteral("确定")}
                                << QStringLiteral("确定") << QMessageBox::NoIcon;
        QTest::newRow("error") << plat::TBoxKind::Error << QStringList{QStringLiteral("确定")}
                               << QStringLiteral("确定") << QMessageBox::Critical;
    }
    void buttons() {
        QFETCH(plat::TBoxKind, kind);
        QFETCH(QStringList, texts);
        QFETCH(QString, escape);
        QFETCH(QMessageBox::Icon, icon);
        // The same whatever language Qt's own texts are in.
        for (const QLocale& locale :
             {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::C)}) {
            QLocale::setDefault(locale);
            const auto box = MakeMessageBox(G("是否开机启动?"), G("系统提示"), kind);
            QCOMPARE(box->windowTitle(), QStringLiteral("系统提示"));
            QCOMPARE(box->text(), QStringLiteral("是否开机启动?"));
            QCOMPARE(ButtonTexts(*box), texts);
            QCOMPARE(box->defaultButton()->text(), QStringLiteral("确定"));
            QCOMPARE(box->escapeButton()->text(), escape);
            QCOMPARE(box->icon(), icon);
        }
        QLocale::setDefault(QLocale::system());
    }

    void answers_data() {
        QTest::addColumn<QString>("press");  // a button's text; empty: Escape
        QTest::addColumn<int>("answer");
        QTest::newRow("确定") << QStringLiteral("确定") << plat::BoxOk;
        QTest::newRow("取消") << QStringLiteral("取消") << plat::BoxCancel;
        QTest::newRow("Escape") << QString() << plat::BoxCancel;
    }
    void answers() {
        QFETCH(QString, press);
        QFETCH(int, answer);
        AnswerNextBox(press);
        QCOMPARE(ShowMessageBoxQt(G("是否开机启动?"), G("系统提示"), plat::TBoxKind::Question), answer);
    }

    // Qt's file chooser in Chinese for a Chinese locale (Debian's qt6-translations-l10n), in English
    // otherwise.
    void qtTextsFollowAChineseLocale() {
        const char* source = "Files of type:";
        QTranslator* none = LoadQtTranslations(*qApp, QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(!none);
        QCOMPARE(QCoreApplication::translate("QFileDialog", source), QString::fromLatin1(source));

        QTranslator* chinese = LoadQtTranslations(*qApp, QLocale(QLocale::Chinese, QLocale::China));
        QVERIFY2(chinese, "qtbase_zh_CN.qm is missing (qt6-translations-l10n)");
        const QString translated = QCoreApplication::translate("QFileDialog", source);
        QVERIFY2(translated != QString::fromLatin1(source), qPrintable(translated));
        const bool chineseText = std::any_of(translated.begin(), translated.end(), [](QChar c) {
            return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF;
        });
        QVERIFY2(chineseText, qPrintable(translated));
        QCoreApplication::removeTranslator(chinese);
        delete chinese;
    }
};

CHIMEWICK_QTEST_MAIN(MessageBoxTest)
#include "MessageBoxTest.moc"
