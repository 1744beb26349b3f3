// Editor rules without widgets: list texts, box places, rebuilt entries and stations,
// image-saving rows, defect checks and the document's load outcomes.
#include "EditorDocument.h"
#include "EditorFixture.h"
#include "EditorRules.h"
#include "ListValue.h"

using namespace editors;

namespace {
QJsonArray stationsOf(const QJsonObject &doc) { return doc.value(QStringLiteral("工站列表")).toArray(); }
QJsonValue cameraAt(const QJsonObject &doc, int station, int index)
{
    return stationsOf(doc).at(station).toObject().value(QStringLiteral("相机模块列表")).toArray().at(index);
}
QJsonValue algorithmAt(const QJsonObject &doc, int station, int index)
{
    return stationsOf(doc).at(station).toObject().value(QStringLiteral("算法列表")).toArray().at(index);
}
// Every box's entry as built, untouched.
void boxEntries(const QJsonObject &doc, QVector<QJsonValue> *cameras, QVector<QJsonValue> *algorithms)
{
    for (const QJsonValue &s : stationsOf(doc)) {
        for (const QJsonValue &c : s.toObject().value(QStringLiteral("相机模块列表")).toArray())
            *cameras << rebuildEntry(BoxKind::Camera, c, parameterRows(BoxKind::Camera, c));
        for (const QJsonValue &a : s.toObject().value(QStringLiteral("算法列表")).toArray())
            *algorithms << rebuildEntry(BoxKind::Algorithm, a, parameterRows(BoxKind::Algorithm, a));
    }
}
QJsonArray arr(const QStringList &texts) { return QJsonArray::fromStringList(texts); }
} // namespace

class TestEditorRules : public QObject
{
    Q_OBJECT
private slots:
    void listTexts_data();
    void listTexts();
    void boxPlaces_data();
    void boxPlaces();
    void untouchedEntriesStayExact();
    void editedRowsSetOnlyWhatChanged();
    void addedAndDeletedRows();
    void stationsMatchedByPosition();
    void saveImgRowsFollowModules();
    void defectChecks_data();
    void defectChecks();
    void loadStatuses();
};

void TestEditorRules::listTexts_data()
{
    QTest::addColumn<QJsonArray>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QJsonArray>("saved");
    QTest::newRow("empty parts") << arr({"a", "", "b"}) << "a,,b" << arr({"a", "", "b"});
    QTest::newRow("trailing comma") << arr({"a", ""}) << "a," << arr({"a", ""});
    QTest::newRow("empty array") << QJsonArray() << "" << arr({""});
    QTest::newRow("number and text") << QJsonArray{1, "x"} << ",x" << arr({"", "x"});
    QTest::newRow("comma inside") << arr({"a,b"}) << "a,b" << arr({"a", "b"});
}

void TestEditorRules::listTexts()
{
    QFETCH(QJsonArray, stored);
    QFETCH(QString, shown);
    QFETCH(QJsonArray, saved);
    QCOMPARE(listvalue::join(stored), shown);
    QCOMPARE(listvalue::split(shown), saved);
}

void TestEditorRules::boxPlaces_data()
{
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("1") << 1 << 0 << 2 << 0;
    QTest::newRow("2") << 2 << 0 << 2 << 1;
    QTest::newRow("6") << 6 << 0 << 4 << 1;
    QTest::newRow("7") << 7 << 1 << 5 << 0;
    QTest::newRow("13") << 13 << 2 << 8 << 0;
}

void TestEditorRules::boxPlaces()
{
    QFETCH(int, k);
    const BoxPlace p = boxPlace(k);
    QFETCH(int, page);
    QFETCH(int, row);
    QFETCH(int, column);
    QCOMPARE(p.page, page);
    QCOMPARE(p.row, row);
    QCOMPARE(p.column, column);
    QCOMPARE(pageTitle(page), QStringLiteral("第%1页").arg(page + 1));
}

void TestEditorRules::untouchedEntriesStayExact()
{
    const QJsonObject doc = EditorFolder::sample();
    // "a,b", a number, a boolean and an empty array would all change on a split.
    const QJsonValue k2 = cameraAt(doc, 0, 1);
    const QVector<ParamRow> rows = parameterRows(BoxKind::Camera, k2);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).value, QStringLiteral("a,b,,"));
    QCOMPARE(rebuildEntry(BoxKind::Camera, k2, rows), k2);

    // An entry without a parameter array stays without one.
    const QJsonValue b = algorithmAt(doc, 0, 1);
    QCOMPARE(rebuildEntry(BoxKind::Algorithm, b, parameterRows(BoxKind::Algorithm, b)), b);
}

