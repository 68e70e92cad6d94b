#include "qt/uSetControls.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QValidator>
#include <algorithm>

#include "qt/shell/uApplication.h"
#include "qt/uControls.h"
#include "settings/uToolsObj.h"

namespace setdlg {

// ---- alignment -----------------------------------------------------------------------------------

namespace {

const char* const kAlignProperty = "chimewickAlign";
const char* const kAlignSeqProperty = "chimewickAlignSeq";

// Arranges the glued children of one parent. Children glue in the order they were glued; the top
// ones go first, then the bottom, left and right ones, and a filling child takes what is left.
class TAligner : public QObject {
public:
    explicit TAligner(QWidget* host) : QObject(host), FHost(host) { host->installEventFilter(this); }

    void Realign() {
        if (FBusy) return;
        FBusy = true;
        std::vector<QWidget*> glued;
        for (QObject* child : FHost->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (w && !w->isWindow() && !w->isHidden() && GetAlign(w) != TAlign::None) glued.push_back(w);
        }
        std::stable_sort(glued.begin(), glued.end(), [](QWidget* a, QWidget* b) {
            return a->property(kAlignSeqProperty).toInt() < b->property(kAlignSeqProperty).toInt();
        });
        QRect space = FHost->contentsRect();
        for (TAlign pass : {TAlign::Top, TAlign::Bottom, TAlign::Left, TAlign::Right, TAlign::Client}) {
            for (QWidget* w : glued) {
                if (GetAlign(w) != pass) continue;
                switch (pass) {
                    case TAlign::Top:
                        w->setGeometry(space.left(), space.top(), space.width(), w->height());
                        space.setTop(space.top() + w->height());
                        break;
                    case TAlign::Bottom:
                        w->setGeometry(space.left(), space.bottom() + 1 - w->height(), space.width(),
                                       w->height());
                        space.setBottom(space.bottom() - w->height());
                        break;
                    case TAlign::Left:
                        w->setGeometry(space.left(), space.top(), w->width(), space.height());
                        space.setLeft(space.left() + w->width());
                        break;
                    case TAlign::Right:
                        w->setGeometry(space.right() + 1 - w->width(), space.top(), w->width(),
                                       space.height());
                        space.setRight(space.right() - w->width());
                        break;
                    default:
                        w->setGeometry(space);
                        break;
                }
            }
        }
        FBusy = false;
    }

    void Watch(QWidget* child) { child->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if (watched == FHost) {
            if (type == QEvent::Resize) Realign();
        } else if (watched->parent() == FHost &&
                   (type == QEvent::ShowToParent || type == QEvent::HideToParent || type == QEvent::Resize)) {
            Realign();
        }
        return false;
    }

private:
    QWidget* FHost;
    bool FBusy = false;
};

TAligner* AlignerOf(QWidget* host) {
    for (QObject* child : host->children())
        if (auto* found = dynamic_cast<TAligner*>(child)) return found;
    return new TAligner(host);
}

}  // namespace

void SetAlign(QWidget* control, TAlign align) {
    static int sequence = 0;
    const bool first = !control->property(kAlignProperty).isValid();
    control->setProperty(kAlignProperty, static_cast<int>(align));
    if (first) control->setProperty(kAlignSeqProperty, ++sequence);
    QWidget* host = control->parentWidget();
    if (!host) return;
    TAligner* aligner = AlignerOf(host);
    if (first) aligner->Watch(control);
    aligner->Realign();
}

TAlign GetAlign(const QWidget* control) {
    const QVariant v = control->property(kAlignProperty);
    return v.isValid() ? static_cast<TAlign>(v.toInt()) : TAlign::None;
}

// ---- panels --------------------------------------------------------------------------------------

TRzPanel::TRzPanel(QWidget* parent, Border border) : QFrame(parent), FBorder(border) {
    setAutoFillBackground(false);
}

void TRzPanel::SetColor(TColor color) {
    FColor = color;
    update();
}

void TRzPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor fill = FColor ? ToQColor(*FColor) : palette().color(QPalette::Window);
    const QColor line = palette().color(QPalette::Mid);
    switch (FBorder) {
        case Border::FlatRounded:
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(line);
            p.setBrush(fill);
            p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
            break;
        case Border::FlatLeft:
            p.fillRect(rect(), fill);
            p.setPen(line);
            p.drawLine(0, 0, 0, height() - 1);
            break;
        case Border::None:
            p.fillRect(rect(), fill);
            break;
    }
}

// ---- edits ---------------------------------------------------------------------------------------

