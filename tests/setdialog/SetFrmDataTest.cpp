// Filling the settings dialog, saving it, its input checks, its pickers and failing saves.
#include <sys/inotify.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Errors.h"
#include "platform/Gbk.h"
#include "platform/Locale.h"
#include "platform/Registry.h"
#include "qt/uMainFrmQt.h"
#include "qt/uSetControls.h"
#include "qt/uSetFrmQt.h"
#include "setdialog/SetDialogTestMain.h"
#include "settings/uControlObj.h"
#include "settings/uSysUtils.h"
#include "settings/uToolsObj.h"
#include "support/ScriptedBoxes.h"
#include "support/SettingsTableFiles.h"
#include "support/TempProgramDir.h"

using namespace setdlg;

namespace {

AnsiString G(const char* utf8) {
    return plat::Utf8ToGbk(utf8);
}

using Keys = std::vector<std::pair<std::string, AnsiString>>;

// A settings file as the dialog writes it into an empty program folder.
std::string IniBytes(const Keys& xhbx, const Keys& xtsz) {
    std::string out = "[XHBX]\r\n";
    for (const auto& [k, v] : xhbx) out += k + "=" + v + "\r\n";
    if (xtsz.empty()) return out;
    out += "[XTSZ]\r\n";
    for (const auto& [k, v] : xtsz) out += k + "=" + v + "\r\n";
    return out;
}

TXHBX Sample() {
    TXHBX s;
    s.startXHBJ = true;
    s.xhzq = 45;
    s.startDSBJ = false;
    s.OnTime = SysUtils::EncodeTime(12, 0, 0, 0);
    s.OnTimeTxnr = G("该准备吃午饭了！");
    s.startDSBJ2 = true;
    s.OnTime2 = SysUtils::EncodeTime(17, 5, 0, 0);
    s.OnTimeTxnr2 = G("下班");
    s.startDSBJ3 = false;
    s.OnTime3 = SysUtils::EncodeTime(21, 0, 0, 0);
    s.OnTimeTxnr3 = G("副本");
    s.txnr = G("看一眼蓝天吧！");
    s.startXHBJFlash = true;
    s.XHBXFlashSetByUser = "/movies/a.swf";
    s.XHBXFlashWord = G("到点");
    s.flashLonger = 30;
    return s;
}

// What Sample() is written back as when nothing was changed.
Keys SampleKeys() {
    return {{"startXHBJ", "1"},
            {"xhzq", "45"},
            {"startDSBJ", "0"},
            {"OnTime", "12:00:00"},
            {"OnTimeTxnr", G("该准备吃午饭了！")},
            {"startDSBJ2", "1"},
            {"OnTime2", "17:05:00"},
            {"OnTimeTxnr2", G("下班")},
            {"startDSBJ3", "0"},
            {"OnTime3", "21:00:00"},
            {"OnTimeTxnr3", G("副本")},
            {"txnr", G("看一眼蓝天吧！")},
            {"startXHBJFlash", "1"},
            {"XHBXFlashSetByUser", "/movies/a.swf"},
            {"XHBXFlashWord", G("到点")},
            {"flashLonger", "30"}};
}

void Set(Keys& keys, const std::string& key, const AnsiString& value) {
    for (auto& kv : keys)
        if (kv.first == key) kv.second = value;
}

// A configuration object that skips reading the file, so a test can set its fields or reread them.
struct TestControl : TControl {
    TestControl() : TControl(nullptr, NoLoad{}) {}
};

AnsiString AutoRunEntry() {
    return TTools::RegReadString(plat::RegRoot::LocalMachine, plat::RunKeyPath, AutoRunValueName);
}

}  // namespace

class SetFrmDataTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramDir> dir;
    std::unique_ptr<TSetFrm> form;
    std::unique_ptr<TSetFrmQt> frm;

    // A dialog prepared as the settings command prepares it.
    void Open(const TXHBX& settings) {
        frm.reset();
        form = std::make_unique<TSetFrm>();
        frm = std::make_unique<TSetFrmQt>(*form);
        form->FormCreate(*frm);
        form->img_leftbtn_XHBXClick();
        form->LoadData(settings, nullptr);
        form->LoadAutoRun();
    }

