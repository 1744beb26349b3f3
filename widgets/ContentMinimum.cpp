#include "ContentMinimum.h"

#include <QEvent>
#include <QLayout>
#include <QWidget>

ContentMinimum::ContentMinimum(QWidget *widget)
    : QObject(widget), m_widget(widget)
{
    widget->installEventFilter(this);
}

void ContentMinimum::setFloor(const QSize &floor)
{
    m_floor = floor;
    apply();
}

bool ContentMinimum::eventFilter(QObject *watched, QEvent *event)
{
    // A child's size hint changed: the layout asks to be redone.
    if (watched == m_widget && event->type() == QEvent::LayoutRequest)
        apply();
    return QObject::eventFilter(watched, event);
}

void ContentMinimum::apply()
{
    const QLayout *layout = m_widget->layout();
    const QSize need = m_floor.expandedTo(layout ? layout->minimumSize() : QSize(0, 0));
    if (m_widget->minimumSize() != need)
        m_widget->setMinimumSize(need);
}
