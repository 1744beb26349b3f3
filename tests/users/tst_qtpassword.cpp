// Login window: views, role boxes, message boxes, role texts, relock and fail-closed paths.
#include "BoxAnswerer.h"
#include "QtPassword.h"
#include "ReadOnlyFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kSuper = QStringLiteral("超级用户");
const QString kDefault = QStringLiteral("默认用户");
const QString kPassword = QStringLiteral("482917365");
const QString kWrongLogin = QStringLiteral("密码错误，请重新输入! 提示，密码为9位");
const QString kWrongUnlock = QStringLiteral("密码错误，请重新输入！提示，密码为9位");

QString docPath(const QTemporaryDir &dir) { return dir.path() + "/config/password.json"; }

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList items(QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

using Boxes = QList<BoxAnswerer::Box>;

// A requested size, as far as the layout of the parts shown allows it.
QSize sized(QWidget *w, int width, int height)
{
    return QSize(width, height).expandedTo(w->minimumSize());
}

bool sameBoxes(const Boxes &seen, const QList<QPair<QString, QString>> &expected)
{
    if (seen.size() != expected.size()) {
        for (const auto &b : seen)
            qWarning() << "box:" << b.title << b.text;
        return false;
    }
    for (int i = 0; i < seen.size(); ++i)
        if (seen[i].title != expected[i].first || seen[i].text != expected[i].second) {
            qWarning() << "box:" << seen[i].title << seen[i].text;
            return false;
        }
    return true;
}

// The window with handles on its form.
struct Login {
    explicit Login(const QString &folder) : w(nullptr, folder), spy(&w, &QtPassword::LoginSuccess)
    {
        w.show();
    }
    template <class T> T *get(const char *name) { return w.findChild<T *>(QLatin1String(name)); }
    QPushButton *button(const char *name) { return get<QPushButton>(name); }
    QCheckBox *check(const char *name) { return get<QCheckBox>(name); }
    QLineEdit *edit(const char *name) { return get<QLineEdit>(name); }
    QComboBox *combo(const char *name) { return get<QComboBox>(name); }
    bool shown(const char *name) { return get<QWidget>(name)->isVisible(); }

    void unlock(const QString &password = kPassword)
    {
        button("pushButton_addDelete")->click();
        edit("lineEdit_adminPassword")->setText(password);
        button("pushButton_check")->click();
    }
    void typeAccount(const QString &name, const QString &pw, const QString &pw2)
    {
        edit("lineEdit_addUser")->setText(name);
        edit("lineEdit_addPassword")->setText(pw);
        edit("lineEdit_addPassword2")->setText(pw2);
    }

    QtPassword w;
    QSignalSpy spy;
};

} // namespace

class TestQtPassword : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() { boxes.take(); }

    void startView();
    void loginRoleTexts();
    void loginRefusals();
    void loginNeedsAccountOfRole();
    void userBoxes();
    void unlockAndViews();
    void addRefusalsInOrder();
    void addSavesAndRefusesDuplicateAcrossRoles();
    void deleteRules();
    void hideRelocks();
    void brokenDocumentFailsClosed_data();
    void brokenDocumentFailsClosed();
    void failedSaveIsReported();
    void moveOnlyTitle();

private:
    BoxAnswerer boxes;
};

void TestQtPassword::startView()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("config");
    Login l(dir.path());
    QCOMPARE(l.w.size(), sized(&l.w, 500, 350));
    QVERIFY(l.w.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(l.shown("groupBox_Login"));
    for (const char *hidden : {"groupBox_add", "groupBox_addDelete", "groupBox_checkAddOrDel",
                               "groupBox_checkType", "groupBox_del", "pushButton_finish",
                               "del_button", "add_button"})
        QVERIFY2(!l.shown(hidden), hidden);
    QCOMPARE(l.button("pushButton_close")->text(), QString());
    QCOMPARE(l.get<QLabel>("label")->text(), QStringLiteral("权限管理/登录系统"));
    // Defaults written: the user box keeps its one form item.
    QCOMPARE(items(l.combo("comboBox_user")), QStringList({kDefault}));
    QVERIFY(QFileInfo::exists(docPath(dir)));

    // "密码可见" shows the password only while held.
    QLineEdit *pw = l.edit("lineEdit_password");
    QCOMPARE(pw->echoMode(), QLineEdit::Password);
    emit l.button("pushButton_see")->pressed();
    QCOMPARE(pw->echoMode(), QLineEdit::Normal);
    emit l.button("pushButton_see")->released();
    QCOMPARE(pw->echoMode(), QLineEdit::Password);
    QVERIFY(boxes.take().isEmpty());
}

