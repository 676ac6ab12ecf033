#pragma once

#include <QProxyStyle>

namespace tamrivel {

// Draws a frame as the window's layout means it: the caption sits on the top
// border line, inside the frame's rectangle, so that the controls placed
// below it lie inside the border. Some styles (Fusion) draw the caption above
// the border instead, which pushes the border down onto the controls.
class FrameStyle : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                         const QWidget *widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override;
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override;
};

} // namespace tamrivel
