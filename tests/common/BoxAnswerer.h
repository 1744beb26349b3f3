// Answers the message boxes a test provokes, so no test waits on a person: every box is
// recorded (title, text) and then answered by, in this order, the hook, the next queued
// button, `answer`, the box's default button, Ok, Yes, or its first button.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include <functional>

class BoxAnswerer : public QObject
{
public:
    struct Box
    {
        QString title;
        QString text;
    };

    explicit BoxAnswerer(int intervalMs = 2)
    {
        m_timer.setInterval(intervalMs);
        connect(&m_timer, &QTimer::timeout, this, &BoxAnswerer::poll);
        m_timer.start();
    }

    // Answer when nothing is queued; NoButton leaves it to the box.
    QMessageBox::StandardButton answer = QMessageBox::NoButton;
    // Called for every poll of an open box; return true when it handled (or holds) the box.
    std::function<bool(QMessageBox *)> hook;
    QList<Box> boxes;

    void queue(QMessageBox::StandardButton button) { m_answers.append(button); }
    int count() const { return boxes.size(); }
    void clear() { boxes.clear(); }
    QList<Box> take()
    {
        QList<Box> seen = boxes;
        boxes.clear();
        return seen;
    }
    QStringList titles() const
    {
        QStringList t;
        for (const Box &b : boxes)
            t << b.title;
        return t;
    }

private:
    void poll()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (!box || !box->isVisible() || box->property("answered").toBool())
                continue;
            if (!box->property("recorded").toBool()) {
                box->setProperty("recorded", true);
                boxes.append({box->windowTitle(), box->text()});
            }
            if (hook && hook(box))
                continue;
            box->setProperty("answered", true);
            if (QAbstractButton *button = choose(box))
                button->click();
        }
    }

    QAbstractButton *choose(QMessageBox *box)
    {
        QAbstractButton *button = nullptr;
        if (!m_answers.isEmpty())
            button = box->button(m_answers.takeFirst());
        if (!button && answer != QMessageBox::NoButton)
            button = box->button(answer);
        if (!button)
            button = box->defaultButton();
        if (!button)
            button = box->button(QMessageBox::Ok);
        if (!button)
            button = box->button(QMessageBox::Yes);
        if (!button && !box->buttons().isEmpty())
            button = box->buttons().first();
        return button;
    }

    QTimer m_timer;
    QList<QMessageBox::StandardButton> m_answers;
};

// Clicks `button` on the next message box that opens (polled, so nested loops work) and
// hands its title and text to *seen when given.
inline void answerNextBox(QMessageBox::StandardButton button, QStringList *seen = nullptr)
{
    auto *poll = new QTimer(qApp);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, button, seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (seen)
            *seen << box->windowTitle() << box->text();
        poll->stop();
        poll->deleteLater();
        if (QAbstractButton *b = box->button(button))
            b->click();
        else
            box->reject();
    });
    poll->start();
}
