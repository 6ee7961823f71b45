#include "FocusMarkStyle.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QStyleOption>
#include <algorithm>

namespace {

constexpr qreal kRingWidth = 2;

// Buttons and the like show the mark only when the keyboard brought the
// focus, as Qt's own styles do; a click needs no mark.
bool keyboardFocus(const QStyleOption* option)
{
    return option->state.testFlag(QStyle::State_HasFocus) &&
           option->state.testFlag(QStyle::State_KeyboardFocusChange);
}

} // namespace

FocusMarkStyle::FocusMarkStyle(const QString& baseStyle)
    : QProxyStyle(baseStyle)
{}

void FocusMarkStyle::install()
{
    if (!dynamic_cast<FocusMarkStyle*>(QApplication::style()))
        QApplication::setStyle(new FocusMarkStyle(QApplication::style()->name()));
}

void FocusMarkStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const
{
    if (element == PE_FrameFocusRect) {
        // Round a check box's text, in the room the style gave it: a check
        // box is no higher than its text.
        zeichneRing(painter, option->rect, option->palette);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    // A text field shows its caret as well, which blinks.
    if (element == PE_FrameLineEdit && option->state.testFlag(State_HasFocus))
        zeichneRing(painter, option->rect, option->palette);
}

void FocusMarkStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    // The tab with the keyboard is the current one; a list shows the
    // keyboard round its frame, before any of its entries is current.
    const bool marked = element == CE_PushButtonBevel || element == CE_TabBarTabShape ||
                        (element == CE_ShapedFrame && qobject_cast<const QAbstractItemView*>(widget));
    if (marked && keyboardFocus(option))
        zeichneRing(painter, option->rect, option->palette);
}

void FocusMarkStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                        QPainter* painter, const QWidget* widget) const
{
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control == CC_ComboBox && keyboardFocus(option))
        zeichneRing(painter, option->rect, option->palette);
}

// A list's entries lie inside its frame: the frame is made as wide as the
// ring, so that they do not cover half of it.
int FocusMarkStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    if (metric == PM_DefaultFrameWidth && qobject_cast<const QAbstractItemView*>(widget))
        return std::max(base, static_cast<int>(kRingWidth));
    return base;
}

void FocusMarkStyle::zeichneRing(QPainter* painter, const QRect& around, const QPalette& palette)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    QPen pen(palette.color(QPalette::Active, QPalette::Highlight), kRingWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    // The pen straddles the path: half a ring inside the control's edge.
    const qreal inset = kRingWidth / 2;
    painter->drawRect(QRectF(around).adjusted(inset, inset, -inset, -inset));
    painter->restore();
}
