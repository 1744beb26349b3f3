// The three editor windows on the sample document: what they show, what a press writes
// and announces, and how refused or failed saves leave files and windows.
#include "BoxAnswerer.h"
#include "EditorWidgets.h"
#include "EditorFixture.h"
#include "QtDefectSet.h"
#include "QtParameterSettings.h"
#include "QtSaveImgSet.h"
#include "FramelessRules.h"
#include "ReadOnlyFolder.h"
#include "TextFits.h"

#include <QCheckBox>
#include <QSignalSpy>
#include <QTableWidget>

namespace {
const QString kFile = QStringLiteral("camera_cfg.json");

QStringList titles(const QList<CfgWindow> &boxes)
{
    QStringList t;
    for (const CfgWindow &b : boxes)
        t << b.groupBox->title();
    return t;
}
void setText(QTableWidget *table, int row, int column, const QString &text)
{
    table->item(row, column)->setText(text);
}
QString entryPath(int station, const char *list, int index, const char *key)
{
    return QStringLiteral("工站列表/%1/%2/%3/%4").arg(station).arg(QString::fromUtf8(list)).arg(index)
        .arg(QString::fromUtf8(key));
}
QJsonValue paramsOf(const QJsonObject &doc, int station, const char *list, int index, const char *key)
{
    return stationdoc::valueAt(doc, entryPath(station, list, index, key));
}
QJsonObject withParams(const QJsonObject &doc, int station, const char *list, int index, const char *key,
                       const QJsonArray &params)
{
    return stationdoc::withValue(doc, entryPath(station, list, index, key), params);
}
QJsonObject modules(int first, int second)
{
    QJsonArray stations;
    for (int count : {first, second}) {
        QJsonArray mods;
        for (int i = 0; i < count; ++i)
            mods.append(QJsonObject{{"相机key", QStringLiteral("C%1").arg(stations.size() * 10 + i)}});
        stations.append(stationdoc::station(mods, QJsonArray{QJsonObject{{"算法名称", "X"}}}));
    }
    return stationdoc::document(stations);
}
} // namespace

class TestEditorWindows : public QObject
{
    Q_OBJECT
private slots:
    void boxesAndPages();
    void deletionWaitsForTheBuild();
    void fitsASmallScreen();
    void pressWithoutEdits();
    void editsInTwoStations();
    void addedAndDeletedRows();
    void failedWriteKeepsEverythingForRetry();
    void refusedSaves();
    void readOnlyDocumentRefusedWithoutBackup();
    void saveImgTableAndSave();
    void defectValidationAndSave();
    void defectRowsRenumberAndSave();
    void defectKeyAddedWhenMissing();
    void defectEditKeepsUntouchedCells();
    void editorsDoNotOverwriteEachOther();

private:
    BoxAnswerer m_boxes;
};

void TestEditorWindows::boxesAndPages()
{
    EditorFolder folder;
    QtParameterSettings editor(nullptr, folder.folder());
    QCOMPARE(titles(editor.cameraBoxes()), QStringList({"顶面", "底面", "侧面"}));
    QCOMPARE(titles(editor.algorithmBoxes()), QStringList({"A", "B", "A"}));
    QCOMPARE(editor.algorithmBoxes().at(2).stationName, QStringLiteral("S2"));
    QTableWidget *k2 = editor.cameraBoxes().at(1).paramTable;
    QCOMPARE(k2->item(0, 1)->text(), QStringLiteral("a,b,,"));
    QCOMPARE(k2->item(1, 1)->text(), QString());

    // Four and three modules: six boxes on page 1, the seventh alone on page 2.
    folder.putDoc(modules(4, 3));
    editor.initTabs(editor.load_camera_cfg(kFile));
    Ui::QtParameterSettingsClass &ui = editor.form();
    QCOMPARE(ui.tabWidget_camera->count(), 2);
    QCOMPARE(ui.tabWidget_camera->tabText(1), QStringLiteral("第2页"));
    QCOMPARE(ui.tabWidget_camera->widget(1)->findChildren<QGroupBox *>().size(), 1);
    QCOMPARE(editor.cameraBoxes().at(6).groupBox->parentWidget(), ui.tabWidget_camera->widget(1));
    QCOMPARE(ui.tabWidget_camera->currentIndex(), 0);
    QCOMPARE(ui.tabWidget_algorithm->count(), 1);
    // The pages of the earlier document are gone from the window at once.
    QCOMPARE(editor.findChild<QTabWidget *>("tabWidget_camera"), ui.tabWidget_camera);
    for (QTabWidget *tabs : editor.findChildren<QTabWidget *>())
        QVERIFY(tabs == ui.tabWidget_camera || tabs == ui.tabWidget_algorithm || tabs->isHidden());

    folder.putDoc(QJsonObject());
    editor.initTabs(editor.load_camera_cfg(kFile));
    QCOMPARE(ui.tabWidget_camera->count(), 1);
    QCOMPARE(ui.tabWidget_camera->tabText(0), QStringLiteral("第1页"));
    QVERIFY(editor.cameraBoxes().isEmpty());
}

