#include "QtDefectSet.h"

#include "EditorWidgets.h"
#include "QtFramelessWindow.h"
#include "Styles.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QMessageBox>

namespace {
// The name cell of a row carries the stored entry it was built from.
enum Role { StoredRole = Qt::UserRole, FromDocumentRole, ShownSerialRole, ShownNameRole, ShownInspectRole };

QTableWidgetItem *centred(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

void markOrigin(QTableWidgetItem *nameItem, const editors::DefectRow &row)
{
    nameItem->setData(StoredRole, QVariant(row.stored));
    nameItem->setData(FromDocumentRole, row.fromDocument);
    nameItem->setData(ShownSerialRole, row.shownSerial);
    nameItem->setData(ShownNameRole, row.shownName);
    nameItem->setData(ShownInspectRole, row.shownInspect);
}
} // namespace

QtDefectSet::QtDefectSet(QWidget *parent, const QString &programFolder)
    : QMainWindow(parent),
      m_doc(QStringLiteral("QtDefectSet"), editors::EditorDocument::Backup::OfReference,
            programFolder)
{
    ui.setupUi(this);
    m_frameless = editors::frameSmallEditor(this, 3, ui.title, ui.label_icon, ui.pushButton_min,
                                            ui.pushButton_max, ui.pushButton_close);

    QTableWidget *table = ui.tableWidget;
    table->setRowCount(0);
    table->setColumnCount(3);
    table->setHorizontalHeaderLabels(
        {QStringLiteral("类别序号"), QStringLiteral("缺陷名称"), QStringLiteral("是否检测")});
    table->setColumnWidth(0, 100);
    table->setColumnWidth(1, 200);
    table->setColumnWidth(2, 150);
    table->setMouseTracking(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setSectionsClickable(false);
    table->verticalHeader()->setHidden(true);
    table->horizontalHeader()->setStyleSheet(
        styles::greyHeader());

    connect(ui.pushButton_Save, &QPushButton::clicked, this, &QtDefectSet::save);
    connect(ui.pushButton_AddLine, &QPushButton::clicked, this, &QtDefectSet::addLine);
    connect(ui.pushButton_DeleteLine, &QPushButton::clicked, this, &QtDefectSet::deleteLine);
}

QtDefectSet::~QtDefectSet() = default;

void QtDefectSet::mousePressEvent(QMouseEvent *event) { m_frameless->mousePressEvent(event); }
void QtDefectSet::mouseReleaseEvent(QMouseEvent *event) { m_frameless->mouseReleaseEvent(event); }
void QtDefectSet::mouseMoveEvent(QMouseEvent *event) { m_frameless->mouseMoveEvent(event); }

QJsonObject QtDefectSet::load_camera_cfg(QString fileName)
{
    return m_doc.load(fileName);
}

void QtDefectSet::appendRow(const editors::DefectRow &row)
{
    QTableWidget *table = ui.tableWidget;
    const int r = table->rowCount();
    table->setRowCount(r + 1);
    table->setItem(r, 0, centred(row.serial));
    QTableWidgetItem *name = centred(row.name);
    markOrigin(name, row);
    table->setItem(r, 1, name);
    editors::putCheckCell(table, r, 2, row.inspect);
}

void QtDefectSet::setSerial(int r, const QString &text)
{
    ui.tableWidget->setItem(r, 0, centred(text));
}

void QtDefectSet::setData(QString fileName)
{
    ui.tableWidget->setRowCount(0);
    for (const editors::DefectRow &row : editors::defectRows(load_camera_cfg(fileName)))
        appendRow(row);
}

void QtDefectSet::addLine()
{
    appendRow(editors::newDefectRow(ui.tableWidget->rowCount()));
}

void QtDefectSet::deleteLine()
{
    if (QMessageBox::question(this, QStringLiteral("确认？"), QStringLiteral("确认删除此缺陷名称？"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton)
        != QMessageBox::Yes)
        return;
    QTableWidget *table = ui.tableWidget;
    const int r = table->currentRow();
    if (r >= 0 && r < table->rowCount())
        table->removeRow(r);
    for (int i = 0; i < table->rowCount(); ++i)
        setSerial(i, QString::number(i + 1));
}

QVector<editors::DefectRow> QtDefectSet::rows() const
{
    const QTableWidget *table = ui.tableWidget;
    QVector<editors::DefectRow> out;
    for (int r = 0; r < table->rowCount(); ++r) {
        editors::DefectRow row;
        const QTableWidgetItem *serial = table->item(r, 0);
        const QTableWidgetItem *name = table->item(r, 1);
        row.serial = serial ? serial->text() : QString();
        row.name = name ? name->text() : QString();
        const QCheckBox *box = editors::checkCell(table, r, 2);
        row.inspect = box && box->isChecked();
        if (name && name->data(FromDocumentRole).toBool()) {
            row.fromDocument = true;
            row.stored = name->data(StoredRole).toJsonValue();
            row.shownSerial = name->data(ShownSerialRole).toString();
            row.shownName = name->data(ShownNameRole).toString();
            row.shownInspect = name->data(ShownInspectRole).toBool();
        }
        out << row;
    }
    return out;
}

void QtDefectSet::save()
{
    QVector<editors::DefectRow> current = rows();
    switch (editors::checkDefects(current)) {
    case editors::DefectCheck::NameMissing:
        QMessageBox::information(this, QStringLiteral("缺陷名称未填入"),
                                 QStringLiteral("请输入缺陷名称，再保存。"), QMessageBox::Ok);
        return;
    case editors::DefectCheck::Duplicate:
        QMessageBox::information(this, QStringLiteral("重复"),
                                 QStringLiteral("缺陷名称重复，请修改后再保存。"), QMessageBox::Ok);
        return;
    case editors::DefectCheck::Ok:
        break;
    }
    const QJsonArray defects = editors::defectArray(current);
    QJsonObject newDoc = m_doc.reference();
    newDoc.insert(stationkey::defectClasses(), defects);

    QString error;
    const editors::SaveResult result = m_doc.save(newDoc, &error);
    if (!editors::reportSave(this, result, error) || result != editors::SaveResult::Written)
        return;
    for (int r = 0; r < current.size(); ++r) {
        editors::DefectRow &row = current[r];
        row.fromDocument = true;
        row.stored = defects.at(r);
        row.shownSerial = row.serial;
        row.shownName = row.name;
        row.shownInspect = row.inspect;
        if (QTableWidgetItem *name = ui.tableWidget->item(r, 1))
            markOrigin(name, row);
    }
    emit reLoadJsonSetParameter(station::Document(m_doc.reference()).algorithmNames(),
                                m_doc.fileName());
}
