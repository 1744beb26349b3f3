// List parameter values of the station document: arrays of texts, shown joined by ","
// and split again at "," (empty parts kept).
#pragma once

#include <QJsonArray>
#include <QJsonValue>
#include <QString>
#include <QStringList>

namespace listvalue {

QString join(const QJsonValue &array);
QString join(const QStringList &texts);
QJsonArray split(const QString &text);

} // namespace listvalue
