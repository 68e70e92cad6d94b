// Layout, navigation and dragging of the settings dialog.
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTimeEdit>
#include <algorithm>
#include <memory>

#include "app/uSetFrm.h"
#include "app/uSetFrmLayout.h"
#include "qt/uControls.h"
#include "qt/uSetControls.h"
#include "qt/uSetFrmQt.h"
#include "setdialog/SetDialogTestMain.h"

using namespace setdlg;

namespace {

constexpr setdlg::TColor kPlain = 7920312;
constexpr setdlg::TColor kSelected = 12377261;

void SendMove(QWidget* w, QPoint local) {
    QMouseEvent move(QEvent::MouseMove, local, w->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

void SendButton(QEvent::Type type, QWidget* w, QPoint local) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent e(type, local, w->mapToGlobal(local), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

}  // namespace

class SetFrmLayoutTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TSetFrm> form;
    std::unique_ptr<TSetFrmQt> frm;

    // Which highlight bars are shown, as X (XHBX), D (DSBX), S (XTSZ) or "-" for none.
    QString ShownBars() const {
        QString shown;
        if (!frm->img_leftbtn_XHBX->isHidden()) shown += u'X';
        if (!frm->img_leftbtn_DSBX->isHidden()) shown += u'D';
        if (!frm->img_leftbtn_XTSZ->isHidden()) shown += u'S';
        return shown.isEmpty() ? QStringLiteral("-") : shown;
    }

private slots:
    void init() {
        form = std::make_unique<TSetFrm>();
        frm = std::make_unique<TSetFrmQt>(*form);
        form->FormCreate(*frm);
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm.get()));
    }
    void cleanup() {
        frm.reset();
        form.reset();
    }

