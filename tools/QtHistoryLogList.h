// Result-log filter: pages through a copy of the result log 200 lines at a time, narrows it
// to the lines holding a keyword and appends the matched lines to an extract file in the
// program folder's "historyLogList" folder.
#pragma once

#include "ui_QtHistoryLogList.h"

#include <QMainWindow>
#include <QQueue>
#include <QString>
#include <QStringList>

#include <optional>

class QtFramelessWindow;

class QtHistoryLogList : public QMainWindow
{
    Q_OBJECT
public:
    // extractFolder: where extracts go; empty means the program folder's "historyLogList".
    explicit QtHistoryLogList(QWidget *parent = nullptr, const QString &extractFolder = QString());
    ~QtHistoryLogList() override;

    // Replaces the lines with a copy of the result log and shows its first page. A load that
    // arrives while a match or a write runs is kept and applied when that action ends.
    void setData(QQueue<QString> lines);

    // Read-only views for the owner and tests.
    const QQueue<QString> &logLines() const { return m_logLines; }
    const QList<QString> &matchList() const { return m_matchList; }
    bool isFiltered() const { return m_isFiltered; }
    bool isBusy() const { return m_busy; }
    int pagePos() const { return m_pagePos; }
    QString extractFolder() const { return m_extractFolder; }
    // Path of the last extract written, empty when none was.
    QString lastExtractPath() const { return m_lastExtractPath; }

public slots:
    void onPageScroll();
    void onViewScroll();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    const QList<QString> &pagedList() const;
    void showFirstPage(const QList<QString> &list);
    void fillView(const QList<QString> &list, int first, int last);
    void load(const QQueue<QString> &lines);
    void match();
    void writeMatch();
    void beginAction();
    void endAction();
    void toggleMaximized();

    Ui::QtHistoryLogListClass ui;
    QtFramelessWindow *m_frameless = nullptr;
    QString m_extractFolder;
    QQueue<QString> m_logLines;
    QList<QString> m_matchList;
    QList<QString> m_showList;
    QString m_matchKeyword; // keyword of the last match; names the extracts
    QString m_lastExtractPath;
    int m_pagePos = 0;
    int m_pageSize = 200;
    bool m_isUpdating = false;
    bool m_isFiltered = false;
    bool m_busy = false; // a match or a write is running
    bool m_maximizeNext = true;
    std::optional<QQueue<QString>> m_pendingLoad;
};
