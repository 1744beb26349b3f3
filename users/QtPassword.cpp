#include "QtPassword.h"

#include "QtFramelessWindow.h"
#include "Styles.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>

QtPassword::QtPassword(QWidget *parent, const QString &programFolder)
    : QMainWindow(parent)
{
    ui.setupUi(this);

    ui.label_icon_->setStyleSheet(styles::titleLogo());
    ui.groupBox_add->hide();
    ui.groupBox_addDelete->hide();
    ui.groupBox_checkAddOrDel->hide();
    ui.groupBox_checkType->hide();
    ui.groupBox_del->hide();
    ui.pushButton_finish->hide();
    ui.del_button->hide();
    ui.add_button->hide();
    resize(500, 350);

    ui.pushButton_close->setText(QString());
    ui.pushButton_close->setStyleSheet(styles::titleButton(QStringLiteral("close_n.png")));
    setWindowFlags(Qt::FramelessWindowHint);
    m_frameless = QtFramelessWindow::moveOnly(this);
    m_frameless->setTitle(ui.title);
    connect(ui.pushButton_close, &QPushButton::clicked, this, [this] {
        resize(500, 350);
        close();
        QCoreApplication::processEvents();
    });

    const QString folder =
        programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder;
    if (m_store.load(folder) == PasswordStore::LoadResult::Read) {
        for (const QString &name : m_store.accounts(PasswordStore::Role::Administrator).keys())
            if (name != PasswordStore::superUser())
                ui.comboBox_user->addItem(name);
    }

    connect(ui.checkBox_admin, &QCheckBox::clicked, this, [this] {
        ui.checkBox_admin->setChecked(true);
        fillUserBox(ui.comboBox_user, PasswordStore::Role::Administrator);
    });
    connect(ui.checkBox_operator, &QCheckBox::clicked, this, [this] {
        ui.checkBox_operator->setChecked(true);
        fillUserBox(ui.comboBox_user, PasswordStore::Role::Operator);
    });
    ui.pushButton_Login->setStyleSheet(styles::darkButton());
    connect(ui.pushButton_Login, &QPushButton::clicked, this, &QtPassword::login);
    connect(ui.comboBox_user_2, SIGNAL(currentIndexChanged(int)), this, SLOT(boxIndexChanged(int)));
    ui.pushButton_see->setStyleSheet(styles::darkButton());
    connect(ui.pushButton_see, &QPushButton::pressed, this,
            [this] { ui.lineEdit_password->setEchoMode(QLineEdit::Normal); });
    connect(ui.pushButton_see, &QPushButton::released, this,
            [this] { ui.lineEdit_password->setEchoMode(QLineEdit::Password); });
    ui.pushButton_addDelete->setStyleSheet(styles::darkButton());
    connect(ui.pushButton_addDelete, &QPushButton::clicked, this, [this] {
        ui.lineEdit_password->clear();
        ui.groupBox_addDelete->show();
        ui.groupBox_Login->hide();
        ui.pushButton_finish->show();
        resize(500, 350);
    });
    ui.pushButton_see1->setStyleSheet(styles::darkButton());
    connect(ui.pushButton_see1, &QPushButton::pressed, this,
            [this] { ui.lineEdit_adminPassword->setEchoMode(QLineEdit::Normal); });
    connect(ui.pushButton_see1, &QPushButton::released, this,
            [this] { ui.lineEdit_adminPassword->setEchoMode(QLineEdit::Password); });
    ui.pushButton_check->setStyleSheet(styles::darkButton());
    connect(ui.pushButton_check, &QPushButton::clicked, this, &QtPassword::unlock);
    connect(ui.checkBox_admin_2, &QCheckBox::clicked, this, [this] { chooseManagementRole(true); });
    connect(ui.checkBox_operator_2, &QCheckBox::clicked, this,
            [this] { chooseManagementRole(false); });
    connect(ui.checkBox_add, &QCheckBox::clicked, this, [this] { chooseFunction(ui.checkBox_add); });
    connect(ui.checkBox_delete, &QCheckBox::clicked, this,
            [this] { chooseFunction(ui.checkBox_delete); });
    ui.pushButton_add->setStyleSheet(styles::darkButton());
    connect(ui.pushButton_add, &QPushButton::clicked, this, &QtPassword::addAccount);
    ui.pushButton_delete->setStyleSheet(styles::darkButton());
    connect(ui.pushButton_delete, &QPushButton::clicked, this, &QtPassword::deleteAccount);
    ui.pushButton_finish->setStyleSheet(styles::darkButton());
    connect(ui.pushButton_finish, &QPushButton::clicked, this, &QtPassword::finish);
}

