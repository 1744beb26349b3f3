#include "ImageConvert.h"

#include <QString>
#include <QtEndian>

#include <opencv2/imgproc.hpp>

#include <cfloat>
#include <cstdint>
#include <memory>

namespace imageconvert {
namespace {

std::unique_ptr<QImage> newImage(const cv::Mat &mtx, QImage::Format format)
{
    std::unique_ptr<QImage> image(new QImage(mtx.cols, mtx.rows, format));
    if (image->isNull())
        throw QStringLiteral("cannot allocate a %1 x %2 image").arg(mtx.cols).arg(mtx.rows);
    return image;
}

// The image's own pixels seen as a matrix, so OpenCV writes straight into them.
cv::Mat wrap(QImage &image, int type)
{
    return cv::Mat(image.height(), image.width(), type, image.bits(),
                   static_cast<size_t>(image.bytesPerLine()));
}

void checkInPlace(const cv::Mat &dst, const QImage &image)
{
    if (dst.data != image.constBits())
        throw QStringLiteral("conversion did not write into the image");
}

} // namespace

bool isWellFormed(const cv::Mat &mtx)
{
    if (mtx.dims != 2 || mtx.rows <= 0 || mtx.cols <= 0 || !mtx.data || !mtx.datastart || !mtx.dataend)
        return false;
    if (mtx.data < mtx.datastart || mtx.dataend <= mtx.data)
        return false;
    const std::uint64_t elem = mtx.elemSize();
    const std::uint64_t rowBytes = static_cast<std::uint64_t>(mtx.cols) * elem;
    const std::uint64_t step = mtx.step[0];
    const std::uint64_t span = static_cast<std::uint64_t>(mtx.dataend - mtx.data);
    if (elem == 0 || mtx.step[1] != elem || rowBytes > span)
        return false;
    if (mtx.rows == 1)
        return true;
    if (step < rowBytes)
        return false;
    // (rows - 1) * step + rowBytes <= span, without overflow
    return static_cast<std::uint64_t>(mtx.rows - 1) <= (span - rowBytes) / step;
}

QImage *toQImage(const cv::Mat &mtx)
{
    switch (mtx.type()) {
    case CV_8UC1: {
        auto image = newImage(mtx, QImage::Format_Grayscale8);
        cv::Mat dst = wrap(*image, CV_8UC1);
        mtx.copyTo(dst);
        checkInPlace(dst, *image);
        return image.release();
    }
    case CV_16UC1: {
        // Same stretch as a min-max normalise to 0..255, written into our buffer only.
        double smin = 0, smax = 0;
        cv::minMaxLoc(mtx, &smin, &smax);
        const double scale = 255.0 * (smax - smin > DBL_EPSILON ? 1. / (smax - smin) : 0);
        const double shift = 0.0 - smin * scale;
        auto image = newImage(mtx, QImage::Format_Grayscale8);
        cv::Mat dst = wrap(*image, CV_8UC1);
        mtx.convertTo(dst, CV_8U, scale, shift);
        checkInPlace(dst, *image);
        return image.release();
    }
    case CV_8UC3: {
        auto image = newImage(mtx, QImage::Format_RGB888);
        cv::Mat dst = wrap(*image, CV_8UC3);
        cv::cvtColor(mtx, dst, cv::COLOR_BGR2RGB);
        checkInPlace(dst, *image);
        return image.release();
    }
    case CV_8UC4: {
        // ARGB32 is one 32-bit word per pixel: bytes B, G, R, A on little-endian hosts.
        auto image = newImage(mtx, QImage::Format_ARGB32);
        cv::Mat dst = wrap(*image, CV_8UC4);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        mtx.copyTo(dst);
#else
        static const int order[] = {3, 0, 2, 1, 1, 2, 0, 3};
        cv::mixChannels(&mtx, 1, &dst, 1, order, 4);
#endif
        checkInPlace(dst, *image);
        return image.release();
    }
    default:
        return nullptr;
    }
}

} // namespace imageconvert
