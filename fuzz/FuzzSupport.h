// Shared by the fuzz targets: one quiet core application per process, and the input
// laid down as a file in the program folder's config/.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QString>

#include <sanitizer/lsan_interface.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fuzzsupport {

inline void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

// The application the units ask for their program folder; logs are dropped.
inline QCoreApplication &app()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *instance = [] {
        qInstallMessageHandler(quiet);
        return new QCoreApplication(argc, argv);
    }();
    return *instance;
}

inline QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

// Writes the input to <program folder>/config/<name>; returns the path.
inline QString placeInput(const QString &name, const uint8_t *data, size_t size)
{
    const QString folder = programFolder() + QStringLiteral("/config");
    QDir().mkpath(folder);
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    return path;
}

// Qt 5.15's JSON reader never frees the first value of a key repeated in one object when
// that value is an array or an object (smallest input: {"":[{}],"":""}). The reader is
// Qt's own and the documents' rules keep the later value, as Qt does. True when the text
// repeats a key in one object as Qt would read it (escapes and bad UTF-8 decoded by Qt);
// errs towards true on broken text.
inline bool repeatsKey(const QByteArray &text)
{
    struct Level
    {
        bool object;
        bool expectKey;
        QSet<QString> keys;
    };
    std::vector<Level> levels;
    const int n = text.size();
    auto nextSolid = [&](int i) {
        while (i < n && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'))
            ++i;
        return i;
    };
    for (int i = 0; i < n; ++i) {
        const char c = text[i];
        if (c == '"') {
            int j = i + 1;
            while (j < n && text[j] != '"')
                j += text[j] == '\\' ? 2 : 1;
            if (j >= n)
                break;
            const QByteArray raw = text.mid(i, j - i + 1);
            i = j;
            const int k = nextSolid(j + 1);
            if (levels.empty() || !levels.back().object || !levels.back().expectKey || k >= n
                || text[k] != ':')
                continue;
            const QJsonDocument one = QJsonDocument::fromJson("[" + raw + "]");
            const QString key = one.isArray() ? one.array().at(0).toString() : QString::fromUtf8(raw);
            if (levels.back().keys.contains(key))
                return true;
            levels.back().keys.insert(key);
            levels.back().expectKey = false;
        } else if (c == '{') {
            levels.push_back({true, true, {}});
        } else if (c == '[') {
            levels.push_back({false, false, {}});
        } else if ((c == '}' || c == ']') && !levels.empty()) {
            levels.pop_back();
        } else if (c == ',' && !levels.empty() && levels.back().object) {
            levels.back().expectKey = true;
        }
    }
    return false;
}

// Leak checking stays on for every input but those that meet Qt's leak above. Unlike a
// suppression by function name this needs no symbolizer.
class QtJsonLeakGuard
{
public:
    QtJsonLeakGuard(const uint8_t *data, size_t size)
        : m_off(repeatsKey(QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size))))
    {
        if (m_off)
            __lsan_disable();
    }
    ~QtJsonLeakGuard()
    {
        if (m_off)
            __lsan_enable();
    }
    QtJsonLeakGuard(const QtJsonLeakGuard &) = delete;
    QtJsonLeakGuard &operator=(const QtJsonLeakGuard &) = delete;

private:
    bool m_off;
};

} // namespace fuzzsupport
