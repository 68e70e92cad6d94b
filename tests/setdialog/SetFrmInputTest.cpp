// Typing into the settings dialog as a user does: it opens with the focus on the first control of its
// tab order, a click into a time editor and digits change the hour or minute there, the text boxes open
// showing the beginning of their text, and no box takes more than the settings file keeps.
#include <QLineEdit>
#include <QTest>
#include <QTimeEdit>
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/Gbk.h"
#include "platform/Locale.h"
#include "qt/uSetControls.h"
#include "qt/uSetFrmQt.h"
#include "setdialog/SetDialogTestMain.h"
#include "settings/uControlObj.h"
#include "settings/uSysUtils.h"
#include "settings/uToolsObj.h"
#include "support/TempProgramDir.h"

namespace {

AnsiString G(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return plat::Utf8ToGbk(std::string(utf8.constData(), static_cast<size_t>(utf8.size())));
}

// A text far wider than its box, starting with a word that shows whether the box shows its beginning.
QString Long(const QString& start) {
    return start + QStringLiteral("，这是一条很长很长的提醒内容").repeated(8) + QStringLiteral("结尾");
}

// An x in the time editor's text where the caret lands at position, at the middle of the line.
int XAtCaret(QLineEdit* line, int position) {
    for (int x = 0; x < line->width(); ++x)
        if (line->cursorPositionAt(QPoint(x, line->height() / 2)) == position) return x;
    return -1;
}

}  // namespace

class SetFrmInputTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramDir> dir;
    std::unique_ptr<TSetFrm> form;
    std::unique_ptr<TSetFrmQt> frm;

    // A dialog prepared as the settings command prepares it.
    void Open(const TXHBX& settings, const AnsiString& background = AnsiString()) {
        frm.reset();
        form = std::make_unique<TSetFrm>();
        frm = std::make_unique<TSetFrmQt>(*form);
        form->FormCreate(*frm);
        form->img_leftbtn_XHBXClick();
        form->LoadData(settings, nullptr, background);
        form->LoadAutoRun();
    }
    static TXHBX Settings() {
        TXHBX s;
        s.OnTime = SysUtils::EncodeTime(12, 0, 0, 0);
        s.OnTime2 = SysUtils::EncodeTime(17, 0, 0, 0);
        s.OnTime3 = SysUtils::EncodeTime(21, 0, 0, 0);
        s.flashLonger = 20;
        return s;
    }