void TestEditorWindows::deletionWaitsForTheBuild()
{
    // Pages are built with events running between them; a deletion asked for meanwhile
    // (the main window closing) waits until the build is done.
    EditorFolder folder;
    folder.putDoc(modules(20, 1));
    QPointer<QtParameterSettings> editor = new QtParameterSettings(nullptr, folder.folder());
    QTimer::singleShot(0, editor, [&] { editor->deleteLater(); });
    editor->initTabs(editor->load_camera_cfg(kFile));
    QVERIFY(editor);
    QCOMPARE(editor->cameraBoxes().size(), 21);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!editor);
}

void TestEditorWindows::pressWithoutEdits()
{
    EditorFolder folder;
    QtParameterSettings editor(nullptr, folder.folder());
    QSignalSpy spy(&editor, &QtParameterSettings::reLoadJsonSetParameter);
    const QByteArray before = EditorFolder::bytes(folder.docPath());
    editor.form().pushButton_saveCfg->click();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(EditorFolder::bytes(folder.docPath()), before);
    // The missing backup folder is created and the loaded document backed up.
    QCOMPARE(EditorFolder::json(folder.backupPath()), EditorFolder::sample());
    QCOMPARE(m_boxes.count(), 0);
}

void TestEditorWindows::editsInTwoStations()
{
    EditorFolder folder;
    QtParameterSettings editor(nullptr, folder.folder());
    QSignalSpy spy(&editor, &QtParameterSettings::reLoadJsonSetParameter);
    setText(editor.cameraBoxes().at(0).paramTable, 0, 1, "4000");
    setText(editor.algorithmBoxes().at(2).paramTable, 0, 1, "30,");
    editor.form().pushButton_saveCfg->click();

    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.takeFirst(), QVariantList({QStringList({"K1", "A"}), kFile}));
    QJsonObject expected = EditorFolder::sample();
    expected = withParams(expected, 0, "相机模块列表", 0, "相机参数",
                          QJsonArray{QJsonObject{{"参数名", "曝光"}, {"相机参数值", QJsonArray{"4000"}}, {"参数外键", "p"}},
                                     paramsOf(expected, 0, "相机模块列表", 0, "相机参数").toArray().at(1)});
    expected = withParams(expected, 1, "算法列表", 0, "算法初始化参数",
                          QJsonArray{QJsonObject{{"算法参数名", "阈值"}, {"算法参数值", QJsonArray{"30", ""}}}});
    QCOMPARE(EditorFolder::json(folder.docPath()), expected);
    QCOMPARE(EditorFolder::json(folder.backupPath()), EditorFolder::sample());
    QCOMPARE(editor.workingStations(), expected.value("工站列表").toArray());

    // A second press without edits announces and writes nothing; the backup stays as loaded.
    editor.form().pushButton_saveCfg->click();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(EditorFolder::json(folder.docPath()), expected);
    QCOMPARE(EditorFolder::json(folder.backupPath()), EditorFolder::sample());

    // Undoing the edit is a change against what was written.
    setText(editor.cameraBoxes().at(0).paramTable, 0, 1, "3500");
    setText(editor.algorithmBoxes().at(2).paramTable, 0, 1, "20");
    editor.form().pushButton_saveCfg->click();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(EditorFolder::json(folder.docPath()), EditorFolder::sample());

    // Reopening shows the saved values.
    editor.form().pushButton_giveup->click();
    QCOMPARE(editor.cameraBoxes().at(0).paramTable->item(0, 1)->text(), QStringLiteral("3500"));
}

