#pragma once

#include <QProxyStyle>

// The platform's own look, with a focus mark that is seen at a glance: a
// ring two pixels wide in the highlight colour around the control with the
// keyboard, where the usual styles draw a faint line of one pixel or nothing
// on a picture button.
class FocusMarkStyle : public QProxyStyle {
public:
    explicit FocusMarkStyle(const QString& baseStyle);

    // Puts the style on the application, once; before the first window, as
    // a new style polishes every widget again.
    static void install();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;

private:
    static void zeichneRing(QPainter* painter, const QRect& around, const QPalette& palette);
};
