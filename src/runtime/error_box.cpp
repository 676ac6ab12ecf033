#include "error_box.h"

#include "runtime_error.h"

#include <QFontMetrics>
#include <QMessageBox>
#include <QTextBoundaryFinder>

#include <utility>

namespace tamrivel {
namespace {

// Each piece ends just after a folder separator (or at the end of the text).
QStringList piecesAfterSeparators(const QString &text)
{
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('/') || text[i] == QLatin1Char('\\')) {
            pieces.append(text.mid(start, i + 1 - start));
            start = i + 1;
        }
    }
    if (start < text.size())
        pieces.append(text.mid(start));
    return pieces;
}

// Thirty full-width characters: narrow enough that the box never wraps the
// lines again by itself, which it would do in the middle of a name.
int pathLineWidth(const QFontMetrics &metrics)
{
    return 30 * metrics.horizontalAdvance(QChar(0x3000));
}

// Lines of a path shown in the box; a longer path loses lines from its
// middle, so that the box, and its OK button, stay on any screen.
constexpr qsizetype kMaxPathLines = 8;

QStringList quotedPathLines(const RuntimeError &error, const QFontMetrics &metrics, int width)
{
    return wrapAtSeparators(QStringLiteral("「") + shownPath(error.path()) + QStringLiteral("」"), metrics,
                            width);
}

QStringList elidedInTheMiddle(const QStringList &lines)
{
    if (lines.size() <= kMaxPathLines)
        return lines;
    const qsizetype head = (kMaxPathLines - 1) / 2;
    return lines.first(head) + QStringList{QString(QChar(0x22EE))} + lines.last(kMaxPathLines - 1 - head);
}

} // namespace

QStringList wrapAtSeparators(const QString &text, const QFontMetrics &metrics, int width)
{
    QStringList lines;
    QString line;
    for (const QString &piece : piecesAfterSeparators(text)) {
        if (metrics.horizontalAdvance(line + piece) <= width) {
            line += piece;
            continue;
        }
        if (!line.isEmpty())
            lines.append(std::exchange(line, QString()));
        // Whole on a line of its own where it fits, else between characters.
        QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, piece);
        qsizetype from = 0;
        for (qsizetype to = characters.toNextBoundary(); to != -1; to = characters.toNextBoundary()) {
            const QString character = piece.mid(from, to - from);
            from = to;
            if (!line.isEmpty() && metrics.horizontalAdvance(line + character) > width)
                lines.append(std::exchange(line, QString()));
            line += character;
        }
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

QString errorBoxText(const RuntimeError &error, const QFontMetrics &metrics, int width)
{
    QStringList lines = {RuntimeError::message(error.number())};
    if (!error.detail().isEmpty())
        lines.append(error.detail());
    if (!error.path().isNull()) {
        lines += elidedInTheMiddle(quotedPathLines(error, metrics, width));
    }
    lines << QString() << QStringLiteral("エラー番号: %1").arg(error.code());
    return lines.join(QLatin1Char('\n'));
}

void showErrorBox(QWidget *parent, const RuntimeError &error)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tamrivel"), QString(), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("errorBox"));
    // A path is shown as it is, never read as markup.
    box.setTextFormat(Qt::PlainText);
    const QFontMetrics metrics(box.font());
    const int width = pathLineWidth(metrics);
    box.setText(errorBoxText(error, metrics, width));
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // A path too long to show in full is there whole, on request.
    if (!error.path().isNull() && quotedPathLines(error, metrics, width).size() > kMaxPathLines)
        box.setDetailedText(shownPath(error.path()));
    box.exec();
}

} // namespace tamrivel
