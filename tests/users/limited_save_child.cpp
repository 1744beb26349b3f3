// Saves under a file-size limit (RLIMIT_FSIZE, SIGXFSZ ignored), so writes fail for real
// without root: limited_save_child <limit> raw <path> <text> | <limit> load|add|remove <folder> [name]
#include "DocumentFile.h"
#include "PasswordStore.h"

#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <sys/resource.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 2;
    std::signal(SIGXFSZ, SIG_IGN);
    const rlim_t limit = args.at(1).toULongLong();
    const rlimit lim{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &lim) != 0)
        return 3;

    const QString action = args.at(2);
    const QString target = args.at(3);
    const QString extra = args.value(4);
    QString error;
    bool ok = false;
    if (action == QLatin1String("raw")) {
        ok = docfile::write(target, extra.toUtf8(), &error);
    } else {
        PasswordStore store;
        const auto loaded = store.load(target);
        if (action == QLatin1String("load"))
            ok = loaded != PasswordStore::LoadResult::Broken;
        else if (action == QLatin1String("add"))
            ok = store.add(PasswordStore::Role::Operator, extra, QStringLiteral("123456789"), &error);
        else if (action == QLatin1String("remove"))
            ok = store.remove(PasswordStore::Role::Operator, extra, &error);
    }
    QTextStream(stdout) << (ok ? QStringLiteral("ok") : QStringLiteral("fail ") + error) << '\n';
    return ok ? 0 : 1;
}
