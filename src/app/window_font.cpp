#include "window_font.h"

#include <QApplication>
#include <QFont>

namespace tamrivel {

void useWindowFont()
{
    QFont font = QApplication::font();
    // IPA Gothic first: its compact line height fits the window's fixed rows.
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP")});
    font.setPointSize(9);
    QApplication::setFont(font);
}

} // namespace tamrivel
