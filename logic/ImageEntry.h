// A converted result image on its way to the screen.
#pragma once

#include <QImage>
#include <QString>

struct ImageEntry
{
    QImage image; // null when the matrix type has no conversion
    QString name; // "<camera key>_..."
};