private slots:
    void initTestCase() {
        plat::SetFormatSettings(plat::FormatSettings());  // 24 hours, ':' between the fields
    }
    void init() { dir = std::make_unique<TempProgramDir>(); }
    void cleanup() {
        frm.reset();
        form.reset();
        dir.reset();
    }

    void opensWithTheFocusOnTheFirstControl() {
        Open(Settings());
        frm->show();
        QVERIFY(QTest::qWaitForWindowActive(frm.get()));
        QTRY_VERIFY(frm->edt_OnTime->hasFocus());
        // As if tabbed to: its hour is selected, and digits typed now replace it.
        QCOMPARE(frm->edt_OnTime->currentSection(), QDateTimeEdit::HourSection);
        QTest::keyClicks(frm->edt_OnTime, QStringLiteral("07"));
        QCOMPARE(frm->edt_OnTime->time(), QTime(7, 0));
    }

    void clickAndDigitsChangeTheSectionUnderTheCaret_data() {
        QTest::addColumn<int>("caret");  // where the click puts the caret in "HH:mm"
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QTime>("time");
        QTest::newRow("inside the hour") << 1 << "07" << QTime(7, 0);
        QTest::newRow("before the hour") << 0 << "9" << QTime(9, 0);
        QTest::newRow("inside the minute") << 4 << "45" << QTime(12, 45);
        QTest::newRow("after the minute") << 5 << "3" << QTime(12, 3);
    }
    void clickAndDigitsChangeTheSectionUnderTheCaret() {
        QFETCH(int, caret);
        QFETCH(QString, digits);
        QFETCH(QTime, time);
        Open(Settings());
        frm->show();
        QVERIFY(QTest::qWaitForWindowActive(frm.get()));
        QTimeEdit* editor = frm->edt_OnTime2;  // not the one that has the focus at the start
        editor->setTime(QTime(12, 0));
        auto* line = editor->findChild<QLineEdit*>();
        QVERIFY(line);
        const int x = XAtCaret(line, caret);
        QVERIFY(x >= 0);
        QTest::mouseClick(line, Qt::LeftButton, Qt::NoModifier, QPoint(x, line->height() / 2));
        QVERIFY(editor->hasFocus());
        QTest::keyClicks(editor, digits);
        QTest::keyClick(editor, Qt::Key_Tab);  // leaving the editor settles what was typed
        QCOMPARE(editor->time(), time);
    }

    void textBoxesShowTheirBeginning() {
        TXHBX s = Settings();
        s.txnr = G(Long(QStringLiteral("循环")));
        s.OnTimeTxnr = G(Long(QStringLiteral("一")));
        s.OnTimeTxnr2 = G(Long(QStringLiteral("二")));
        s.OnTimeTxnr3 = G(Long(QStringLiteral("三")));
        Open(s,
             G(QStringLiteral("/home/用户/图片/") + Long(QStringLiteral("背景")) + QStringLiteral(".bmp")));
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm.get()));
        for (QLineEdit* edit :
             std::vector<QLineEdit*>{frm->edt_XHBX_TXNR, frm->edtOnTimeTXNR, frm->edtOnTimeTXNR2,
                                     frm->edtOnTimeTXNR3, frm->edt_BJTP}) {
            QVERIFY2(edit->fontMetrics().horizontalAdvance(edit->text()) > edit->width(),
                     qPrintable(edit->objectName()));
            QCOMPARE(edit->cursorPosition(), 0);
            // The text's first character is the one at the box's left edge: nothing scrolled out.
            QCOMPARE(edit->cursorPositionAt(QPoint(4, edit->height() / 2)), 0);
        }
    }

    // Each box takes as many characters as the settings file keeps bytes, and a save keeps the whole
    // characters that fit in a value: 2047 ASCII characters, or 1023 Chinese ones (2046 bytes).
    void textBoxesTakeWhatTheFileKeeps() {
        Open(Settings());
        const std::vector<QLineEdit*> edits{frm->edt_XHBX_TXNR, frm->edtOnTimeTXNR, frm->edtOnTimeTXNR2,
                                            frm->edtOnTimeTXNR3, frm->edt_BJTP};
        for (const QString& unit : {QStringLiteral("a"), QStringLiteral("国")}) {
            const QString longest = unit.repeated(TTools::IniValueMax);
            for (QLineEdit* edit : edits) {
                edit->setText(longest + unit);
                QCOMPARE(edit->text(), longest);
            }
            form->img3Click();
            const QString kept = unit.repeated(TTools::IniValueMax / static_cast<int>(G(unit).size()));
            for (const char* key : {"txnr", "OnTimeTxnr", "OnTimeTxnr2", "OnTimeTxnr3"})
                QCOMPARE(QString::fromStdString(plat::GbkToUtf8(TTools::ReadIni("XHBX", key, ""))), kept);
            QCOMPARE(QString::fromStdString(plat::GbkToUtf8(TTools::ReadIni("XTSZ", "BJTP", ""))), kept);
        }
    }

    // A text pasted with line breaks is saved on one line.
    void pastedLineBreaksStayOnOneLine() {
        Open(Settings());
        frm->edt_XHBX_TXNR->setText(QStringLiteral("第一行\r\n第二行\n"));
        frm->edtOnTimeTXNR->setText(QStringLiteral("午饭\r[XTSZ]"));
        form->img3Click();
        QCOMPARE(QString::fromStdString(plat::GbkToUtf8(TTools::ReadIni("XHBX", "txnr", ""))),
                 QStringLiteral("第一行 第二行"));
        QCOMPARE(QString::fromStdString(plat::GbkToUtf8(TTools::ReadIni("XHBX", "OnTimeTxnr", ""))),
                 QStringLiteral("午饭 [XTSZ]"));
        const std::string file = dir->ReadIni();
        QCOMPARE(std::count(file.begin(), file.end(), '['), 2 + 1);  // the two sections and the text's
    }

    // Escape does not close the dialog: it has no cancel, and the user's input stays.
    void escapeKeepsTheDialogOpen() {
        Open(Settings());
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm.get()));
        frm->edtOnTimeTXNR->setFocus();
        QTest::keyClick(frm->edtOnTimeTXNR, Qt::Key_Escape);
        QTest::keyClick(frm.get(), Qt::Key_Escape);
        QVERIFY(frm->isVisible());
        QCOMPARE(frm->result(), 0);
    }
};

CHIMEWICK_SETDIALOG_TEST_MAIN(SetFrmInputTest)
#include "SetFrmInputTest.moc"
