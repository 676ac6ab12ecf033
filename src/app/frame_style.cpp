#include "frame_style.h"

#include <QPainter>
#include <QStyleOptionGroupBox>
#include <qdrawutil.h>

namespace tamrivel {
namespace {

// The caption starts this far in from the frame's left edge, with a little
// space on each side where the border line is left out.
constexpr int kCaptionIndent = 6;
constexpr int kCaptionGap = 2;
// An etched border: a dark line with a light one inside it.
constexpr int kBorderWidth = 2;

QRect captionRect(const QStyleOptionGroupBox &frame)
{
    const QSize text = frame.fontMetrics.size(Qt::TextShowMnemonic, frame.text);
    return {frame.rect.left() + kCaptionIndent, frame.rect.top(), text.width() + 2 * kCaptionGap,
            frame.fontMetrics.height()};
}

QRect borderRect(const QStyleOptionGroupBox &frame)
{
    return frame.rect.adjusted(0, frame.fontMetrics.height() / 2, 0, 0);
}

} // namespace

QRect FrameStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                                 const QWidget *widget) const
{
    const auto *frame = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
    if (control != CC_GroupBox || !frame)
        return QProxyStyle::subControlRect(control, option, part, widget);
    switch (part) {
    case SC_GroupBoxLabel: return captionRect(*frame);
    case SC_GroupBoxFrame: return borderRect(*frame);
    case SC_GroupBoxContents: {
        QRect inside = borderRect(*frame).adjusted(kBorderWidth, kBorderWidth, -kBorderWidth, -kBorderWidth);
        inside.setTop(captionRect(*frame).bottom() + 1);
        return inside;
    }
    default: return QProxyStyle::subControlRect(control, option, part, widget);
    }
}

void FrameStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                    QPainter *painter, const QWidget *widget) const
{
    const auto *frame = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
    if (control != CC_GroupBox || !frame) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const QRect caption = captionRect(*frame);
    painter->save();
    painter->setClipRegion(QRegion(frame->rect).subtracted(caption));
    qDrawShadeRect(painter, borderRect(*frame), frame->palette, true, 1, 0);
    painter->restore();
    drawItemText(painter, caption, Qt::AlignCenter | Qt::TextShowMnemonic, frame->palette,
                 frame->state & State_Enabled, frame->text, QPalette::WindowText);
}

int FrameStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                          QStyleHintReturn *returnData) const
{
    if (hint == SH_GroupBox_TextLabelVerticalAlignment)
        return Qt::AlignVCenter;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

} // namespace tamrivel
