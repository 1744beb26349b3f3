#include "ScrollBars.h"

#include "Styles.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

void styleScrollBars(QAbstractScrollArea *area)
{
    // Set on the bars themselves: a window's own style sheet would win over the area's.
    const QString style = styles::scrollBar();
    area->horizontalScrollBar()->setStyleSheet(style);
    area->verticalScrollBar()->setStyleSheet(style);
}