void TestEditorRules::editedRowsSetOnlyWhatChanged()
{
    const QJsonObject doc = EditorFolder::sample();
    const QJsonValue k1 = cameraAt(doc, 0, 0);
    QVector<ParamRow> rows = parameterRows(BoxKind::Camera, k1);
    rows[0].value = QStringLiteral("4000,");
    QJsonObject expected = k1.toObject();
    QJsonArray params = expected.value(QStringLiteral("相机参数")).toArray();
    QJsonObject first = params.at(0).toObject();
    first.insert(QStringLiteral("相机参数值"), arr({"4000", ""}));
    params[0] = first;
    expected.insert(QStringLiteral("相机参数"), params);
    QCOMPARE(rebuildEntry(BoxKind::Camera, k1, rows), QJsonValue(expected));

    // A renamed row keeps its value array as stored.
    const QJsonValue k2 = cameraAt(doc, 0, 1);
    rows = parameterRows(BoxKind::Camera, k2);
    rows[0].name = QStringLiteral("新名");
    const QJsonObject renamed = rebuildEntry(BoxKind::Camera, k2, rows)
                                    .toObject().value(QStringLiteral("相机参数")).toArray().at(0).toObject();
    QCOMPARE(renamed.value(QStringLiteral("参数名")).toString(), QStringLiteral("新名"));
    QCOMPARE(renamed.value(QStringLiteral("相机参数值")), QJsonValue(QJsonArray{"a,b", 5, true}));
}

void TestEditorRules::addedAndDeletedRows()
{
    const QJsonValue k1 = cameraAt(EditorFolder::sample(), 0, 0);
    const QJsonArray stored = k1.toObject().value(QStringLiteral("相机参数")).toArray();
    QVector<ParamRow> rows = parameterRows(BoxKind::Camera, k1);

    QVector<ParamRow> added = rows;
    added << ParamRow{};
    QJsonArray expect = stored;
    expect.append(QJsonObject{{"参数名", ""}, {"相机参数值", arr({""})}});
    QCOMPARE(rebuildEntry(BoxKind::Camera, k1, added).toObject().value("相机参数").toArray(), expect);

    // Deleting the first row leaves the second row's own element, exactly.
    QVector<ParamRow> deleted = rows.mid(1);
    QCOMPARE(rebuildEntry(BoxKind::Camera, k1, deleted).toObject().value("相机参数").toArray(),
             QJsonArray{stored.at(1)});
    const QJsonObject none = rebuildEntry(BoxKind::Camera, k1, {}).toObject();
    QCOMPARE(none.value("相机参数"), QJsonValue(QJsonArray()));
    QCOMPARE(none.value("相机外键"), QJsonValue(true));
}

void TestEditorRules::stationsMatchedByPosition()
{
    const QJsonObject doc = EditorFolder::sample();
    const QJsonArray working = stationsOf(doc);
    QVector<QJsonValue> cameras, algorithms;
    boxEntries(doc, &cameras, &algorithms);

    StationRebuild same = rebuildStations(doc, working, cameras, algorithms);
    QVERIFY(same.changedKeys.isEmpty());
    QCOMPARE(same.document, doc);

    // Edit K1 (station 1) and A of station 2; A of station 1 shares the name.
    QVector<ParamRow> k1 = parameterRows(BoxKind::Camera, cameras.at(0));
    k1[1].value = QStringLiteral("1,2,3,4");
    cameras[0] = rebuildEntry(BoxKind::Camera, cameras.at(0), k1);
    QVector<ParamRow> a2 = parameterRows(BoxKind::Algorithm, algorithms.at(2));
    a2[0].value = QStringLiteral("30");
    algorithms[2] = rebuildEntry(BoxKind::Algorithm, algorithms.at(2), a2);

    const StationRebuild edited = rebuildStations(doc, working, cameras, algorithms);
    QCOMPARE(edited.changedKeys, QStringList({"K1", "A"}));
    QCOMPARE(edited.changedKinds, QVector<BoxKind>({BoxKind::Camera, BoxKind::Algorithm}));
    QCOMPARE(algorithmAt(edited.document, 0, 0), algorithmAt(doc, 0, 0));
    QCOMPARE(algorithmAt(edited.document, 1, 0).toObject().value("算法初始化参数").toArray().at(0)
                 .toObject().value("算法参数值"), QJsonValue(arr({"30"})));
    QCOMPARE(stationsOf(edited.document).at(0).toObject().value("工站外键"), QJsonValue("s1"));
    QJsonObject rest = edited.document;
    rest.remove("工站列表");
    QJsonObject sampleRest = doc;
    sampleRest.remove("工站列表");
    QCOMPARE(rest, sampleRest);
}