void TestQtPassword::loginRoleTexts()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("config");
    Login l(dir.path());
    l.check("checkBox_admin")->click();
    QCOMPARE(l.combo("comboBox_user")->currentText(), kSuper);
    l.edit("lineEdit_password")->setText(kPassword);
    l.button("pushButton_Login")->click();
    QCOMPARE(l.spy.count(), 1);
    QCOMPARE(l.spy.at(0).at(0).toString(), QStringLiteral("管理员:\r\n超级用户"));
    QVERIFY(!l.w.isVisible());
    QCOMPARE(l.edit("lineEdit_password")->text(), QString());

    l.w.show();
    l.check("checkBox_operator")->click();
    QVERIFY(!l.check("checkBox_admin")->isChecked());
    QCOMPARE(l.combo("comboBox_user")->currentText(), kDefault);
    l.edit("lineEdit_password")->setText(kPassword);
    l.button("pushButton_Login")->click();
    QCOMPARE(l.spy.count(), 2);
    QCOMPARE(l.spy.at(1).at(0).toString(), QStringLiteral("操作员:\r\n默认用户"));
    QVERIFY(boxes.take().isEmpty());
}

void TestQtPassword::loginRefusals()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("config");
    Login l(dir.path());
    // No role box: refused even with the right password.
    l.edit("lineEdit_password")->setText(kPassword);
    l.button("pushButton_Login")->click();
    QVERIFY(sameBoxes(boxes.take(), {{"选择权限", "未选择登录权限，请选择! "}}));
    // Wrong password keeps the typed text.
    l.check("checkBox_admin")->click();
    l.edit("lineEdit_password")->setText("48291736");
    l.button("pushButton_Login")->click();
    QVERIFY(sameBoxes(boxes.take(), {{"密码错误", kWrongLogin}}));
    QCOMPARE(l.edit("lineEdit_password")->text(), QString("48291736"));
    // The operator's password is not the administrator's.
    l.check("checkBox_operator")->click();
    l.combo("comboBox_user")->setCurrentIndex(0);
    l.edit("lineEdit_password")->setText(QString());
    l.button("pushButton_Login")->click();
    QVERIFY(sameBoxes(boxes.take(), {{"密码错误", kWrongLogin}}));
    QCOMPARE(l.spy.count(), 0);
    QVERIFY(l.w.isVisible());
}

void TestQtPassword::loginNeedsAccountOfRole()
{
    // Four clicks after Finish used to give an administrator login with an empty password.
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("config");
    Login l(dir.path());
    l.check("checkBox_admin")->click();
    l.button("pushButton_addDelete")->click();
    l.button("pushButton_finish")->click();
    QCOMPARE(l.combo("comboBox_user")->count(), 0);
    l.button("pushButton_Login")->click();
    QVERIFY(sameBoxes(boxes.take(), {{"密码错误", kWrongLogin}}));
    QCOMPARE(l.spy.count(), 0);

    // A document without the super user: the offered "超级用户" is no account.
    QTemporaryDir dir2;
    writeFile(docPath(dir2), R"({"管理员": [{"用户名称": "boss", "密码": "123456789"}],
                                "操作员": [{"用户名称": "默认用户", "密码": "482917365"}]})");
    Login m(dir2.path());
    m.check("checkBox_admin")->click();
    QCOMPARE(items(m.combo("comboBox_user")), QStringList({kSuper, "boss"}));
    m.button("pushButton_Login")->click();
    QVERIFY(sameBoxes(boxes.take(), {{"密码错误", kWrongLogin}}));
    m.unlock(QString());
    QVERIFY(sameBoxes(boxes.take(), {{"密码错误", kWrongUnlock}}));
    QVERIFY(!m.w.isUnlocked());
    QVERIFY(!m.shown("groupBox_checkAddOrDel"));
    QCOMPARE(m.spy.count(), 0);
}

