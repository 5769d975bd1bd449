#include "gui/kit/WrappedButton.h"

#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace roadtally {

namespace {

constexpr int Padding = 12;
constexpr int TextFlags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;

} // namespace

WrappedButton::WrappedButton(const QString &text, QWidget *parent) : QPushButton(text, parent) {}

QString WrappedButton::shownText() const
{
    // In the stored caption a run of blanks pushes the next words onto a line of
    // their own (in a button of fixed width): here that is a line break.
    static const QRegularExpression blanks(QStringLiteral(" {2,}"));
    QStringList lines = text().trimmed().split(blanks, Qt::SkipEmptyParts);
    return lines.join(QLatin1Char('\n'));
}

QSize WrappedButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    // Wide enough for the longest word group, as few lines as fit.
    const QRect lines = metrics.boundingRect(QRect(0, 0, 160, 1000), TextFlags, shownText());
    return QSize(qMax(lines.width(), 160) + 2 * Padding, lines.height() + 2 * Padding);
}

QSize WrappedButton::minimumSizeHint() const
{
    return sizeHint();
}

void WrappedButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(rect().adjusted(Padding / 2, Padding / 2, -Padding / 2, -Padding / 2),
                     TextFlags, shownText());
}

} // namespace roadtally
