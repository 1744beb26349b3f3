// Manual PLC signal sender: a grid of the configured signal values, a typed command line and
// a send-all button; every send asks first and leaves the window as sendPLC.
#pragma once

#include "SendPlcRules.h"
#include "ui_QtSendPLC.h"

#include <QJsonArray>
#include <QList>
#include <QMainWindow>
#include <QStringList>

class QPushButton;
class QtFramelessWindow;

class QtSendPLC : public QMainWindow
{
    Q_OBJECT
public:
    explicit QtSendPLC(QWidget *parent = nullptr);
    ~QtSendPLC() override;

    // Rebuilds the grid from the "手动补信号" array and fits the window to it.
    void setCommandList(const QJsonArray &sendPLCArray);

    const QStringList &commandList() const { return m_commandList; }
    const QList<QPushButton *> &buttonList() const { return m_buttonList; }
    int maxRow() const { return m_maxRow; }
    int maxCol() const { return m_maxCol; }

signals:
    void sendPLC(QString cmd);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void clearGrid();
    void sendTyped();
    void sendCommand(int index);
    void sendAll();
    bool confirm(const QString &title, const QString &text);
    void refuse(const QString &title, const QString &text);
    void toggleMaximized();
    void fitToGrid(const QSize &screen);

    Ui::QtSendPLCClass ui;
    QtFramelessWindow *m_frameless = nullptr;
    QList<QPushButton *> m_buttonList;
    QList<QWidget *> m_gridWidgets; // labels and separators of the current grid
    QStringList m_commandList;
    sendplc::ClickGuard m_clickGuard;
    int m_maxRow = 0;
    int m_maxCol = 0;
    int m_build = 0; // counts builds; a send whose grid was rebuilt under its box is dropped
    bool m_maximizeNext = true;
};
