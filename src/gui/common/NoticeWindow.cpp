#include "NoticeWindow.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const char* const kKind = "noticeKind";

QLabel* textLabel(const QWidget* notice)
{
    return notice->findChild<QLabel*>();
}

} // namespace

NoticeWindow::NoticeWindow(QWidget& owner_)
    : QWidget(&owner_, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , owner(owner_)
    , rows(new QVBoxLayout(this))
{
    setObjectName(QStringLiteral("notices"));
    setWindowTitle(QStringLiteral("Kelmo-Note notices"));
    setAccessibleName(QStringLiteral("Kelmo-Note notices"));
    // Shown by itself, it must leave the keyboard where it is.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setFocusPolicy(Qt::NoFocus);
    rows->setContentsMargins(4, 4, 4, 4);
    rows->setSpacing(4);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    owner.installEventFilter(this);
}

void NoticeWindow::post(const QString& kind, const QString& text, int goesAfterMs)
{
    QWidget* notice = findeArt(kind);
    if (!notice) {
        if (count() == kMostShown)
            schliesse(rows->itemAt(0)->widget());
        notice = new QFrame(this);
        notice->setProperty(kKind, kind);
        auto* line = new QHBoxLayout(notice);
        line->setContentsMargins(0, 0, 0, 0);
        auto* label = new QLabel(notice);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setForegroundRole(QPalette::ToolTipText);
        auto* close = new QToolButton(notice);
        close->setText(QStringLiteral("\u00D7"));
        close->setAccessibleName(QStringLiteral("Close notice"));
        close->setFocusPolicy(Qt::TabFocus);
        close->installEventFilter(this);
        connect(close, &QToolButton::clicked, this, [this, notice] { schliesse(notice); });
        line->addWidget(label, 1);
        line->addWidget(close, 0, Qt::AlignTop);
        rows->addWidget(notice);
    }
    textLabel(notice)->setText(text);
    notice->setAccessibleName(text);
    if (goesAfterMs > 0) {
        auto* going = notice->findChild<QTimer*>();
        if (!going) {
            going = new QTimer(notice);
            going->setSingleShot(true);
            connect(going, &QTimer::timeout, this, [this, notice] { schliesse(notice); });
        }
        going->start(goesAfterMs);
    }
    zeigeWennNoetig();
    sageAn(notice);
    emit waitingChanged(true);
}

int NoticeWindow::count() const
{
    return rows->count();
}

QString NoticeWindow::textOf(int index) const
{
    return textLabel(rows->itemAt(index)->widget())->text();
}

void NoticeWindow::dismiss(const QString& kind)
{
    if (QWidget* notice = findeArt(kind))
        schliesse(notice);
}

void NoticeWindow::follow()
{
    if (count() == 0)
        return;
    const QRect frame = owner.frameGeometry();
    const int width = std::max(frame.width(), 240);
    resize(width, rows->hasHeightForWidth() ? rows->totalHeightForWidth(width) : sizeHint().height());
    QPoint at(frame.left(), frame.bottom() + 1);
    const QScreen* screen = owner.screen() ? owner.screen() : QGuiApplication::primaryScreen();
    if (screen && at.y() + height() > screen->availableGeometry().bottom())
        at.setY(frame.top() - height());
    move(at);
}

void NoticeWindow::folgeBesitzer(QEvent::Type type)
{
    if (type == QEvent::Move || type == QEvent::Resize) {
        follow();
        return;
    }
    ownerVisible = type == QEvent::Show;
    if (!ownerVisible)
        hide();
    zeigeWennNoetig();
}

bool NoticeWindow::takeKeyboard()
{
    if (count() == 0 || !isVisible())
        return false;
    auto* close = rows->itemAt(count() - 1)->widget()->findChild<QToolButton*>();
    keyboardAsked = true;
    activateWindow();
    close->setFocus(Qt::TabFocusReason);
    return true;
}

// A window manager activates a window that is clicked: the keyboard goes
// back to the page at once, so that nothing typed is lost here.
void NoticeWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !keyboardAsked)
        emit keyboardReturned();
}

// Enter or Escape closes the notice with the keyboard; Ctrl+Tab goes back.
bool NoticeWindow::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == &owner) {
        if (type == QEvent::Show || type == QEvent::Hide || type == QEvent::Move || type == QEvent::Resize)
            folgeBesitzer(type);
        return QWidget::eventFilter(watched, event);
    }
    if (type != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    auto* notice = static_cast<QWidget*>(watched)->parentWidget();
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Space:
        keyboardAsked = false;
        schliesse(notice);
        emit keyboardReturned();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        keyboardAsked = false;
        emit keyboardReturned();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

QWidget* NoticeWindow::findeArt(const QString& kind) const
{
    for (int i = 0; i < count(); ++i) {
        QWidget* notice = rows->itemAt(i)->widget();
        if (notice->property(kKind).toString() == kind)
            return notice;
    }
    return nullptr;
}

void NoticeWindow::schliesse(QWidget* notice)
{
    if (isActiveWindow())
        emit keyboardReturned();
    rows->removeWidget(notice);
    notice->hide();
    notice->deleteLater();
    if (count() == 0) {
        hide();
        emit waitingChanged(false);
        return;
    }
    follow();
}

// Screen readers hear it as an alert, without the keyboard going there.
void NoticeWindow::sageAn(QWidget* notice)
{
    QAccessibleEvent alert(notice, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    QAccessibleEvent named(textLabel(notice), QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
}

void NoticeWindow::zeigeWennNoetig()
{
    if (!ownerVisible || count() == 0)
        return;
    follow();
    if (!isVisible())
        show();
}
