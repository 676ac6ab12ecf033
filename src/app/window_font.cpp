#include "window_font.h"

#include <QApplication>
#include <QFont>

namespace tamrivel {

void useWindowFont()
{
    QFont font = QApplication::font();
    // Windows' own Japanese UI fonts where they exist; elsewhere IPA Gothic,
    // whose compact line height fits the window's fixed rows.
    font.setFamilies({QStringLiteral("Yu Gothic UI"), QStringLiteral("Meiryo UI"),
                      QStringLiteral("MS UI Gothic"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("Noto Sans JP")});
    font.setPointSize(9);
    QApplication::setFont(font);
}

} // namespace tamrivel