void TestQtPassword::userBoxes()
{
    QTemporaryDir dir;
    writeFile(docPath(dir), R"({"管理员": [{"用户名称": "超级用户", "密码": "482917365"},
                                          {"用户名称": "张三", "密码": "123456789"},
                                          {"用户名称": "adm", "密码": "123456789"}],
                                "操作员": [{"用户名称": "默认用户", "密码": "482917365"},
                                          {"用户名称": "op1", "密码": "111111111"}]})");
    Login l(dir.path());
    // Read document: the form item, then the administrators other than the super user.
    QCOMPARE(items(l.combo("comboBox_user")), QStringList({kDefault, "adm", "张三"}));
    l.check("checkBox_operator")->click();
    QCOMPARE(items(l.combo("comboBox_user")), QStringList({kDefault, "op1"}));
    l.check("checkBox_operator")->click();
    QVERIFY(l.check("checkBox_operator")->isChecked());
    QCOMPARE(items(l.combo("comboBox_user")), QStringList({kDefault, "op1"}));
    l.combo("comboBox_user")->setCurrentText("op1");
    l.edit("lineEdit_password")->setText("111111111");
    l.button("pushButton_Login")->click();
    QCOMPARE(l.spy.count(), 1);
    QCOMPARE(l.spy.at(0).at(0).toString(), QStringLiteral("操作员:\r\nop1"));
    QVERIFY(boxes.take().isEmpty());
}

void TestQtPassword::unlockAndViews()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("config");
    Login l(dir.path());
    l.edit("lineEdit_password")->setText("typed");
    l.unlock("wrong");
    QVERIFY(sameBoxes(boxes.take(), {{"密码错误", kWrongUnlock}}));
    QCOMPARE(l.edit("lineEdit_password")->text(), QString());
    QVERIFY(!l.shown("groupBox_Login"));
    QVERIFY(l.shown("groupBox_addDelete"));
    QVERIFY(l.shown("pushButton_finish"));
    QVERIFY(!l.shown("groupBox_checkAddOrDel"));
    QCOMPARE(l.edit("lineEdit_adminPassword")->text(), QString("wrong"));

    l.edit("lineEdit_adminPassword")->setText(kPassword);
    l.button("pushButton_check")->click();
    QVERIFY(boxes.take().isEmpty());
    QVERIFY(l.shown("groupBox_checkAddOrDel"));
    QVERIFY(!l.shown("groupBox_checkType"));

    // Choosing a function hides both forms until a role box is clicked.
    l.check("checkBox_delete")->click();
    QVERIFY(l.shown("groupBox_checkType"));
    QVERIFY(!l.shown("groupBox_add") && !l.shown("groupBox_del"));
    const QSize before = l.w.size();
    l.check("checkBox_operator_2")->click();
    QCOMPARE(l.w.size(), before.expandedTo(l.w.minimumSize()));
    QVERIFY(l.shown("groupBox_del") && l.shown("del_button"));
    QVERIFY(!l.shown("groupBox_add") && !l.shown("add_button"));
    QCOMPARE(l.get<QLabel>("label_deleteUser")->text(), QStringLiteral("操作员:默认用户"));
    l.check("checkBox_admin_2")->click();
    QCOMPARE(l.w.size(), sized(&l.w, 500, 700));
    QCOMPARE(l.get<QLabel>("label_deleteUser")->text(), QStringLiteral("管理员:超级用户"));
    l.check("checkBox_add")->click();
    QVERIFY(!l.shown("groupBox_add") && !l.shown("groupBox_del"));
    // Clicking the role box already checked suffices.
    l.check("checkBox_admin_2")->click();
    QVERIFY(l.check("checkBox_admin_2")->isChecked());
    QVERIFY(l.shown("groupBox_add") && l.shown("add_button"));
    QVERIFY(!l.shown("groupBox_del") && !l.shown("del_button"));

    // Finish goes back to the login view; the check boxes keep their states.
    l.button("pushButton_finish")->click();
    QVERIFY(l.shown("groupBox_Login"));
    for (const char *hidden : {"groupBox_add", "groupBox_addDelete", "groupBox_checkAddOrDel",
                               "groupBox_checkType", "groupBox_del", "pushButton_finish",
                               "del_button", "add_button"})
        QVERIFY2(!l.shown(hidden), hidden);
    QCOMPARE(l.combo("comboBox_user_2")->count(), 0);
    QCOMPARE(l.edit("lineEdit_adminPassword")->text(), QString());
    QVERIFY(l.check("checkBox_add")->isChecked() && l.check("checkBox_admin_2")->isChecked());
    QVERIFY(!l.w.isUnlocked());
    QCOMPARE(l.w.size(), sized(&l.w, 500, 350));
}

