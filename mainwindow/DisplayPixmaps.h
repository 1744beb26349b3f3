// Pixmaps for the camera views without a fresh large allocation per frame: mono and
// RGB frames are widened into 32-bit buffers that are reused once the pixmap that
// showed them is gone (a pixmap made from a 32-bit image shares its pixels).
#pragma once

#include <QImage>
#include <QList>
#include <QPixmap>

class DisplayPixmaps
{
public:
    explicit DisplayPixmaps(int maxBuffers = 16) : m_maxBuffers(maxBuffers) {}

    // Same picture as QPixmap::convertFromImage(image) gives.
    QPixmap toPixmap(const QImage &image);

    int bufferCount() const { return m_buffers.size(); }

private:
    QImage *freeBuffer(const QSize &size);

    int m_maxBuffers;
    QList<QImage> m_buffers; // Format_RGB32; a buffer is free while nothing else shares it
};
