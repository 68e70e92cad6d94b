#include "qt/uSetFrmQt.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImageReader>
#include <QScreen>
#include <QShowEvent>
#include <QTimeEdit>
#include <QWindow>

#include "qt/shell/uResources.h"
#include "qt/uSetControls.h"
#include "qt/uSetFrmLook.h"

using namespace setdlg;

namespace {

// Every picture format the toolkit can read, all together first, then one by one, named in Chinese
// like the rest of the chooser.
QString PictureFilter() {
    QStringList patterns;
    QStringList single;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString pattern = QStringLiteral("*.") + QString::fromLatin1(format).toLower();
        patterns << pattern;
        single << Q("%1 图片 (%2)").arg(QString::fromLatin1(format).toUpper(), pattern);
    }
    return Q("所有图片 (%1);;").arg(patterns.join(u' ')) + single.join(QStringLiteral(";;"));
}

// "description|pattern|description|pattern" as Qt's name filters ("description (pattern)").
QStringList NameFilters(const QString& pairs) {
    const QStringList parts = pairs.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
    return filters;
}

}  // namespace

TSetFrmQt::TSetFrmQt(TSetFrm& form, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), Form(form) {
    setObjectName(QStringLiteral("SetFrm"));
    setWindowTitle(Q("设置"));
    setWindowIcon(ProgramIcon());
    if (owner) {
        // Transient for the owner's window, also when the owner has never been shown yet (the first
        // start opens the dialog before the main window comes up).
        owner->winId();
        winId();
        windowHandle()->setTransientParent(owner->windowHandle());
    }
    setFont(Face(12, false));
    setFixedSize(TSetFrm::DesignWidth, TSetFrm::DesignHeight);
    CreateComponents();
    BindHandlers();
}

TSetFrmQt::~TSetFrmQt() = default;

// ---- what the behaviour tells the dialog ---------------------------------------------------------

TRect TSetFrmQt::ScreenRect() const {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect r = s->geometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

TRect TSetFrmQt::WindowRect() const {
    const QRect r = geometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

void TSetFrmQt::PlaceWindow(const TRect& rect) {
    move(rect.Left, rect.Top);  // the size is fixed
}

TPoint TSetFrmQt::ClientToScreen(TPoint client) const {
    const QPoint p = mapToGlobal(QPoint(client.X, client.Y));
    return {p.x(), p.y()};
}

QWidget* TSetFrmQt::Control(TSetControl control) const {
    // Each control's widget carries the control's name.
    return findChild<QWidget*>(QLatin1String(SetControlName(control)));
}

AnsiString TSetFrmQt::Text(TSetControl control) const {
    QWidget* w = Control(control);
    if (auto* time = qobject_cast<QTimeEdit*>(w))
        return FromQ(time->time().toString(QStringLiteral("HH:mm")));
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return FromQ(edit->text());
    return AnsiString();
}

void TSetFrmQt::SetText(TSetControl control, const AnsiString& text) {
    QWidget* w = Control(control);
    if (auto* time = qobject_cast<QTimeEdit*>(w))
        time->setTime(QTime::fromString(ToQ(text), QStringLiteral("HH:mm")));
    else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(ToQ(text));
        edit->setCursorPosition(0);  // setText leaves the caret, and the view, at the end
    }
}

void TSetFrmQt::showEvent(QShowEvent* event) {
    // The first control of the tab order of the page the dialog opens on, as if tabbed to: a time
    // editor then has its hour selected, ready to be typed over.
    if (!event->spontaneous()) edt_OnTime->setFocus(Qt::TabFocusReason);
    QDialog::showEvent(event);
}

bool TSetFrmQt::Checked(TSetControl control) const {
    auto* box = qobject_cast<QAbstractButton*>(Control(control));
    return box && box->isChecked();
}

void TSetFrmQt::SetChecked(TSetControl control, bool checked) {
    if (auto* box = qobject_cast<QAbstractButton*>(Control(control))) box->setChecked(checked);
}

void TSetFrmQt::SetVisible(TSetControl control, bool visible) {
    if (QWidget* w = Control(control)) w->setVisible(visible);
}

void TSetFrmQt::SetColor(TSetControl control, ::TColor color) {
    if (auto* panel = qobject_cast<TPanel*>(Control(control))) panel->SetColor(color);
}

void TSetFrmQt::ShowPage(TSetPage page) {
    pgc1->SetActivePage(page == TSetPage::tsxhbx ? tsxhbx : page == TSetPage::tsdsbx ? tsdsbx : tsxtsz);
}

bool TSetFrmQt::ChooseFile(const TFileChoice& choice, AnsiString& path) {
    // One dialog for each kind, made when first needed and kept for the dialog's life.
    QFileDialog*& dialog = choice.Filter.empty() ? OpenPic : od_xhbx;
    if (!dialog) {
        dialog = Own(new QFileDialog(this), choice.Filter.empty() ? "OpenPic" : "od_xhbx");
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
        if (!choice.Title.empty()) dialog->setWindowTitle(ToQ(choice.Title));
        if (choice.Filter.empty())
            dialog->setNameFilter(PictureFilter());
        else
            dialog->setNameFilters(NameFilters(ToQ(choice.Filter)));
    }
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return false;
    path = FromQ(QDir::toNativeSeparators(dialog->selectedFiles().constFirst()));
    return true;
}

void TSetFrmQt::ShowModal() {
    exec();
}

void TSetFrmQt::CloseModal() {
    accept();
}

void TSetFrmQt::reject() {}