void TestQtPassword::addRefusalsInOrder()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("config");
    Login l(dir.path());
    l.unlock();
    l.check("checkBox_add")->click();
    l.check("checkBox_operator_2")->click();
    const QByteArray before = readFile(docPath(dir));
    const QList<std::tuple<QString, QString, QString, QString, QString>> cases = {
        {"", "", "x", "内容为空", "用户/工号为空，请输入"},
        {kSuper, "", "x", "内容重复", "用户/工号重复，请重新输入"},
        {kDefault, "12", "x", "内容重复", "用户/工号重复，请重新输入"},
        {"new", "", "x", "内容为空", "密码为空，请输入"},
        {"new", "12345678", "x", "密码长度错误", "密码长度不为9，请重新输入"},
        {"new", "一二三四五六七八九十", "x", "密码长度错误", "密码长度不为9，请重新输入"},
        {"new", "123456789", "123456780", "密码不匹配", "两次密码不相同，请重新输入"},
    };
    for (const auto &c : cases) {
        l.typeAccount(std::get<0>(c), std::get<1>(c), std::get<2>(c));
        l.button("pushButton_add")->click();
        QVERIFY(sameBoxes(boxes.take(), {{std::get<3>(c), std::get<4>(c)}}));
        // Fields keep their text after a refusal.
        QCOMPARE(l.edit("lineEdit_addUser")->text(), std::get<0>(c));
        QCOMPARE(l.edit("lineEdit_addPassword2")->text(), std::get<2>(c));
    }
    QCOMPARE(readFile(docPath(dir)), before);
}

void TestQtPassword::addSavesAndRefusesDuplicateAcrossRoles()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("config");
    Login l(dir.path());
    l.unlock();
    l.check("checkBox_add")->click();
    l.check("checkBox_admin_2")->click();
    // Nine Chinese characters are nine characters (27 bytes).
    l.typeAccount("工号7", "一二三四五六七八九", "一二三四五六七八九");
    l.button("pushButton_add")->click();
    QVERIFY(sameBoxes(boxes.take(), {{"增加成功", "增加用户及密码，成功！"}}));
    for (const char *e : {"lineEdit_addUser", "lineEdit_addPassword", "lineEdit_addPassword2"})
        QCOMPARE(l.edit(e)->text(), QString());
    const QJsonObject doc = QJsonDocument::fromJson(readFile(docPath(dir))).object();
    QCOMPARE(doc.value("管理员").toArray().size(), 2);
    QVERIFY(l.w.store().checkPassword(PasswordStore::Role::Administrator, "工号7", "一二三四五六七八九"));

    // The same name as an operator is a duplicate.
    l.check("checkBox_operator_2")->click();
    l.typeAccount("工号7", "123456789", "123456789");
    l.button("pushButton_add")->click();
    QVERIFY(sameBoxes(boxes.take(), {{"内容重复", "用户/工号重复，请重新输入"}}));

    // The new administrator logs in.
    l.button("pushButton_finish")->click();
    l.check("checkBox_admin")->click();
    QCOMPARE(items(l.combo("comboBox_user")), QStringList({kSuper, "工号7"}));
    l.combo("comboBox_user")->setCurrentIndex(1);
    l.edit("lineEdit_password")->setText("一二三四五六七八九");
    l.button("pushButton_Login")->click();
    QCOMPARE(l.spy.count(), 1);
    QCOMPARE(l.spy.at(0).at(0).toString(), QStringLiteral("管理员:\r\n工号7"));
}

