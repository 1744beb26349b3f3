#include "DisplayPixmaps.h"

QImage *DisplayPixmaps::freeBuffer(const QSize &size)
{
    for (QImage &buffer : m_buffers) {
        if (buffer.size() == size && buffer.isDetached())
            return &buffer;
    }
    if (m_buffers.size() >= m_maxBuffers) {
        // Drop one that no pixmap holds any more (another size); else give up pooling.
        for (int i = 0; i < m_buffers.size(); ++i) {
            if (m_buffers.at(i).isDetached()) {
                m_buffers.removeAt(i);
                break;
            }
        }
        if (m_buffers.size() >= m_maxBuffers)
            return nullptr;
    }
    m_buffers.append(QImage(size, QImage::Format_RGB32));
    if (m_buffers.last().isNull()) {
        m_buffers.removeLast();
        return nullptr;
    }
    return &m_buffers.last();
}

QPixmap DisplayPixmaps::toPixmap(const QImage &image)
{
    const QImage::Format format = image.format();
    if (format != QImage::Format_Grayscale8 && format != QImage::Format_RGB888) {
        QPixmap pixmap;
        pixmap.convertFromImage(image);
        return pixmap;
    }
    QImage *buffer = freeBuffer(image.size());
    if (!buffer) {
        QPixmap pixmap;
        pixmap.convertFromImage(image);
        return pixmap;
    }
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const uchar *in = image.constScanLine(y);
        auto *out = reinterpret_cast<quint32 *>(buffer->scanLine(y));
        if (format == QImage::Format_Grayscale8) {
            for (int x = 0; x < width; ++x) {
                const quint32 g = in[x];
                out[x] = 0xff000000u | (g << 16) | (g << 8) | g;
            }
        } else {
            for (int x = 0; x < width; ++x, in += 3)
                out[x] = 0xff000000u | (quint32(in[0]) << 16) | (quint32(in[1]) << 8) | quint32(in[2]);
        }
    }
    return QPixmap::fromImage(*buffer);
}