TEdit::TEdit(QWidget* parent) : QLineEdit(parent) {
    // No more than the settings file keeps: a longer text would come back cut, perhaps in the middle of
    // a character.
    setMaxLength(TTools::IniTextMaxChars);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (OnChange) RunStep([this] { OnChange(this); });
    });
}

void TEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    if (!OnKeyPress || typed.isEmpty()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Each typed character goes through the handler; characters outside ASCII reach it as a
    // non-printable stand-in, so a filter that knows only ASCII swallows them.
    QString kept;
    for (QChar c : typed) {
        const char original = c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '\x7f';
        char key = original;
        OnKeyPress(this, key);
        if (key == 0) continue;
        kept += key == original ? c : QChar(static_cast<unsigned char>(key));
    }
    if (kept.isEmpty()) {
        event->accept();
        return;
    }
    if (kept == typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent changed(event->type(), event->key(), event->modifiers(), kept, event->isAutoRepeat(),
                      static_cast<quint16>(event->count()));
    QLineEdit::keyPressEvent(&changed);
}

TRzEdit::TRzEdit(QWidget* parent) : TEdit(parent) {
    setStyleSheet(
        QStringLiteral("QLineEdit { border: 1px solid #A0A0A0; background: white; padding: 0 1px; }"));
}

namespace {

// Plain decimal digits whose value lies in min..max. Intermediate: empty, or below min (still typing).
class TDigitsValidator : public QValidator {
public:
    TDigitsValidator(QObject* parent, int32_t min, int32_t max) : QValidator(parent), FMin(min), FMax(max) {}

    // Digits only, plain or full-width (as a Chinese input method types them); a number outside the
    // range may stand in the box: the dialog says so when it is saved, and nothing is changed silently.
    State validate(QString& input, int&) const override {
        if (input.isEmpty()) return Intermediate;
        if (input.size() > QString::number(FMax).size()) return Invalid;
        for (QChar c : input)
            if (Digit(c) < 0) return Invalid;
        const int64_t v = Parse(input);
        return v < FMin || v > FMax ? Intermediate : Acceptable;
    }

    // The digit c stands for, or -1.
    static int Digit(QChar c) {
        if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
        if (c >= u'\uFF10' && c <= u'\uFF19') return c.unicode() - u'\uFF10';
        return -1;
    }

    // The value of a run of digits, saturated well above any 32-bit bound.
    static int64_t Parse(const QString& digits) {
        int64_t v = 0;
        for (QChar c : digits)
            if (Digit(c) >= 0) v = std::min<int64_t>(v * 10 + Digit(c), int64_t{1} << 40);
        return v;
    }

private:
    int32_t FMin;
    int32_t FMax;
};

}  // namespace

TRzNumericEdit::TRzNumericEdit(QWidget* parent, int32_t min, int32_t max)
    : TRzEdit(parent), FMin(min), FMax(max) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setValidator(new TDigitsValidator(this, min, max));
}

int32_t TRzNumericEdit::Value() const {
    if (text().trimmed().isEmpty()) return FMin;
    return static_cast<int32_t>(std::clamp<int64_t>(TDigitsValidator::Parse(text()), FMin, FMax));
}

void TRzNumericEdit::SetValue(int64_t value) {
    setText(QString::number(std::clamp<int64_t>(value, FMin, FMax)));
}

TRzButtonEdit::TRzButtonEdit(QWidget* parent) : TRzEdit(parent), FButton(new QToolButton(this)) {
    FButton->setObjectName(QStringLiteral("button"));
    FButton->setText(QStringLiteral("..."));
    FButton->setAutoRaise(true);
    FButton->setCursor(Qt::ArrowCursor);
    FButton->setFocusPolicy(Qt::NoFocus);
    setTextMargins(0, 0, 18, 0);
    connect(FButton, &QToolButton::clicked, this, [this] {
        if (OnButtonClick) RunStep([this] { OnButtonClick(this); });
    });
}

void TRzButtonEdit::resizeEvent(QResizeEvent* event) {
    TRzEdit::resizeEvent(event);
    const int side = height() - 2;
    FButton->setGeometry(width() - side - 1, 1, side, side);
}

// ---- check boxes and buttons --------------------------------------------------------------------

TRzCheckBox::TRzCheckBox(QWidget* parent, const QString& caption) : QCheckBox(caption, parent) {
    setAttribute(Qt::WA_Hover);
}

void TRzCheckBox::enterEvent(QEnterEvent* event) {
    QCheckBox::enterEvent(event);
    update();
}