void TestEditorRules::saveImgRowsFollowModules()
{
    QJsonObject doc = EditorFolder::sample();
    QVector<SaveImgRow> rows = saveImgRows(doc);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(0).cameraKey, QStringLiteral("K1"));
    QCOMPARE(QVector<bool>(rows.at(0).ticks, rows.at(0).ticks + 4), QVector<bool>({true, false, true, false}));
    // "保存 " with a trailing blank is not "保存".
    QCOMPARE(QVector<bool>(rows.at(1).ticks, rows.at(1).ticks + 4), QVector<bool>({false, false, false, true}));
    const QJsonArray stored = doc.value("存图设置").toArray();
    QCOMPARE(saveImgArray(rows), stored);

    // A toggled row keeps its extra key; untoggling again gives the stored entry back.
    rows[0].ticks[1] = true;
    QJsonObject k1 = saveImgArray(rows).at(0).toObject();
    QCOMPARE(k1.value("Seg图"), QJsonValue("保存"));
    QCOMPARE(k1.value("存图外键"), QJsonValue("e"));
    rows[0].ticks[1] = false;
    QCOMPARE(saveImgArray(rows), stored);

    // Modules swapped and one added: each keeps its own switches, the new one is unticked.
    QJsonArray stations = stationsOf(doc);
    QJsonObject s1 = stations.at(0).toObject();
    QJsonArray mods = s1.value("相机模块列表").toArray();
    mods = QJsonArray{mods.at(1), mods.at(0), QJsonObject{{"相机key", "K9"}, {"界面窗口名称", "新"}}};
    s1.insert("相机模块列表", mods);
    stations[0] = s1;
    doc.insert("工站列表", stations);
    rows = saveImgRows(doc);
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows.at(1).cameraKey, QStringLiteral("K1"));
    QVERIFY(rows.at(1).ticks[0] && rows.at(1).ticks[2]);
    QVERIFY(!rows.at(2).fromDocument);
    const QJsonArray saved = saveImgArray(rows);
    QCOMPARE(saved.at(0), stored.at(1));
    QCOMPARE(saved.at(1), stored.at(0));
    QCOMPARE(saved.at(2), QJsonValue(QJsonObject{{"相机key", "K9"}, {"界面窗口名称", "新"}, {"原图", "不保存"},
                                              {"Seg图", "不保存"}, {"Class图", "不保存"}, {"结果图", "不保存"}}));
}

void TestEditorRules::defectChecks_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<int>("bad");
    QTest::newRow("ok") << QStringList{"划痕", "脏污"} << int(DefectCheck::Ok) << -1;
    QTest::newRow("letter case") << QStringList{"A", "a"} << int(DefectCheck::Ok) << -1;
    QTest::newRow("empty") << QStringList{"划痕", ""} << int(DefectCheck::NameMissing) << 1;
    QTest::newRow("placeholder inside") << QStringList{"x请输入y"} << int(DefectCheck::NameMissing) << 0;
    QTest::newRow("duplicate") << QStringList{"A", "B", "A"} << int(DefectCheck::Duplicate) << 2;
    QTest::newRow("first failure decides") << QStringList{"A", "A", ""} << int(DefectCheck::Duplicate) << 1;
}

void TestEditorRules::defectChecks()
{
    QFETCH(QStringList, names);
    QFETCH(int, verdict);
    QFETCH(int, bad);
    QVector<DefectRow> rows;
    for (const QString &n : names) {
        DefectRow r;
        r.name = n;
        rows << r;
    }
    int first = -1;
    QCOMPARE(int(checkDefects(rows, &first)), verdict);
    QCOMPARE(first, bad);
}

void TestEditorRules::loadStatuses()
{
    EditorFolder folder;
    EditorDocument doc(QStringLiteral("T"), EditorDocument::Backup::OfReference, folder.folder());
    QCOMPARE(doc.load(QStringLiteral("camera_cfg.json")), EditorFolder::sample());
    QCOMPARE(doc.lastLoad(), LoadStatus::Ok);
    QCOMPARE(doc.documentPath(), folder.docPath());

    // A load that reads nothing keeps the base; broken or non-object text empties it.
    QVERIFY(doc.load(QStringLiteral("missing.json")).isEmpty());
    QCOMPARE(doc.lastLoad(), LoadStatus::NoContent);
    QCOMPARE(doc.base(), EditorFolder::sample());
    EditorFolder::put(folder.docPath(), "[1]");
    QVERIFY(doc.load(QStringLiteral("camera_cfg.json")).isEmpty());
    QCOMPARE(doc.lastLoad(), LoadStatus::NotObject);
    EditorFolder::put(folder.docPath(), "{\"a\":1,}");
    doc.load(QStringLiteral("camera_cfg.json"));
    QCOMPARE(doc.lastLoad(), LoadStatus::NotJson);
    QVERIFY(doc.base().isEmpty());
}

QTEST_GUILESS_MAIN(TestEditorRules)
#include "tst_editor_rules.moc"
