#include "QtHistoryLogList.h"

#include "HistoryLogRules.h"
#include "LogLine.h"
#include "Platform.h"
#include "QtFramelessWindow.h"
#include "Styles.h"
#include "ToolWindow.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalBlocker>

namespace {

// Information box without a parent and with the one button "确定".
void inform(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Information, title, text);
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace

QtHistoryLogList::QtHistoryLogList(QWidget *parent, const QString &extractFolder)
    : QMainWindow(parent),
      m_extractFolder(extractFolder.isEmpty()
                          ? platform::programFolder() + QStringLiteral("/historyLogList/")
                          : extractFolder)
{
    ui.setupUi(this);
    setMouseTracking(true);
    ui.centralWidget->setMouseTracking(true);
    ui.frame->setMouseTracking(true);
    ui.title->setMouseTracking(true);
    m_frameless = QtFramelessWindow::dialog(this, 2);
    m_frameless->setTitle(ui.title, ui.pushButton_min, ui.pushButton_max, ui.pushButton_close);

    QtFramelessWindow::styleTitle(ui.label_icon, ui.pushButton_min, ui.pushButton_max, ui.pushButton_close);

    connect(ui.pushButton_min, &QPushButton::clicked, m_frameless, &QtFramelessWindow::minimizeWindow);
    connect(ui.pushButton_max, &QPushButton::clicked, this, &QtHistoryLogList::toggleMaximized);
    connect(ui.pushButton_close, &QPushButton::clicked, m_frameless, &QtFramelessWindow::closeWindow);
    connect(ui.pushButton_match, &QPushButton::clicked, this, &QtHistoryLogList::match);
    connect(ui.pushButton_writeMatch, &QPushButton::clicked, this, &QtHistoryLogList::writeMatch);
    connect(ui.verticalScrollBar, &QScrollBar::valueChanged, this, &QtHistoryLogList::onPageScroll);
    connect(ui.plainTextEdit->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &QtHistoryLogList::onViewScroll);

    toolwindow::loggedScreenSize();
    setWindowFlags(Qt::FramelessWindowHint);
    QtFramelessWindow::placeTool(this);
    ui.lineEdit_match->clear();
    ui.pushButton_match->setStyleSheet(styles::darkButton());
    ui.pushButton_writeMatch->setStyleSheet(styles::darkButton());
}

QtHistoryLogList::~QtHistoryLogList() = default;

void QtHistoryLogList::toggleMaximized()
{
    QtFramelessWindow::toggleToolMaximized(this, &m_maximizeNext, [this] { QtFramelessWindow::placeTool(this); });
}

const QList<QString> &QtHistoryLogList::pagedList() const
{
    return m_isFiltered ? m_showList : m_logLines;
}

void QtHistoryLogList::fillView(const QList<QString> &list, int first, int last)
{
    ui.plainTextEdit->clear();
    for (int i = first; i < last; ++i)
        ui.plainTextEdit->appendPlainText(logline::shown(list.at(i)));
    // The cursor stays at the top, so showing or resizing the view does not scroll it away.
    ui.plainTextEdit->moveCursor(QTextCursor::Start);
}

void QtHistoryLogList::showFirstPage(const QList<QString> &list)
{
    const int n = list.size();
    {
        // The first page starts at the top of the paging bar; moving it there pages nothing.
        const QSignalBlocker blocker(ui.verticalScrollBar);
        ui.verticalScrollBar->setMaximum(n);
        ui.verticalScrollBar->setValue(0);
    }
    const int count = historylog::firstPageCount(n, m_pageSize);
    fillView(list, 0, count);
    m_pagePos = count;
    ui.plainTextEdit->verticalScrollBar()->setValue(0);
    if (n > 0)
        qDebug().noquote() << QStringLiteral("lineLast::") + list.last();
    QCoreApplication::processEvents();
    m_isUpdating = false;
}

void QtHistoryLogList::setData(QQueue<QString> lines)
{
    if (m_busy) {
        m_pendingLoad = std::move(lines);
        return;
    }
    load(lines);
}

void QtHistoryLogList::load(const QQueue<QString> &lines)
{
    m_isUpdating = true;
    m_isFiltered = false;
    m_logLines = lines;
    m_pageSize = historylog::kPageSize;
    ui.plainTextEdit->clear();
    showFirstPage(m_logLines);
}

void QtHistoryLogList::beginAction()
{
    m_busy = true;
    ui.pushButton_match->setEnabled(false);
    ui.pushButton_writeMatch->setEnabled(false);
}

void QtHistoryLogList::endAction()
{
    m_busy = false;
    ui.pushButton_match->setEnabled(true);
    ui.pushButton_writeMatch->setEnabled(true);
    if (m_pendingLoad) {
        const QQueue<QString> lines = std::move(*m_pendingLoad);
        m_pendingLoad.reset();
        load(lines);
    }
}

void QtHistoryLogList::match()
{
    if (m_busy)
        return;
    beginAction();
    m_matchKeyword = ui.lineEdit_match->text();
    m_isFiltered = false;
    m_matchList.clear();
    m_matchList = historylog::matchLines(m_logLines, m_matchKeyword, [](int index) {
        qDebug().noquote() << QStringLiteral("pushButton_match::") + QString::number(index);
        QCoreApplication::processEvents();
    });
    m_showList = m_matchList;
    m_isUpdating = true;
    ui.plainTextEdit->clear();
    showFirstPage(m_showList);
    m_isFiltered = true;
    QCoreApplication::processEvents();
    inform(QStringLiteral("提示"), QStringLiteral("操作完成"));
    endAction();
}

void QtHistoryLogList::writeMatch()
{
    if (m_busy)
        return;
    beginAction();
    const QString name = historylog::extractFileName(platform::localNow(), m_matchKeyword);
    const QByteArray content = historylog::extractContent(m_matchList, [](int index) {
        qDebug().noquote() << QStringLiteral("pushButton_writeMatch::") + QString::number(index);
        QCoreApplication::processEvents();
    });
    QString error;
    const bool written = historylog::appendExtract(m_extractFolder, name, content, &error);
    m_lastExtractPath = written ? QDir(m_extractFolder).filePath(name) : QString();
    QCoreApplication::processEvents();
    if (written)
        inform(QStringLiteral("提示"), QStringLiteral("操作完成"));
    else
        inform(QStringLiteral("生成子Log失败"), QStringLiteral("子Log文件写入失败：\n") + error);
    endAction();
}

void QtHistoryLogList::onPageScroll()
{
    const QList<QString> &list = pagedList();
    const int v = ui.verticalScrollBar->value();
    const historylog::Page page = historylog::pageForValue(
        list.size(), ui.verticalScrollBar->maximum(), m_pagePos, v, m_pageSize);
    if (!page.rebuild)
        return;
    m_isUpdating = true;
    fillView(list, page.first, page.last);
    m_pagePos = v;
    QScrollBar *view = ui.plainTextEdit->verticalScrollBar();
    view->setValue(historylog::viewValue(page.view, view->maximum()));
    QCoreApplication::processEvents();
    m_isUpdating = false;
}

void QtHistoryLogList::onViewScroll()
{
    if (m_isUpdating)
        return;
    const QScrollBar *view = ui.plainTextEdit->verticalScrollBar();
    const int target = historylog::pagerValueForView(m_pagePos, ui.verticalScrollBar->maximum(),
                                                     view->value(), view->maximum(), m_pageSize);
    if (target >= 0)
        ui.verticalScrollBar->setValue(target);
}

void QtHistoryLogList::mousePressEvent(QMouseEvent *event)
{
    m_frameless->mousePressEvent(event);
}

void QtHistoryLogList::mouseMoveEvent(QMouseEvent *event)
{
    m_frameless->mouseMoveEvent(event);
}

void QtHistoryLogList::mouseReleaseEvent(QMouseEvent *event)
{
    m_frameless->mouseReleaseEvent(event);
}
