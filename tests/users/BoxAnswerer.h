// Answers the message boxes a test provokes: records title and text, then presses the
// next queued button (OK, or the box's default, when nothing is queued).
#pragma once

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QTimer>

class BoxAnswerer : public QObject
{
public:
    struct Box {
        QString title;
        QString text;
    };

    BoxAnswerer()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { answer(); });
        m_timer.start();
    }

    void queue(QMessageBox::StandardButton button) { m_answers.append(button); }
    int count() const { return m_seen.size(); }
    QList<Box> take()
    {
        QList<Box> boxes = m_seen;
        m_seen.clear();
        return boxes;
    }

private:
    void answer()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (!box || !box->isVisible() || box->property("answered").toBool())
                continue;
            box->setProperty("answered", true);
            m_seen.append({box->windowTitle(), box->text()});
            QAbstractButton *button = nullptr;
            if (!m_answers.isEmpty())
                button = box->button(m_answers.takeFirst());
            if (!button)
                button = box->defaultButton() ? static_cast<QAbstractButton *>(box->defaultButton())
                                              : box->button(QMessageBox::Ok);
            if (button)
                button->click();
        }
    }

    QTimer m_timer;
    QList<QMessageBox::StandardButton> m_answers;
    QList<Box> m_seen;
};