QtPassword::~QtPassword() = default;

void QtPassword::fillUserBox(QComboBox *box, PasswordStore::Role role)
{
    const QString &first = role == PasswordStore::Role::Administrator ? PasswordStore::superUser()
                                                                       : PasswordStore::defaultUser();
    box->clear();
    box->addItem(first);
    for (const QString &name : m_store.accounts(role).keys())
        if (name != first)
            box->addItem(name);
}

void QtPassword::boxIndexChanged(int)
{
    const QString prefix = ui.checkBox_admin_2->isChecked() ? QStringLiteral("管理员:")
                                                             : QStringLiteral("操作员:");
    ui.label_deleteUser->setText(prefix + ui.comboBox_user_2->currentText());
}

void QtPassword::reportBrokenDocument()
{
    if (m_brokenReported)
        return;
    m_brokenReported = true;
    QMessageBox::information(this, QStringLiteral("密码文件错误"),
                             QStringLiteral("密码文件无法读取或格式错误，登录和账号管理已停用，"
                                            "文件未做修改：\n")
                                 + m_store.documentPath());
}

void QtPassword::wrongLoginPassword()
{
    QMessageBox::information(this, QStringLiteral("密码错误"),
                             QStringLiteral("密码错误，请重新输入! 提示，密码为9位"));
}

void QtPassword::wrongUnlockPassword()
{
    QMessageBox::information(this, QStringLiteral("密码错误"),
                             QStringLiteral("密码错误，请重新输入！提示，密码为9位"));
}

void QtPassword::reportSaveFailure(const QString &error)
{
    QMessageBox::information(this, QStringLiteral("保存失败"),
                             QStringLiteral("账号文件写入失败，修改已撤销：\n") + error);
}

void QtPassword::login()
{
    const bool admin = ui.checkBox_admin->isChecked();
    if (!admin && !ui.checkBox_operator->isChecked()) {
        QMessageBox::information(this, QStringLiteral("选择权限"),
                                 QStringLiteral("未选择登录权限，请选择! "));
        return;
    }
    if (m_store.isBroken() && !m_brokenReported) {
        reportBrokenDocument();
        return;
    }
    const QString name = ui.comboBox_user->currentText();
    const auto role = admin ? PasswordStore::Role::Administrator : PasswordStore::Role::Operator;
    if (!m_store.checkPassword(role, name, ui.lineEdit_password->text())) {
        wrongLoginPassword();
        return;
    }
    const QString roleText = (admin ? QStringLiteral("管理员:\r\n") : QStringLiteral("操作员:\r\n")) + name;
    ui.lineEdit_password->clear();
    close();
    emit LoginSuccess(roleText);
}

void QtPassword::unlock()
{
    if (m_store.isBroken() && !m_brokenReported) {
        reportBrokenDocument();
        return;
    }
    if (m_store.checkUnlock(ui.lineEdit_adminPassword->text())) {
        m_unlocked = true;
        resize(500, 350);
        ui.groupBox_checkAddOrDel->show();
    } else {
        wrongUnlockPassword();
    }
}

PasswordStore::Role QtPassword::managementRole() const
{
    return ui.checkBox_admin_2->isChecked() ? PasswordStore::Role::Administrator
                                            : PasswordStore::Role::Operator;
}

void QtPassword::chooseManagementRole(bool admin)
{
    (admin ? ui.checkBox_admin_2 : ui.checkBox_operator_2)->setChecked(true);
    if (admin)
        resize(500, 700);
    const bool adding = ui.checkBox_add->isChecked();
    ui.groupBox_del->setVisible(!adding);
    ui.del_button->setVisible(!adding);
    ui.groupBox_add->setVisible(adding);
    ui.add_button->setVisible(adding);
    fillUserBox(ui.comboBox_user_2,
                admin ? PasswordStore::Role::Administrator : PasswordStore::Role::Operator);
}

void QtPassword::chooseFunction(QCheckBox *box)
{
    box->setChecked(true);
    ui.groupBox_checkType->show();
    ui.groupBox_del->hide();
    ui.groupBox_add->hide();
    ui.del_button->hide();
    ui.add_button->hide();
}

bool QtPassword::saveUsers()
{
    QString error;
    if (m_store.save(&error))
        return true;
    reportSaveFailure(error);
    return false;
}