void TestEditorWindows::addedAndDeletedRows()
{
    EditorFolder folder;
    QtParameterSettings editor(nullptr, folder.folder());
    QSignalSpy spy(&editor, &QtParameterSettings::reLoadJsonSetParameter);
    const CfgWindow k1 = editor.cameraBoxes().at(0);
    const CfgWindow k3 = editor.cameraBoxes().at(2);
    k1.paramTable->setCurrentCell(0, 0);
    k1.deleteButton->click();
    QCOMPARE(k1.paramTable->rowCount(), 1);
    k3.deleteButton->click(); // no current row
    QCOMPARE(k3.paramTable->rowCount(), 1);
    k3.addButton->click();
    QCOMPARE(k3.paramTable->rowCount(), 2);
    setText(k3.paramTable, 1, 0, "新");
    editor.form().pushButton_saveCfg->click();

    QCOMPARE(spy.takeFirst().at(0).toStringList(), QStringList({"K1", "K3"}));
    const QJsonObject doc = EditorFolder::json(folder.docPath());
    const QJsonObject sample = EditorFolder::sample();
    QCOMPARE(paramsOf(doc, 0, "相机模块列表", 0, "相机参数").toArray(),
             QJsonArray{paramsOf(sample, 0, "相机模块列表", 0, "相机参数").toArray().at(1)});
    QCOMPARE(paramsOf(doc, 1, "相机模块列表", 0, "相机参数").toArray().at(1),
             QJsonValue(QJsonObject{{"参数名", "新"}, {"相机参数值", QJsonArray{""}}}));
}

void TestEditorWindows::failedWriteKeepsEverythingForRetry()
{
    EditorFolder folder;
    QtParameterSettings editor(nullptr, folder.folder());
    QSignalSpy spy(&editor, &QtParameterSettings::reLoadJsonSetParameter);
    QDir().mkpath(folder.configDir() + "/backup");
    setText(editor.cameraBoxes().at(0).paramTable, 0, 1, "4000");
    const QByteArray before = EditorFolder::bytes(folder.docPath());
    for (const QString &path : {folder.configDir(), folder.docPath()}) {
        ReadOnlyFolder locked(path); // a read-only folder, then a read-only document
        QVERIFY(locked.isActive());
        editor.form().pushButton_saveCfg->click();
    }
    QCOMPARE(m_boxes.titles(), QStringList({"保存失败", "保存失败"}));
    m_boxes.clear();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(EditorFolder::bytes(folder.docPath()), before);
    QCOMPARE(editor.workingStations(), EditorFolder::sample().value("工站列表").toArray());

    // The backup folder cannot take the backup: the document is not touched either.
    {
        ReadOnlyFolder locked(folder.configDir() + "/backup");
        QFile::remove(folder.backupPath());
        editor.form().pushButton_saveCfg->click();
    }
    QCOMPARE(m_boxes.titles(), QStringList({"备份失败"}));
    m_boxes.clear();
    QCOMPARE(EditorFolder::bytes(folder.docPath()), before);

    editor.form().pushButton_saveCfg->click();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.takeFirst().at(0).toStringList(), QStringList({"K1"}));
}

void TestEditorWindows::refusedSaves()
{
    EditorFolder folder;
    QtParameterSettings editor(nullptr, folder.folder());
    QSignalSpy spy(&editor, &QtParameterSettings::reLoadJsonSetParameter);

    // Another writer changed the file after the load.
    setText(editor.cameraBoxes().at(0).paramTable, 0, 1, "4000");
    QJsonObject other = EditorFolder::sample();
    other.insert("任务名", "别的窗口");
    folder.putDoc(other);
    editor.form().pushButton_saveCfg->click();
    QCOMPARE(m_boxes.titles(), QStringList({"保存失败"}));
    m_boxes.clear();
    QCOMPARE(EditorFolder::json(folder.docPath()), other);

    // A broken document is never replaced by the editor's empty view of it.
    EditorFolder::put(folder.docPath(), "{\"工站列表\": [");
    editor.form().pushButton_giveup->click();
    QVERIFY(editor.cameraBoxes().isEmpty());
    editor.form().pushButton_saveCfg->click();
    QCOMPARE(m_boxes.titles(), QStringList({"保存失败"}));
    m_boxes.clear();
    QCOMPARE(EditorFolder::bytes(folder.docPath()), QByteArray("{\"工站列表\": ["));
    QCOMPARE(spy.count(), 0);
}

