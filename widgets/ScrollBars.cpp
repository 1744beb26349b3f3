#include "ScrollBars.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

void styleScrollBars(QAbstractScrollArea *area)
{
    // Set on the bars themselves: a window's own style sheet would win over the area's.
    const QString style = QStringLiteral(
        "QScrollBar {background-color: rgb(32, 36, 40);} QScrollBar:horizontal {height: 12px;}"
        "QScrollBar:vertical {width: 12px;}"
        "QScrollBar::handle {background-color: rgb(101, 103, 100); border-radius: 5px;}"
        "QScrollBar::handle:horizontal {min-width: 40px;} QScrollBar::handle:vertical {min-height: 40px;}"
        "QScrollBar::add-line, QScrollBar::sub-line {width: 0px; height: 0px;}"
        "QScrollBar::add-page, QScrollBar::sub-page {background: none;}");
    area->horizontalScrollBar()->setStyleSheet(style);
    area->verticalScrollBar()->setStyleSheet(style);
}