    void window() {
        QCOMPARE(frm->objectName(), QStringLiteral("SetFrm"));
        QCOMPARE(frm->size(), QSize(703, 341));
        QVERIFY(frm->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(frm->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(frm->windowTitle(), QStringLiteral("设置"));
    }

    // What the user sees once the dialog has opened on the reminder page: the title strip, the close
    // picture at its right end, the green column with the selected entry on top and the system entry
    // directly below it, and the page area framed by green bars.
    void drawnLayout() {
        form->img_leftbtn_XHBXClick();
        QTest::qWait(0);
        const QImage shot = frm->grab().toImage();
        QCOMPARE(shot.size(), QSize(703, 341));
        struct Spot {
            const char* what;
            QPoint at;
            QColor color;
        } spots[] = {
            {"title strip", {300, 10}, QColor(0xF0, 0xFB, 0xFF)},
            {"selected reminder entry", {10, 30}, QColor(0xAD, 0xDC, 0xBC)},
            {"system entry right below", {10, 70}, QColor(0xB8, 0xDA, 0x78)},
            {"bare column", {60, 300}, QColor(0xB8, 0xDA, 0x78)},
            {"bar above the pages", {300, 23}, QColor(0xB8, 0xDA, 0x78)},
            {"bar right of the pages", {701, 200}, QColor(0xB8, 0xDA, 0x78)},
            {"bar below the pages", {300, 339}, QColor(0xB8, 0xDA, 0x78)},
        };
        for (const Spot& spot : spots) QVERIFY2(shot.pixelColor(spot.at) == spot.color, spot.what);
        // The close picture covers the strip's right end.
        QVERIFY(shot.pixelColor(688, 11) != QColor(0xF0, 0xFB, 0xFF));
        // The system entry's caption is drawn in its panel, below the reminder entry.
        bool captionInk = false;
        for (int x = 35; x < 95; ++x)
            if (shot.pixelColor(x, 63 + 20) != QColor(0xB8, 0xDA, 0x78)) captionInk = true;
        QVERIFY(captionInk);
    }

    void pagesWithoutTabs() {
        QCOMPARE(frm->pgc1->count(), 3);
        QCOMPARE(frm->pgc1->widget(0), frm->tsxhbx);
        QCOMPARE(frm->pgc1->widget(2), frm->tsxtsz);
        // A fresh dialog stands on the reminder-list page until the navigation switches it.
        QCOMPARE(frm->pgc1->ActivePage(), frm->tsdsbx);
        QCOMPARE(frm->tsdsbx->geometry(), QRect(4, 5, 555, 303));
        QVERIFY(frm->pnl_leftbtn_dsbx->isHidden());
        QVERIFY(frm->GroupBox1->isHidden());
        QCOMPARE(frm->RzCheckList1->count(), 2);
        QCOMPARE(frm->RzCheckList1->item(1)->text(), QStringLiteral("asdf"));
        QVERIFY(frm->RzRadioButton4->isChecked());
        QCOMPARE(frm->ImageList->Count(), 6);
    }

    // The pages hold one widget per row of the layout table: of the row's kind, under its parent, at
    // its rectangle, with its caption or default text, hidden where the row is.
    void everyControlOfThePages() {
        using SetFrmLayout::TKind;
        // A dialog as built, before the settings fill it.
        TSetFrm bare;
        TSetFrmQt built(bare);
        TSetFrmQt* frm = &built;
        for (const SetFrmLayout::TControl& row : SetFrmLayout::Controls()) {
            const QString name = QString::fromLatin1(row.Name);
            auto* widget = frm->findChild<QWidget*>(name);
            QVERIFY2(widget, qPrintable(name));
            const auto* parent = frm->findChild<QWidget*>(QString::fromLatin1(row.Parent));
            QVERIFY2(widget->parentWidget() == parent, qPrintable(name));
            const QString text = QString::fromUtf8(row.Text);
            const QRect r(row.Bounds.Left, row.Bounds.Top, row.Bounds.Width, row.Bounds.Height);
            QString shown;
            switch (row.Kind) {
                case TKind::Group:
                    QVERIFY2(qobject_cast<TGroupBox*>(widget), qPrintable(name));
                    shown = qobject_cast<QGroupBox*>(widget)->title();
                    break;
                case TKind::Label:
                    QVERIFY2(qobject_cast<QLabel*>(widget), qPrintable(name));
                    shown = qobject_cast<QLabel*>(widget)->text();
                    break;
                case TKind::Check:
                    QVERIFY2(row.Framed ? qobject_cast<TRzCheckBox*>(widget) != nullptr
                                        : qobject_cast<TCheckBox*>(widget) != nullptr,
                             qPrintable(name));
                    shown = qobject_cast<QCheckBox*>(widget)->text();
                    break;
                case TKind::Edit:
                    QVERIFY2(row.Framed ? qobject_cast<TRzEdit*>(widget) != nullptr
                                        : qobject_cast<TEdit*>(widget) != nullptr,
                             qPrintable(name));
                    QCOMPARE(widget->layoutDirection() == Qt::RightToLeft, row.RightAligned);
                    shown = qobject_cast<QLineEdit*>(widget)->text();
                    break;
                case TKind::Number: {
                    // The default value, brought within the box's range.
                    auto* number = qobject_cast<TRzNumericEdit*>(widget);
                    QVERIFY2(number, qPrintable(name));
                    QCOMPARE(number->Value(), std::clamp(text.toInt(), number->Min(), number->Max()));
                    shown = text;
                    break;
                }
                case TKind::Time:
                    QVERIFY2(qobject_cast<QTimeEdit*>(widget), qPrintable(name));
                    shown = qobject_cast<QTimeEdit*>(widget)->time().toString(QStringLiteral("HH:mm"));
                    break;
                case TKind::ButtonEdit:
                    QVERIFY2(qobject_cast<TRzButtonEdit*>(widget), qPrintable(name));
                    shown = qobject_cast<QLineEdit*>(widget)->text();
                    break;
                case TKind::Image:
                    QVERIFY2(qobject_cast<TImage*>(widget), qPrintable(name));
                    shown = text;
                    break;
            }
            QCOMPARE(shown, text);
            if (row.Kind == TKind::Label) {
                QCOMPARE(widget->pos(), r.topLeft());
            } else {
                QCOMPARE(widget->geometry(), r);
            }
            QCOMPARE(widget->isHidden(), row.Hidden);
        }
    }

    // Tab moves through the reminder page's controls in the table's tab order: the next control in
    // the focus chain that takes Tab after each one (beyond its own inner widgets) is the next row's.
    void tabOrderOfTheReminderPage() {
        form->img_leftbtn_XHBXClick();
        std::vector<QWidget*> chain;
        for (const SetFrmLayout::TControl* row : SetFrmLayout::TabOrder())
            if (std::string_view(row->Parent) == "GroupBox2")
                chain.push_back(frm->findChild<QWidget*>(QString::fromLatin1(row->Name)));
        QCOMPARE(chain.size(), size_t{12});
        for (size_t i = 0; i + 1 < chain.size(); ++i) {
            QWidget* next = chain[i]->nextInFocusChain();
            while (next != chain[i] && (chain[i]->isAncestorOf(next) || !next->isVisibleTo(frm.get()) ||
                                        !(next->focusPolicy() & Qt::TabFocus)))
                next = next->nextInFocusChain();
            QVERIFY2(next == chain[i + 1] || chain[i + 1]->isAncestorOf(next),
                     qPrintable(chain[i + 1]->objectName()));
        }
    }

    void framedCheckBoxColours() {
        for (TRzCheckBox* box : {frm->chk_startxhbx, frm->cbDsbj3, frm->chk_KJQD, frm->RzCheckBox1}) {
            QCOMPARE(box->FrameColor, 8409372);
            QCOMPARE(box->HighlightColor, 2203937);
            QVERIFY(box->HotTrack);
        }
        QVERIFY(frm->chk_startxhbx->CenterCaption);
        QVERIFY(!frm->chk_KJQD->CenterCaption);
        QCOMPARE(ToQColor(8409372), QColor(0x1C, 0x51, 0x80));
        QCOMPARE(frm->pnl2->palette().color(QPalette::Window), QColor(0xEB, 0xF7, 0xF2));
    }

    void showHoverImage_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("none") << "NUN"
                              << "-";
        QTest::newRow("reminder") << "img_leftbtn_XHBX"
                                  << "X";
        QTest::newRow("system, capitals") << "IMG_LEFTBTN_XTSZ"
                                          << "S";
        QTest::newRow("list, lower case") << "img_leftbtn_dsbx"
                                          << "D";
        QTest::newRow("drag strip is no bar") << "img1"
                                              << "-";
        QTest::newRow("other letters stay") << "img_leftbtn_XHBx1"
                                            << "-";
    }
    void showHoverImage() {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        form->ShowHoverImage("img_leftbtn_XTSZ");
        form->ShowHoverImage(name.toStdString());
        QCOMPARE(ShownBars(), shown);
        // Every bar is set to fill its entry, shown or not; a shown one covers the whole entry.
        for (TImage* bar : {frm->img_leftbtn_XHBX, frm->img_leftbtn_DSBX, frm->img_leftbtn_XTSZ}) {
            QCOMPARE(GetAlign(bar), TAlign::Client);
            if (!bar->isHidden()) QCOMPARE(bar->geometry(), QRect(0, 0, 137, 41));
        }
        QVERIFY(!frm->img1->isHidden());
        QVERIFY(!frm->img3->isHidden());
    }

    void selectNavButton_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("xhbx");
        QTest::addColumn<int>("dsbx");
        QTest::addColumn<int>("xtsz");
        QTest::newRow("hidden entry, mixed case") << "pnl_leftbtn_dsBX" << kPlain << kSelected << kPlain;
        QTest::newRow("system") << "PNL_LEFTBTN_XTSZ" << kPlain << kPlain << kSelected;
        QTest::newRow("none") << "pnl1" << kPlain << kPlain << kPlain;
    }
    void selectNavButton() {
        QFETCH(QString, name);
        QFETCH(int, xhbx);
        QFETCH(int, dsbx);
        QFETCH(int, xtsz);
        form->SelectNavButton("pnl_leftbtn_xhbx");
        form->SelectNavButton(name.toStdString());
        QCOMPARE(frm->pnl_leftbtn_xhbx->Color(), xhbx);
        QCOMPARE(frm->pnl_leftbtn_dsbx->Color(), dsbx);
        QCOMPARE(frm->pnl_leftbtn_xtsz->Color(), xtsz);
        QCOMPARE(frm->pnl_leftbtn_xhbx->palette().color(QPalette::Window), ToQColor(xhbx));
        // Panels of other kinds or without the entry marker keep their colours.
        QCOMPARE(frm->pnl1->Color(), kPlain);
        QCOMPARE(frm->pnl3->Color(), 16776176);
    }