void TestEditorWindows::readOnlyDocumentRefusedWithoutBackup()
{
    // Mode 0444 binds root too: every editor refuses, shows why, writes no backup and
    // leaves the document's bytes and mode as they were.
    EditorFolder folder;
    const QFileDevice::Permissions readOnly =
        QFileDevice::ReadOwner | QFileDevice::ReadUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QVERIFY(QFile::setPermissions(folder.docPath(), readOnly));
    const QByteArray before = EditorFolder::bytes(folder.docPath());
    const QString backups = folder.configDir() + "/backup";

    QtParameterSettings parameters(nullptr, folder.folder());
    QSignalSpy parameterSpy(&parameters, &QtParameterSettings::reLoadJsonSetParameter);
    setText(parameters.cameraBoxes().at(0).paramTable, 0, 1, "4000");
    parameters.form().pushButton_saveCfg->click();

    QtSaveImgSet saveImg(nullptr, folder.folder());
    QSignalSpy saveImgSpy(&saveImg, &QtSaveImgSet::reLoadJsonSetParameter);
    saveImg.initTable(kFile);
    editors::checkCell(saveImg.form().tableWidget, 0, 4)->setChecked(true);

    QtDefectSet defects(nullptr, folder.folder());
    QSignalSpy defectSpy(&defects, &QtDefectSet::reLoadJsonSetParameter);
    defects.setData(kFile);
    setText(defects.form().tableWidget, 0, 1, "新");
    for (int press = 0; press < 2; ++press) {
        saveImg.form().pushButton_save->click();
        defects.form().pushButton_Save->click();
    }

    QCOMPARE(m_boxes.titles(), QStringList({"保存失败", "保存失败", "保存失败", "保存失败", "保存失败"}));
    QVERIFY(m_boxes.boxes.at(0).text.contains(folder.docPath()));
    m_boxes.clear();
    QCOMPARE(parameterSpy.count() + saveImgSpy.count() + defectSpy.count(), 0);
    QCOMPARE(EditorFolder::bytes(folder.docPath()), before);
    // The "User" bits follow access(), which always grants root: compare the mode bits.
    const QFileDevice::Permissions mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner
        | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::WriteGroup
        | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    QCOMPARE(QFile::permissions(folder.docPath()) & mode, readOnly & mode);
    QVERIFY(QDir(backups).entryList(QDir::Files).isEmpty());

    // Writable again, the same press goes ahead with its backup.
    QVERIFY(QFile::setPermissions(folder.docPath(), readOnly | QFileDevice::WriteOwner));
    defects.form().pushButton_Save->click();
    QCOMPARE(defectSpy.count(), 1);
    QCOMPARE(QDir(backups).entryList(QDir::Files).size(), 1);
}

void TestEditorWindows::saveImgTableAndSave()
{
    EditorFolder folder;
    QtSaveImgSet editor(nullptr, folder.folder());
    QSignalSpy spy(&editor, &QtSaveImgSet::reLoadJsonSetParameter);
    editor.initTable(kFile);
    QTableWidget *table = editor.form().tableWidget;
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("0"));
    QCOMPARE(table->item(2, 1)->text(), QStringLiteral("K3"));
    QCOMPARE(table->item(2, 2)->text(), QStringLiteral("侧面"));
    QList<bool> ticks;
    for (int r = 0; r < 2; ++r)
        for (int c = 3; c < 7; ++c)
            ticks << editors::checkCell(table, r, c)->isChecked();
    QCOMPARE(ticks, QList<bool>({true, false, true, false, false, false, false, true}));

    editor.form().pushButton_save->click();
    QCOMPARE(spy.count(), 0);
    QVERIFY(!QFile::exists(folder.backupPath()));

    editors::checkCell(table, 0, 4)->setChecked(true);
    editor.form().pushButton_save->click();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.takeFirst(), QVariantList({QStringList({"A", "B", "A"}), kFile}));
    QJsonObject expected = EditorFolder::sample();
    QJsonArray saveImg = expected.value("存图设置").toArray();
    QJsonObject k1 = saveImg.at(0).toObject();
    k1.insert("Seg图", "保存");
    saveImg[0] = k1;
    expected.insert("存图设置", saveImg);
    QCOMPARE(EditorFolder::json(folder.docPath()), expected);
    QCOMPARE(EditorFolder::json(folder.backupPath()), EditorFolder::sample());

    editor.form().pushButton_save->click();
    QCOMPARE(spy.count(), 0);
}

