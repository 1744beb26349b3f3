// Keeps a widget's minimum size at the larger of a floor and what its layout needs, also
// when its contents grow later: a fixed minimum alone would let the parent's layout squeeze
// the contents below their size once the window is small.
#pragma once

#include <QObject>
#include <QSize>

class QWidget;

class ContentMinimum : public QObject
{
    Q_OBJECT
public:
    // Watches widget (and is owned by it).
    explicit ContentMinimum(QWidget *widget);

    void setFloor(const QSize &floor);
    QSize floor() const { return m_floor; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply();

    QWidget *m_widget;
    QSize m_floor;
};