    void hoverOverEntriesAndColumn() {
        SendMove(frm->pnl_leftbtn_xtsz, QPoint(5, 5));
        QCOMPARE(ShownBars(), QStringLiteral("S"));
        SendMove(frm->pnl_leftbtn_xhbx, QPoint(5, 5));
        QCOMPARE(ShownBars(), QStringLiteral("X"));
        SendMove(frm->pnl1, QPoint(5, 200));  // bare column below the entries
        QCOMPARE(ShownBars(), QStringLiteral("-"));
        SendMove(frm->pnl_leftbtn_xhbx, QPoint(5, 5));
        SendMove(frm->pnl2, QPoint(50, 50));  // the page area removes nothing
        QCOMPARE(ShownBars(), QStringLiteral("X"));
    }

    void clickingLabelOrBarSwitchesPage_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("selected");
        QTest::newRow("system label") << "lbl_1"
                                      << "tsxtsz"
                                      << "pnl_leftbtn_xtsz";
        QTest::newRow("system bar") << "img_leftbtn_XTSZ"
                                    << "tsxtsz"
                                    << "pnl_leftbtn_xtsz";
        QTest::newRow("reminder label") << "lbl_11"
                                        << "tsxhbx"
                                        << "pnl_leftbtn_xhbx";
        QTest::newRow("reminder bar") << "img_leftbtn_XHBX"
                                      << "tsxhbx"
                                      << "pnl_leftbtn_xhbx";
        QTest::newRow("list bar") << "img_leftbtn_DSBX"
                                  << "tsdsbx"
                                  << "pnl_leftbtn_dsbx";
    }
    void clickingLabelOrBarSwitchesPage() {
        QFETCH(QString, target);
        QFETCH(QString, page);
        QFETCH(QString, selected);
        frm->pgc1->SetActivePage(page == QLatin1String("tsxhbx") ? frm->tsxtsz : frm->tsxhbx);
        // A bar can be clicked once the pointer has shown it (the list entry's panel is hidden otherwise).
        if (target.startsWith(QLatin1String("img_"))) form->ShowHoverImage(target.toStdString());
        if (target == QLatin1String("img_leftbtn_DSBX")) frm->pnl_leftbtn_dsbx->show();
        auto* w = frm->findChild<QWidget*>(target);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(frm->pgc1->ActivePage()->objectName(), page);
        QCOMPARE(ShownBars(), QStringLiteral("-"));
        for (TPanel* entry : {frm->pnl_leftbtn_xhbx, frm->pnl_leftbtn_dsbx, frm->pnl_leftbtn_xtsz})
            QCOMPARE(entry->Color(), entry->objectName() == selected ? kSelected : kPlain);
    }

    void pressingOnTheBareEntrySelectsNothing() {
        form->img_leftbtn_XHBXClick();
        QTest::mouseClick(frm->pnl_leftbtn_xtsz, Qt::LeftButton, {}, QPoint(120, 5));
        QCOMPARE(frm->pgc1->ActivePage(), frm->tsxhbx);
    }

    void titleStripDrags() {
        const QPoint start = frm->pos();
        SendButton(QEvent::MouseButtonPress, frm->img1, QPoint(100, 10));
        SendMove(frm->img1, QPoint(130, 25));
        QCOMPARE(frm->pos(), start + QPoint(30, 15));
        // The window has moved under a resting pointer, which now lies at (100, 10) again: no step.
        SendMove(frm->img1, QPoint(100, 10));
        QCOMPARE(frm->pos(), start + QPoint(30, 15));
        SendButton(QEvent::MouseButtonRelease, frm->img1, QPoint(100, 10));
        QVERIFY(!form->FormMove.IsMoving);
        SendMove(frm->img1, QPoint(150, 15));
        QCOMPARE(frm->pos(), start + QPoint(30, 15));
    }

    void captionDoesNotDrag() {
        const QPoint start = frm->pos();
        QTest::mousePress(frm->lbl_3, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!form->FormMove.IsMoving);
        SendMove(frm->img1, QPoint(200, 20));
        QCOMPARE(frm->pos(), start);
        QTest::mouseRelease(frm->lbl_3, Qt::LeftButton, {}, QPoint(5, 5));
    }
};

CHIMEWICK_SETDIALOG_TEST_MAIN(SetFrmLayoutTest)
#include "SetFrmLayoutTest.moc"