void TestEditorWindows::defectValidationAndSave()
{
    EditorFolder folder;
    QtDefectSet editor(nullptr, folder.folder());
    QSignalSpy spy(&editor, &QtDefectSet::reLoadJsonSetParameter);
    editor.setData(kFile);
    Ui::QtDefectSet &ui = editor.form();
    QCOMPARE(ui.tableWidget->rowCount(), 3);
    QVERIFY(editors::checkCell(ui.tableWidget, 0, 2)->isChecked());
    QVERIFY(!editors::checkCell(ui.tableWidget, 2, 2)->isChecked());

    ui.pushButton_AddLine->click();
    QCOMPARE(ui.tableWidget->item(3, 0)->text(), QStringLiteral("4"));
    QCOMPARE(ui.tableWidget->item(3, 1)->text(), QStringLiteral("请输入"));
    ui.pushButton_Save->click();
    setText(ui.tableWidget, 3, 1, "A");
    ui.pushButton_AddLine->click();
    setText(ui.tableWidget, 4, 1, "a");
    ui.pushButton_AddLine->click();
    setText(ui.tableWidget, 5, 1, "A");
    ui.pushButton_Save->click();
    QCOMPARE(m_boxes.titles(), QStringList({"缺陷名称未填入", "重复"}));
    m_boxes.clear();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(EditorFolder::json(folder.docPath()), EditorFolder::sample());

    setText(ui.tableWidget, 5, 1, "B");
    ui.pushButton_Save->click();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.takeFirst(), QVariantList({QStringList({"A", "B", "A"}), kFile}));
    const QJsonArray saved = EditorFolder::json(folder.docPath()).value("缺陷类别名称设置").toArray();
    QCOMPARE(saved.size(), 6);
    QCOMPARE(saved.at(0), EditorFolder::sample().value("缺陷类别名称设置").toArray().at(0));
    QCOMPARE(saved.at(4), QJsonValue(QJsonObject{{"缺陷类别", "5"}, {"缺陷名称", "a"}, {"是否检测", "是"}}));
}

void TestEditorWindows::defectRowsRenumberAndSave()
{
    EditorFolder folder;
    QtDefectSet editor(nullptr, folder.folder());
    QSignalSpy spy(&editor, &QtDefectSet::reLoadJsonSetParameter);
    editor.setData(kFile);
    Ui::QtDefectSet &ui = editor.form();
    ui.tableWidget->setCurrentCell(1, 1);
    m_boxes.queue(QMessageBox::No);
    ui.pushButton_DeleteLine->click();
    QCOMPARE(ui.tableWidget->rowCount(), 3);
    m_boxes.queue(QMessageBox::Yes);
    ui.pushButton_DeleteLine->click();
    QCOMPARE(m_boxes.titles(), QStringList({"确认？", "确认？"}));
    m_boxes.clear();
    QCOMPARE(ui.tableWidget->rowCount(), 2);
    QCOMPARE(ui.tableWidget->item(1, 0)->text(), QStringLiteral("2"));
    QCOMPARE(ui.tableWidget->item(1, 1)->text(), QStringLiteral("缺角"));
    QVERIFY(!editors::checkCell(ui.tableWidget, 1, 2)->isChecked());

    ui.pushButton_Save->click();
    QCOMPARE(spy.count(), 1);
    // Only the renumbered serial is written; the untouched switch keeps its stored "".
    const QJsonArray stored = EditorFolder::sample().value("缺陷类别名称设置").toArray();
    QCOMPARE(EditorFolder::json(folder.docPath()).value("缺陷类别名称设置").toArray(),
             QJsonArray({stored.at(0), QJsonObject{{"缺陷类别", "2"}, {"缺陷名称", "缺角"}, {"是否检测", ""}}}));
    QCOMPARE(EditorFolder::json(folder.backupPath()), EditorFolder::sample());
}