void TestQtPassword::deleteRules()
{
    QTemporaryDir dir;
    writeFile(docPath(dir), R"({"管理员": [{"用户名称": "超级用户", "密码": "482917365"}],
        "操作员": [{"用户名称": "默认用户", "密码": "482917365"}, {"用户名称": "a", "密码": "1"},
                   {"用户名称": "b", "密码": "2"}]})");
    Login l(dir.path());
    l.unlock();
    l.check("checkBox_delete")->click();
    // Built-in accounts, whichever role box is checked.
    l.check("checkBox_admin_2")->click();
    l.button("pushButton_delete")->click();
    l.check("checkBox_operator_2")->click();
    QCOMPARE(items(l.combo("comboBox_user_2")), QStringList({kDefault, "a", "b"}));
    l.button("pushButton_delete")->click();
    QVERIFY(sameBoxes(boxes.take(), {{"默认用户", "默认用户，不可删除！"}, {"默认用户", "默认用户，不可删除！"}}));

    // No (the default) keeps the account.
    l.combo("comboBox_user_2")->setCurrentIndex(1);
    QCOMPARE(l.get<QLabel>("label_deleteUser")->text(), QStringLiteral("操作员:a"));
    l.button("pushButton_delete")->click();
    QVERIFY(sameBoxes(boxes.take(), {{"确认", "是否删除该用户？"}}));
    QVERIFY(l.w.store().holds(PasswordStore::Role::Operator, "a"));

    boxes.queue(QMessageBox::Yes);
    l.button("pushButton_delete")->click();
    QVERIFY(sameBoxes(boxes.take(), {{"确认", "是否删除该用户？"}}));
    QVERIFY(!l.w.store().holds(PasswordStore::Role::Operator, "a"));
    QVERIFY(!readFile(docPath(dir)).contains("\"a\""));
    QCOMPARE(l.combo("comboBox_user_2")->currentText(), QString("b"));
    QCOMPARE(l.get<QLabel>("label_deleteUser")->text(), QStringLiteral("操作员:b"));

    // A name the chosen role does not hold is refused before any question.
    l.combo("comboBox_user_2")->addItem("ghost");
    l.combo("comboBox_user_2")->setCurrentText("ghost");
    l.button("pushButton_delete")->click();
    QVERIFY(sameBoxes(boxes.take(), {{"密码错误", kWrongUnlock}}));
}

void TestQtPassword::hideRelocks()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("config");
    Login l(dir.path());
    l.unlock();
    l.check("checkBox_add")->click();
    l.check("checkBox_operator_2")->click();
    QVERIFY(l.w.isUnlocked());
    l.button("pushButton_close")->click();
    QVERIFY(!l.w.isVisible());

    l.w.show();
    QVERIFY(!l.w.isUnlocked());
    QVERIFY(l.shown("groupBox_addDelete"));
    QCOMPARE(l.edit("lineEdit_adminPassword")->text(), QString());
    for (const char *hidden : {"groupBox_checkAddOrDel", "groupBox_checkType", "groupBox_add",
                               "add_button", "groupBox_del", "del_button"})
        QVERIFY2(!l.shown(hidden), hidden);
    // A hidden add button cannot be pressed through to the store.
    l.typeAccount("late", "123456789", "123456789");
    l.button("pushButton_add")->click();
    QVERIFY(!l.w.store().nameTaken("late"));
    QVERIFY(boxes.take().isEmpty());
    l.unlock();
    QVERIFY(l.shown("groupBox_checkAddOrDel"));
}