void TRzCheckBox::leaveEvent(QEvent* event) {
    QCheckBox::leaveEvent(event);
    update();
}

bool TRzCheckBox::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

void TRzCheckBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    constexpr int box = 13;
    const int top = CenterCaption ? (height() - box) / 2 : 1;
    const QRect boxRect(0, top, box, box);
    p.fillRect(boxRect, isEnabled() ? QColor(Qt::white) : palette().color(QPalette::Window));
    p.setPen(ToQColor(FrameColor));
    p.drawRect(boxRect.adjusted(0, 0, -1, -1));
    if (Hot()) {
        p.setPen(QPen(ToQColor(HighlightColor), 2));
        p.drawRect(boxRect.adjusted(2, 2, -2, -2));
    }
    if (isChecked()) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(ToQColor(FrameColor), 2));
        const QPointF mark[] = {{3.0, top + 6.5}, {5.5, top + 9.5}, {10.0, top + 3.5}};
        p.drawPolyline(mark, 3);
        p.setRenderHint(QPainter::Antialiasing, false);
    }
    const QRect textRect(box + 4, 0, width() - box - 4, height());
    p.setPen(palette().color(isEnabled() ? QPalette::WindowText : QPalette::PlaceholderText));
    const int vertical = CenterCaption ? Qt::AlignVCenter : Qt::AlignTop;
    p.drawText(textRect, Qt::AlignLeft | vertical | Qt::TextSingleLine, text());
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = p.boundingRect(textRect, Qt::AlignLeft | vertical, text()).adjusted(-1, 0, 1, 0);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
    }
}

TCheckBox::TCheckBox(QWidget* parent, const QString& caption) : QCheckBox(caption, parent) {}

TRadioButton::TRadioButton(QWidget* parent, const QString& caption) : QRadioButton(caption, parent) {}

TGroupBox::TGroupBox(QWidget* parent, const QString& caption) : QGroupBox(caption, parent) {}

TTabSheet::TTabSheet(QWidget* parent) : QWidget(parent) {}

TPageControl::TPageControl(QWidget* parent) : QStackedWidget(parent) {}

TTabSheet* TPageControl::AddPage(const char* name) {
    auto* page = new TTabSheet(this);
    page->setObjectName(QString::fromLatin1(name));
    addWidget(page);
    return page;
}

TTabSheet* TPageControl::ActivePage() const {
    return qobject_cast<TTabSheet*>(currentWidget());
}

void TPageControl::SetActivePage(TTabSheet* page) {
    setCurrentWidget(page);
}

TImageList::TImageList(QObject* owner, std::vector<QPixmap> pictures)
    : QObject(owner), FPictures(std::move(pictures)) {}

QPixmap TImageList::Picture(int index) const {
    return index >= 0 && index < Count() ? FPictures[static_cast<size_t>(index)] : QPixmap();
}

TRzBitBtn::TRzBitBtn(QWidget* parent, const QString& caption, const TImageList* images, int imageIndex,
                     int disabledIndex)
    : QToolButton(parent) {
    setText(caption);
    setToolTip(caption);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    QIcon icon;
    icon.addPixmap(images->Picture(imageIndex), QIcon::Normal);
    icon.addPixmap(images->Picture(disabledIndex), QIcon::Disabled);
    setIcon(icon);
    setIconSize(QSize(16, 16));
    setAttribute(Qt::WA_Hover);
}

void TRzBitBtn::enterEvent(QEnterEvent* event) {
    QToolButton::enterEvent(event);
    update();
}

void TRzBitBtn::leaveEvent(QEvent* event) {
    QToolButton::leaveEvent(event);
    update();
}

void TRzBitBtn::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), ToQColor(Color));
    if (underMouse() || isDown()) {
        p.setPen(ToQColor(FrameColor));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    const QPixmap picture = icon().pixmap(iconSize(), isEnabled() ? QIcon::Normal : QIcon::Disabled);
    const int shift = isDown() ? 1 : 0;
    p.drawPixmap((width() - picture.width()) / 2 + shift, (height() - picture.height()) / 2 + shift, picture);
}

TRzCheckList::TRzCheckList(QWidget* parent) : QListWidget(parent) {
    setUniformItemSizes(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(15923179));
    pal.setColor(QPalette::Highlight, ToQColor(HighlightColor));
    setPalette(pal);
    setFrameShape(QFrame::NoFrame);
}

void TRzCheckList::AddItem(const QString& caption) {
    auto* item = new QListWidgetItem(caption, this);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    item->setSizeHint(QSize(0, 17));
}

}  // namespace setdlg