void TestEditorWindows::defectKeyAddedWhenMissing()
{
    EditorFolder folder;
    QJsonObject doc = EditorFolder::sample();
    doc.remove("缺陷类别名称设置");
    doc.remove("工站列表");
    folder.putDoc(doc);
    QtDefectSet editor(nullptr, folder.folder());
    QSignalSpy spy(&editor, &QtDefectSet::reLoadJsonSetParameter);
    editor.setData(kFile);
    QCOMPARE(editor.form().tableWidget->rowCount(), 0);
    editor.form().pushButton_Save->click();
    QCOMPARE(spy.count(), 1);
    QVERIFY(spy.takeFirst().at(0).toStringList().isEmpty());
    doc.insert("缺陷类别名称设置", QJsonArray());
    QCOMPARE(EditorFolder::json(folder.docPath()), doc);
    editor.form().pushButton_Save->click();
    QCOMPARE(spy.count(), 0);
}

void TestEditorWindows::defectEditKeepsUntouchedCells()
{
    // Stored values that are not text show as empty or unticked; renaming the row must
    // not turn them into what the cells show.
    EditorFolder folder;
    QJsonObject doc = EditorFolder::sample();
    doc.insert("缺陷类别名称设置",
               QJsonArray{QJsonObject{{"缺陷类别", 1}, {"缺陷名称", "划痕"}, {"是否检测", true}}});
    folder.putDoc(doc);
    QtDefectSet editor(nullptr, folder.folder());
    editor.setData(kFile);
    setText(editor.form().tableWidget, 0, 1, "裂纹");
    editor.form().pushButton_Save->click();
    const QJsonObject expected{{"缺陷类别", 1}, {"缺陷名称", "裂纹"}, {"是否检测", true}};
    QCOMPARE(EditorFolder::json(folder.docPath()).value("缺陷类别名称设置").toArray(), QJsonArray{expected});
}

void TestEditorWindows::editorsDoNotOverwriteEachOther()
{
    EditorFolder folder;
    QtDefectSet defects(nullptr, folder.folder());
    defects.setData(kFile);
    QtParameterSettings parameters(nullptr, folder.folder());
    setText(parameters.cameraBoxes().at(0).paramTable, 0, 1, "4000");
    parameters.form().pushButton_saveCfg->click();
    const QByteArray saved = EditorFolder::bytes(folder.docPath());

    QSignalSpy spy(&defects, &QtDefectSet::reLoadJsonSetParameter);
    defects.form().pushButton_AddLine->click();
    setText(defects.form().tableWidget, 3, 1, "新");
    defects.form().pushButton_Save->click();
    QCOMPARE(m_boxes.titles(), QStringList({"保存失败"}));
    m_boxes.clear();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(EditorFolder::bytes(folder.docPath()), saved);

    // Reopened, it saves on top of the other editor's values.
    defects.setData(kFile);
    defects.form().pushButton_AddLine->click();
    setText(defects.form().tableWidget, 3, 1, "新");
    defects.form().pushButton_Save->click();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(paramsOf(EditorFolder::json(folder.docPath()), 0, "相机模块列表", 0, "相机参数"),
             paramsOf(QJsonDocument::fromJson(saved).object(), 0, "相机模块列表", 0, "相机参数"));
}

void TestEditorWindows::fitsASmallScreen()
{
    // At two thirds of a 1366x768 screen the editor keeps its size (its contents scroll)
    // and shows every caption and button text whole.
    EditorFolder folder;
    QtParameterSettings editor(nullptr, folder.folder());
    const QSize size = frameless::toolGeometry(QSize(1366, 768)).size();
    editor.show();
    editor.resize(size);
    QCoreApplication::processEvents();
    QCOMPARE(editor.size(), size);
    const QStringList cut = textfits::cutTexts(&editor);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestEditorWindows)
#include "tst_editor_windows.moc"
