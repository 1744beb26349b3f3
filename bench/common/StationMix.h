// Module messages of a station's product cycles: per-shot messages of 8 shots on 4
// cameras, then the product's result; about one shot in five flags defects, and about
// two products in three are OK.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <random>

struct StationMessage
{
    QString key;
    QString camera;
    QByteArray data;
};

// Shots per product; each product is shotsPerProduct messages and then its result.
constexpr int shotsPerProduct = 8;

// A fixed pool of product cycles (repeatable: the generator has a fixed seed).
inline QVector<StationMessage> stationMix(int products)
{
    const QStringList shots{"Cam01_0", "Cam01_1", "Cam02_0", "Cam03_0",
                            "Cam03_1", "Cam03_2", "Cam04_0", "Cam04_1"};
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pct(0, 99);
    QVector<StationMessage> mix;
    for (int p = 0; p < products; ++p) {
        bool ng = false;
        for (const QString &shot : shots) {
            const QString algo = shot.startsWith("Cam01") || shot.startsWith("Cam02")
                                     ? QStringLiteral("盖板正反面检测")
                                     : QStringLiteral("盖板侧面检测");
            QByteArray data = "1*1*1*1*1*1";
            if (pct(rng) < 20) {
                data = "0";
                for (int c = 1; c <= 5; ++c)
                    data += pct(rng) < 30 ? "*0" : "*1";
                ng = true;
            }
            mix.append({algo, shot, data});
        }
        const bool ok = !ng || pct(rng) < 60;
        mix.append({QStringLiteral("盖板侧面检测"), QStringLiteral("Cam04_1"),
                    ok ? QByteArray("9#") + QByteArray::number(p) : QByteArray("2#") + QByteArray::number(p)});
    }
    return mix;
}
