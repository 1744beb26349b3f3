// Labels and buttons shown smaller than their text needs.
#pragma once

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QRegularExpression>
#include <QStringList>
#include <QTextDocument>

namespace textfits {

// Why a plain-text label's text does not fit its contents rectangle, or empty.
inline QString labelCut(QLabel *label)
{
    if (label->text().isEmpty() || Qt::mightBeRichText(label->text()))
        return QString();
    const QFontMetrics fm(label->font());
    const int margin = 2 * label->margin();
    QSize need;
    for (const QString &line : label->text().split(QRegularExpression(QStringLiteral("\r?\n")))) {
        need.rwidth() = qMax(need.width(), fm.horizontalAdvance(line));
        need.rheight() += fm.tightBoundingRect(line).height();
    }
    const QRect r = label->contentsRect();
    if (r.width() - margin >= need.width() && r.height() - margin >= need.height())
        return QString();
    return QStringLiteral("%1 \"%2\": needs %3x%4, has %5x%6")
        .arg(label->objectName(), label->text())
        .arg(need.width()).arg(need.height())
        .arg(r.width() - margin).arg(r.height() - margin);
}

// Every shown label and text button under root that is cut.
inline QStringList cutTexts(QWidget *root)
{
    QStringList faults;
    const auto labels = root->findChildren<QLabel *>();
    for (QLabel *label : labels)
        if (label->isVisible()) {
            const QString why = labelCut(label);
            if (!why.isEmpty())
                faults << why;
        }
    const auto buttons = root->findChildren<QAbstractButton *>();
    for (QAbstractButton *b : buttons)
        if (b->isVisible() && !b->text().isEmpty()
            && b->width() < QFontMetrics(b->font()).horizontalAdvance(b->text()))
            faults << QStringLiteral("%1 \"%2\": %3 wide").arg(b->objectName(), b->text()).arg(b->width());
    return faults;
}

} // namespace textfits