private slots:
    void initTestCase() {
        plat::FormatSettings fs;  // a 24-hour locale with ':' between the fields
        plat::SetFormatSettings(fs);
    }
    void init() {
        dir = std::make_unique<TempProgramDir>();
        ShownErrors().clear();
    }
    void cleanup() {
        frm.reset();
        form.reset();
        AppControl = nullptr;
        dir.reset();
    }

    void loadDataFillsTheControls() {
        Open(Sample());
        QVERIFY(frm->chk_startxhbx->isChecked());
        QCOMPARE(frm->edt_XHBX_XHZQ->text(), QStringLiteral("45"));
        QCOMPARE(frm->edt_XHBX_TXNR->text(), QStringLiteral("看一眼蓝天吧！"));
        QVERIFY(!frm->cbDsbj->isChecked());
        QVERIFY(frm->cbDsbj2->isChecked());
        QCOMPARE(frm->edt_OnTime2->text(), QStringLiteral("17:05"));
        QCOMPARE(frm->edtOnTimeTXNR2->text(), QStringLiteral("下班"));
        QCOMPARE(frm->edt_OnTime3->time(), QTime(21, 0));
        QVERIFY(frm->chk_XHFlash->isChecked());
        QCOMPARE(frm->edt_XHBX_Flash->text(), QStringLiteral("/movies/a.swf"));
        QCOMPARE(frm->edt_XHBX_FlashWord->text(), QStringLiteral("到点"));
        QCOMPARE(frm->edt_flashlonger->text(), QStringLiteral("30"));
        QCOMPARE(frm->edt_BJTP->text(), QString());
        QVERIFY(!frm->chk_KJQD->isChecked());
        // Nothing is written before the close picture is clicked.
        QVERIFY(!std::filesystem::exists(dir->IniDir()));
    }

    // Each setting's control is a widget of its conversion's kind, named as the control, and every key
    // goes from the file through its widget back into the file unchanged.
    void everySettingHasItsWidgetAndRoundTrips() {
        for (int variant = 0; variant < settingsfiles::Variants; ++variant) {
            dir = std::make_unique<TempProgramDir>();
            const std::string file = settingsfiles::File(variant);
            dir->WriteIni(file);
            TestControl config;
            config.LoadSettings();
            frm.reset();
            form = std::make_unique<TSetFrm>();
            frm = std::make_unique<TSetFrmQt>(*form);
            form->FormCreate(*frm);
            form->LoadData(config.XHBX, nullptr, config.BJTP);
            form->LoadAutoRun();
            for (const TSetting& row : SettingsTable()) {
                if (!row.Control) continue;
                const QString name = QString::fromLatin1(SetControlName(*row.Control));
                auto* widget = frm->findChild<QWidget*>(name);
                QVERIFY2(widget, row.Key);
                if (row.Text == TSettingText::Flag)
                    QVERIFY2(qobject_cast<QAbstractButton*>(widget), row.Key);
                else if (row.Text == TSettingText::TimeOfDay)
                    QVERIFY2(qobject_cast<QTimeEdit*>(widget), row.Key);
                else
                    QVERIFY2(qobject_cast<QLineEdit*>(widget), row.Key);
            }
            ScriptedBoxes boxes;
            form->img3Click();
            QCOMPARE(frm->result(), int(QDialog::Accepted));
            QVERIFY(boxes.shown.empty());
            QCOMPARE(QByteArray::fromStdString(dir->ReadIni()), QByteArray::fromStdString(file));
        }
    }

    void closingWritesEveryKeyInOrder() {
        Open(Sample());
        frm->edt_XHBX_TXNR->setText(QStringLiteral("  走走  "));
        frm->edtOnTimeTXNR->setText(QStringLiteral(" 午饭\t"));
        frm->edtOnTimeTXNR3->setText(QStringLiteral("   "));
        frm->edt_OnTime->setTime(QTime(7, 30));
        frm->edt_BJTP->setText(QStringLiteral("  /pics/背景.bmp "));
        frm->chk_KJQD->setChecked(true);
        form->img3Click();

        QCOMPARE(frm->result(), int(QDialog::Accepted));
        Keys xhbx = SampleKeys();
        Set(xhbx, "txnr", G("  走走  "));  // the cyclic text keeps its blanks
        Set(xhbx, "OnTimeTxnr", G("午饭"));
        Set(xhbx, "OnTimeTxnr3", "");
        Set(xhbx, "OnTime", "07:30:00");
        const std::string expected = IniBytes(xhbx, {{"NotFirstStart", "1"}, {"BJTP", G("/pics/背景.bmp")}});
        QCOMPARE(QByteArray::fromStdString(dir->ReadIni()), QByteArray::fromStdString(expected));
        QCOMPARE(QString::fromStdString(AutoRunEntry()), QString::fromStdString(dir->ExePath()));

        // The configuration reads back what the dialog showed, the times to the same value.
        TestControl control;
        control.LoadSettings();
        QCOMPARE(control.XHBX.OnTime, SysUtils::EncodeTime(7, 30, 0, 0));
        QCOMPARE(control.XHBX.OnTime2, SysUtils::EncodeTime(17, 5, 0, 0));
        QCOMPARE(control.XHBX.xhzq, 45);
        QCOMPARE(control.XHBX.flashLonger, 30);
        QVERIFY(!control.FirstStart);
    }

    // All keys of one save reach the file in one replacement, so a crash during the save leaves the
    // old settings or the new ones (tests/platform/linux/ProfileCrashTest.cpp kills such saves).
    void oneSaveReplacesTheFileOnce() {
        dir->WriteIni("; kept\r\n[XHBX]\r\nxhzq=10\r\n");
        Open(Sample());
        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0);
        QVERIFY(inotify_add_watch(watch, dir->IniDir().c_str(), IN_MOVED_TO | IN_CREATE) >= 0);
        form->img3Click();
        // Alike events in a row are merged into one; the temporary files' creations keep the
        // replacements apart.
        int replaced = 0;
        alignas(inotify_event) char buf[8192];
        for (ssize_t n; (n = read(watch, buf, sizeof buf)) > 0;) {
            for (char* p = buf; p < buf + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                const bool settings = event->len > 0 && std::string(event->name) == "Tovik.ini";
                if (settings && (event->mask & IN_MOVED_TO)) ++replaced;
                p += sizeof(inotify_event) + event->len;
            }
        }
        close(watch);
        QCOMPARE(replaced, 1);
        QCOMPARE(TTools::ReadIni("XHBX", "xhzq", "missing"), AnsiString("45"));
        QCOMPARE(TTools::ReadIni("XTSZ", "NotFirstStart", "missing"), AnsiString("1"));
        QVERIFY(dir->ReadIni().rfind("; kept\r\n", 0) == 0);
    }

    void periodBox_data() {
        QTest::addColumn<int>("loaded");
        QTest::addColumn<bool>("clear");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        QTest::newRow("thousands stay plain") << 1000 << false << ""
                                              << "1000"
                                              << "1000";
        // A stored value the box would not take is shown and, untouched, written back as it was.
        QTest::newRow("hand-edited zero kept") << 0 << false << ""
                                               << "0"
                                               << "0";
        QTest::newRow("negative kept") << -5 << false << ""
                                       << "-5"
                                       << "-5";
        QTest::newRow("too long for seconds kept") << 40000000 << false << ""
                                                   << "40000000"
                                                   << "40000000";
        QTest::newRow("emptied") << 120 << true << ""
                                 << ""
                                 << "1";
        QTest::newRow("letters and signs refused") << 120 << true << "1a-2,3"
                                                   << "123"
                                                   << "123";
        QTest::newRow("full-width digits")
            << 120 << true << QStringLiteral("１２０") << QStringLiteral("１２０") << "120";
        QTest::newRow("no more digits than the range has") << 120 << true << "999999999"
                                                           << "99999999"
                                                           << "";
        QTest::newRow("zero") << 120 << true << "0"
                              << "0"
                              << "";
        QTest::newRow("leading zeros") << 120 << true << "007"
                                       << "007"
                                       << "7";
    }
    void periodBox() {
        QFETCH(int, loaded);
        QFETCH(bool, clear);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        TXHBX s = Sample();
        s.xhzq = loaded;
        Open(s);
        if (clear) frm->edt_XHBX_XHZQ->clear();
        if (typed.toLatin1() == typed.toUtf8()) {
            QTest::keyClicks(frm->edt_XHBX_XHZQ, typed);
        } else {
            // As a Chinese input method in its full-width mode hands them over.
            QInputMethodEvent commit;
            commit.setCommitString(typed);
            QApplication::sendEvent(frm->edt_XHBX_XHZQ, &commit);
        }
        QCOMPARE(frm->edt_XHBX_XHZQ->text(), shown);
        // Empty: the range message, and nothing is written.
        ScriptedBoxes boxes({plat::BoxOk});
        form->img3Click();
        QCOMPARE(boxes.shown.size(), size_t(stored.isEmpty() ? 1 : 0));
        QCOMPARE(QString::fromStdString(TTools::ReadIni("XHBX", "xhzq", "")), stored);
    }

    void keyFilter_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("after");
        QTest::newRow("digit 0") << int('0') << int('0');
        QTest::newRow("digit 9") << int('9') << int('9');
        QTest::newRow("backspace") << 8 << 8;
        QTest::newRow("letter") << int('a') << 0;
        QTest::newRow("minus") << int('-') << 0;
        QTest::newRow("blank") << int(' ') << 0;
        QTest::newRow("paste key") << 22 << 0;
    }
    void keyFilter() {
        QFETCH(int, key);
        QFETCH(int, after);
        Open(Sample());
        char c = static_cast<char>(key);
        form->edt_XHBX_XHZQ1KeyPress(c);
        QCOMPARE(int(c), after);
    }

    void typingIntoTheAnimationLength() {
        Open(Sample());
        frm->edt_flashlonger->clear();
        QTest::keyClicks(frm->edt_flashlonger, QStringLiteral("1a2b"));
        QCOMPARE(frm->edt_flashlonger->text(), QStringLiteral("12"));
        QTest::keyClick(frm->edt_flashlonger, Qt::Key_Backspace);
        QCOMPARE(frm->edt_flashlonger->text(), QStringLiteral("1"));
    }

    void rangeCheck_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("boxes");
        QTest::addColumn<QString>("after");
        QTest::newRow("above") << "60" << 1 << "20";
        QTest::newRow("upper bound") << "45" << 0 << "45";
        QTest::newRow("lower bound") << "0" << 0 << "0";
        QTest::newRow("below") << "-1" << 1 << "20";
        QTest::newRow("empty counts as 0") << "" << 0 << "";
    }
    void rangeCheck() {
        QFETCH(QString, text);
        QFETCH(int, boxes);
        QFETCH(QString, after);
        Open(Sample());
        ScriptedBoxes shown({plat::BoxOk});
        frm->edt_flashlonger->setText(text);
        QCOMPARE(int(shown.shown.size()), boxes);
        if (boxes) {
            QCOMPARE(QString::fromStdString(plat::GbkToUtf8(shown.shown[0].Text)),
                     QStringLiteral("输入范围: 0-45 之间的一个值"));
            QCOMPARE(shown.shown[0].Kind, plat::TBoxKind::Notice);
            QCOMPARE(QString::fromStdString(shown.shown[0].Caption), QStringLiteral("Chimewick"));
        }
        QCOMPARE(frm->edt_flashlonger->text(), after);
        QVERIFY(ShownErrors().empty());
    }

    void outOfRangeLengthFromTheFileIsReplaced() {
        ScriptedBoxes shown({plat::BoxOk});
        TXHBX s = Sample();
        s.flashLonger = 60;
        Open(s);
        QCOMPARE(int(shown.shown.size()), 1);
        QCOMPARE(frm->edt_flashlonger->text(), QStringLiteral("20"));
        form->SaveXHBX();
        QCOMPARE(TTools::ReadIni("XHBX", "flashLonger", "missing"), AnsiString("20"));
    }

    void emptiedLengthIsStoredAsZero() {
        Open(Sample());
        frm->edt_flashlonger->clear();
        form->SaveXHBX();
        QCOMPARE(TTools::ReadIni("XHBX", "flashLonger", "missing"), AnsiString("0"));
    }

    void malformedLengthReachesTheErrorHandler() {
        Open(Sample());
        ScriptedBoxes shown;
        frm->edt_flashlonger->setText(QStringLiteral("99999999999"));
        QCOMPARE(ShownErrors().size(), size_t{1});
        QCOMPARE(QString::fromStdString(ShownErrors()[0]),
                 QStringLiteral("'99999999999' is not a valid integer value"));
        QCOMPARE(frm->edt_flashlonger->text(), QStringLiteral("99999999999"));
        QVERIFY(shown.shown.empty());
        QVERIFY_THROWS_EXCEPTION(EConvertError, form->edt_flashlongerChange());
    }

    void startAtLoginEntry_data() {
        QTest::addColumn<QString>("entry");  // "exe", "EXE" (other case), "" (none)
        QTest::addColumn<bool>("ticked");
        QTest::newRow("names this program") << "exe" << true;
        QTest::newRow("other letter case") << "EXE" << false;
        QTest::newRow("no entry") << "" << false;
    }
    void startAtLoginEntry() {
        QFETCH(QString, entry);
        QFETCH(bool, ticked);
        if (entry == QLatin1String("exe"))
            TTools::RegWriteString(plat::RegRoot::LocalMachine, plat::RunKeyPath, AutoRunValueName,
                                   dir->ExePath());
        if (entry == QLatin1String("EXE"))
            TTools::RegWriteString(plat::RegRoot::LocalMachine, plat::RunKeyPath, AutoRunValueName,
                                   QString::fromStdString(dir->ExePath()).toUpper().toStdString());
        Open(Sample());
        QCOMPARE(frm->chk_KJQD->isChecked(), ticked);
        // Closing as it stands keeps a matching entry and removes any other.
        form->img3Click();
        QCOMPARE(AutoRunEntry(), ticked ? dir->ExePath() : AnsiString());
    }

    void aSaveThatFailsKeepsTheDialogOpen_data() {
        QTest::addColumn<bool>("blockIni");  // else the start-at-login folder is blocked
        QTest::addColumn<QString>("message");
        QTest::newRow("no Ini folder") << true << QString::fromLocal8Bit(std::strerror(EEXIST));
        QTest::newRow("no autostart folder") << false << QStringLiteral("Failed to set data for 'Tovik'");
    }
    void aSaveThatFailsKeepsTheDialogOpen() {
        QFETCH(bool, blockIni);
        QFETCH(QString, message);
        // Running as root, permissions do not stop writes: a plain file where the folder belongs does.
        const std::filesystem::path blocker = blockIni ? dir->IniDir() : dir->AutostartDir();
        std::ofstream(blocker) << "not a folder";
        Open(Sample());
        frm->chk_KJQD->setChecked(true);
        frm->edt_XHBX_TXNR->setText(QStringLiteral("别走"));
        frm->edt_BJTP->setText(QStringLiteral("/pics/a.bmp"));
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm.get()));

        // Clicked like the user does: the message comes with the question whether to leave without
        // saving; 取消 returns to the dialog.
        ScriptedBoxes boxes({plat::BoxCancel});
        QTest::mouseClick(frm->img3, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(boxes.shown.size(), size_t{1});
        QCOMPARE(QString::fromStdString(plat::GbkToUtf8(boxes.shown[0].Text)),
                 message + "\n\n" + QString::fromUtf8(TSetFrm::SaveFailedQuestion));
        QVERIFY(ShownErrors().empty());
        QVERIFY(frm->isVisible());
        QVERIFY(frm->result() != QDialog::Accepted);
        QCOMPARE(frm->edt_XHBX_TXNR->text(), QStringLiteral("别走"));
        QVERIFY(frm->chk_KJQD->isChecked());
        if (blockIni) {
            QVERIFY(std::filesystem::is_regular_file(dir->IniDir()));
        } else {
            // Everything before the refused entry stays written; the background is not.
            Keys xhbx = SampleKeys();
            Set(xhbx, "txnr", G("别走"));
            QCOMPARE(QByteArray::fromStdString(dir->ReadIni()),
                     QByteArray::fromStdString(IniBytes(xhbx, {{"NotFirstStart", "1"}})));
        }

        // Once the obstacle is gone the next click saves everything and closes.
        std::filesystem::remove(blocker);
        QTest::mouseClick(frm->img3, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(boxes.shown.size(), size_t{1});
        QVERIFY(!frm->isVisible());
        QCOMPARE(frm->result(), int(QDialog::Accepted));
        QCOMPARE(TTools::ReadIni("XTSZ", "BJTP", "missing"), AnsiString("/pics/a.bmp"));
        QCOMPARE(AutoRunEntry(), dir->ExePath());
    }

    void showSetFormRunsTheDialog() {
        TestControl control;
        control.BJTP = G("/pics/旧.bmp");
        AppControl = &control;
        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            auto* SetFrmQt = qobject_cast<TSetFrmQt*>(QApplication::activeModalWidget());
            QVERIFY(SetFrmQt && SetFrmQt->isVisible());
            QVERIFY(SetFrmQt->isModal());
            QCOMPARE(SetFrmQt->pgc1->ActivePage(), SetFrmQt->tsxhbx);
            QCOMPARE(SetFrmQt->pnl_leftbtn_xhbx->Color(), 12377261);
            QCOMPARE(SetFrmQt->edt_XHBX_XHZQ->text(), QStringLiteral("45"));
            QCOMPARE(SetFrmQt->edt_BJTP->text(), QStringLiteral("/pics/旧.bmp"));
            checked = true;
            QTest::mouseClick(SetFrmQt->img3, Qt::LeftButton, {}, QPoint(5, 5));
        });
        TMainFrm mainForm;
        TMainFrmQt owner(mainForm);
        QVERIFY(ShowSetForm(Sample(), nullptr, owner));
        QVERIFY(checked);
        // A background chosen earlier survives a save that did not touch it.
        QCOMPARE(TTools::ReadIni("XTSZ", "BJTP", "missing"), G("/pics/旧.bmp"));
        QCOMPARE(TTools::ReadIni("XHBX", "xhzq", "missing"), AnsiString("45"));
    }

    void pickers_data() {
        QTest::addColumn<bool>("picture");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("background, confirmed") << true << true;
        QTest::newRow("background, cancelled") << true << false;
        QTest::newRow("animation, confirmed") << false << true;
        QTest::newRow("animation, cancelled") << false << false;
    }
    void pickers() {
        QFETCH(bool, picture);
        QFETCH(bool, confirm);
        const std::filesystem::path file = dir->Root() / (picture ? "bg.png" : "a.swf");
        std::ofstream(file) << "x";
        Open(Sample());
        frm->show();
        QLineEdit* box = picture ? static_cast<QLineEdit*>(frm->edt_BJTP) : frm->edt_XHBX_Flash;
        const QString before = box->text();
        QString title;
        QStringList filters;
        QTimer::singleShot(0, this, [&] {
            QFileDialog* d = picture ? frm->OpenPic : frm->od_xhbx;
            QVERIFY(d && d->isVisible());
            title = d->windowTitle();
            filters = d->nameFilters();
            if (!confirm) {
                d->reject();
                return;
            }
            d->selectFile(QString::fromStdString(file.string()));
            static_cast<QDialog*>(d)->accept();  // the file dialog's own accept checks the file
        });
        if (picture)
            frm->edt_BJTP->Button()->click();
        else
            frm->img_XHBX_Flash->OnClick(frm->img_XHBX_Flash);
        QCOMPARE(box->text(), confirm ? QString::fromStdString(file.string()) : before);
        if (picture) {
            QCOMPARE(title, QStringLiteral("界面背景"));
            QVERIFY(filters.first().contains(QLatin1String("*.bmp")));
        } else {
            QCOMPARE(filters, QStringList{QStringLiteral("flash文件 (*.swf)")});
        }
        QVERIFY(ShownErrors().empty());
    }
};

CHIMEWICK_SETDIALOG_TEST_MAIN(SetFrmDataTest)
#include "SetFrmDataTest.moc"