void QtPassword::addAccount()
{
    if (!m_unlocked)
        return;
    const QString name = ui.lineEdit_addUser->text();
    const QString password = ui.lineEdit_addPassword->text();
    switch (m_store.checkAdd(name, password, ui.lineEdit_addPassword2->text())) {
    case PasswordStore::AddCheck::EmptyName:
        QMessageBox::information(this, QStringLiteral("内容为空"), QStringLiteral("用户/工号为空，请输入"));
        return;
    case PasswordStore::AddCheck::Duplicate:
        QMessageBox::information(this, QStringLiteral("内容重复"),
                                 QStringLiteral("用户/工号重复，请重新输入"));
        return;
    case PasswordStore::AddCheck::EmptyPassword:
        QMessageBox::information(this, QStringLiteral("内容为空"), QStringLiteral("密码为空，请输入"));
        return;
    case PasswordStore::AddCheck::WrongLength:
        QMessageBox::information(this, QStringLiteral("密码长度错误"),
                                 QStringLiteral("密码长度不为9，请重新输入"));
        return;
    case PasswordStore::AddCheck::Mismatch:
        QMessageBox::information(this, QStringLiteral("密码不匹配"),
                                 QStringLiteral("两次密码不相同，请重新输入"));
        return;
    case PasswordStore::AddCheck::Ok:
        break;
    }
    QString error;
    if (!m_store.add(managementRole(), name, password, &error)) {
        reportSaveFailure(error);
        return;
    }
    QMessageBox::information(this, QStringLiteral("增加成功"), QStringLiteral("增加用户及密码，成功！"));
    ui.lineEdit_addPassword2->clear();
    ui.lineEdit_addPassword->clear();
    ui.lineEdit_addUser->clear();
}

void QtPassword::deleteAccount()
{
    if (!m_unlocked)
        return;
    const QString name = ui.comboBox_user_2->currentText();
    if (PasswordStore::isBuiltIn(name)) {
        QMessageBox::information(this, QStringLiteral("默认用户"), QStringLiteral("默认用户，不可删除！"));
        return;
    }
    const auto role = managementRole();
    if (!m_store.holds(role, name)) {
        wrongUnlockPassword();
        return;
    }
    if (QMessageBox::question(this, QStringLiteral("确认"), QStringLiteral("是否删除该用户？"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    QString error;
    if (!m_store.remove(role, name, &error)) {
        reportSaveFailure(error);
        return;
    }
    ui.comboBox_user_2->removeItem(ui.comboBox_user_2->currentIndex());
}

void QtPassword::finish()
{
    ui.lineEdit_addPassword2->clear();
    ui.lineEdit_addPassword->clear();
    ui.lineEdit_addUser->clear();
    ui.lineEdit_adminPassword->clear();
    ui.comboBox_user_2->clear();
    ui.groupBox_add->hide();
    ui.groupBox_addDelete->hide();
    ui.groupBox_checkAddOrDel->hide();
    ui.groupBox_checkType->hide();
    ui.groupBox_del->hide();
    ui.del_button->hide();
    ui.add_button->hide();
    ui.groupBox_Login->show();
    ui.pushButton_finish->hide();
    ui.comboBox_user->clear();
    m_unlocked = false;
    resize(500, 350);
}

// Back to the locked management stage: the next person needs the super user's password.
void QtPassword::lock()
{
    m_unlocked = false;
    ui.lineEdit_adminPassword->clear();
    ui.lineEdit_addUser->clear();
    ui.lineEdit_addPassword->clear();
    ui.lineEdit_addPassword2->clear();
    ui.groupBox_checkAddOrDel->hide();
    ui.groupBox_checkType->hide();
    ui.groupBox_add->hide();
    ui.groupBox_del->hide();
    ui.add_button->hide();
    ui.del_button->hide();
}

void QtPassword::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_store.isBroken() && !m_brokenReported)
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                reportBrokenDocument();
        });
}

void QtPassword::hideEvent(QHideEvent *event)
{
    QMainWindow::hideEvent(event);
    lock();
}

void QtPassword::mousePressEvent(QMouseEvent *event)
{
    m_frameless->mousePressEvent(event);
}

void QtPassword::mouseReleaseEvent(QMouseEvent *event)
{
    m_frameless->mouseReleaseEvent(event);
}

void QtPassword::mouseMoveEvent(QMouseEvent *event)
{
    m_frameless->mouseMoveEvent(event);
}
