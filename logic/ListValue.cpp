#include "ListValue.h"

#include <QStringList>

namespace listvalue {

QString join(const QJsonValue &array)
{
    QStringList parts;
    for (const QJsonValue &v : array.toArray())
        parts << v.toString();
    return join(parts);
}

QString join(const QStringList &texts)
{
    return texts.join(QLatin1Char(','));
}

QJsonArray split(const QString &text)
{
    QJsonArray out;
    for (const QString &part : text.split(QLatin1Char(','), Qt::KeepEmptyParts))
        out.append(part);
    return out;
}

} // namespace listvalue