void TestQtPassword::brokenDocumentFailsClosed_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("directory");
    QTest::newRow("array") << QByteArray("[]") << false;
    QTest::newRow("garbage") << QByteArray("garbage") << false;
    QTest::newRow("unreadable") << QByteArray() << true;
}

void TestQtPassword::brokenDocumentFailsClosed()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, directory);
    QTemporaryDir dir;
    if (directory)
        QVERIFY(QDir().mkpath(docPath(dir)));
    else
        writeFile(docPath(dir), content);

    QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("PasswordStore::load line:\\d+ .*"));
    Login l(dir.path());
    // Said once, when the window first shows.
    QTRY_COMPARE(boxes.count(), 1);
    const Boxes said = boxes.take();
    QCOMPARE(said[0].title, QStringLiteral("密码文件错误"));
    QVERIFY(said[0].text.endsWith(docPath(dir)));
    l.w.hide();
    l.w.show();
    QTest::qWait(30);
    QVERIFY(boxes.take().isEmpty());

    l.check("checkBox_admin")->click();
    l.button("pushButton_Login")->click();
    QVERIFY(sameBoxes(boxes.take(), {{"密码错误", kWrongLogin}}));
    l.unlock(QString());
    QVERIFY(sameBoxes(boxes.take(), {{"密码错误", kWrongUnlock}}));
    QVERIFY(!l.shown("groupBox_checkAddOrDel"));
    QCOMPARE(l.spy.count(), 0);
    if (directory)
        QVERIFY(QFileInfo(docPath(dir)).isDir());
    else
        QCOMPARE(readFile(docPath(dir)), content);
}

void TestQtPassword::failedSaveIsReported()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("config");
    Login l(dir.path());
    const QByteArray bytes = readFile(docPath(dir));
    l.unlock();
    l.check("checkBox_add")->click();
    l.check("checkBox_operator_2")->click();
    {
        ReadOnlyFolder readOnly(dir.path() + "/config");
        if (!readOnly.isActive())
            QSKIP("cannot make a folder read-only here");
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("PasswordStore::save line:\\d+ .*"));
        l.typeAccount("worker", "123456789", "123456789");
        l.button("pushButton_add")->click();
        const Boxes seen = boxes.take();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QStringLiteral("保存失败"));
        QVERIFY(seen[0].text.startsWith(QStringLiteral("账号文件写入失败，修改已撤销：\n") + docPath(dir)));
        QVERIFY(!l.w.store().nameTaken("worker"));
        QCOMPARE(l.edit("lineEdit_addUser")->text(), QString("worker"));
    }
    QCOMPARE(readFile(docPath(dir)), bytes);

    // Once the folder is writable again the same add goes through.
    l.button("pushButton_add")->click();
    QVERIFY(sameBoxes(boxes.take(), {{"增加成功", "增加用户及密码，成功！"}}));
    QVERIFY(readFile(docPath(dir)).contains("worker"));
}

void TestQtPassword::moveOnlyTitle()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("config");
    Login l(dir.path());
    QVERIFY(QTest::qWaitForWindowExposed(&l.w));
    l.w.move(200, 150);
    QTRY_COMPARE(l.w.pos(), QPoint(200, 150));
    QWidget *title = l.get<QWidget>("title");
    const QPoint local = title->mapTo(&l.w, QPoint(100, 10));
    const QPoint global = l.w.mapToGlobal(local);
    QMouseEvent pressEvent(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                           Qt::NoModifier);
    QApplication::sendEvent(&l.w, &pressEvent);
    QMouseEvent moveEvent(QEvent::MouseMove, local + QPoint(40, 25), global + QPoint(40, 25),
                          Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&l.w, &moveEvent);
    QTRY_COMPARE(l.w.pos(), QPoint(240, 175));
    // The border is no resize handle.
    const QSize size = l.w.size();
    QMouseEvent edge(QEvent::MouseMove, QPoint(0, 200), l.w.mapToGlobal(QPoint(0, 200)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&l.w, &edge);
    QCOMPARE(l.w.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(l.w.size(), size);
}

QTEST_MAIN(TestQtPassword)
#include "tst_qtpassword.moc"
