#include "ImageConvert.h"

#include <QString>
#include <QtEndian>

#include <opencv2/core/hal/intrin.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <cstdint>
#include <memory>
#include <mutex>

namespace imageconvert {
namespace {

QImage newImage(const cv::Mat &mtx, QImage::Format format)
{
    QImage image(mtx.cols, mtx.rows, format);
    if (image.isNull())
        throw QStringLiteral("cannot allocate a %1 x %2 image").arg(mtx.cols).arg(mtx.rows);
    return image;
}

// The image's own pixels seen as a matrix, so OpenCV writes straight into them.
cv::Mat wrap(QImage &image, int type)
{
    return cv::Mat(image.height(), image.width(), type, image.bits(),
                   static_cast<size_t>(image.bytesPerLine()));
}

// Min and max of one row.
void rowMinMax(const ushort *p, int n, ushort &lo, ushort &hi)
{
    int i = 0;
#if CV_SIMD128
    cv::v_uint16x8 a = cv::v_setall_u16(lo), b = cv::v_setall_u16(hi), a2 = a, b2 = b;
    for (; i + 16 <= n; i += 16) {
        const cv::v_uint16x8 x = cv::v_load(p + i), y = cv::v_load(p + i + 8);
        a = cv::v_min(a, x);
        b = cv::v_max(b, x);
        a2 = cv::v_min(a2, y);
        b2 = cv::v_max(b2, y);
    }
    lo = cv::v_reduce_min(cv::v_min(a, a2));
    hi = cv::v_reduce_max(cv::v_max(b, b2));
#endif
    for (; i < n; ++i) {
        lo = std::min(lo, p[i]);
        hi = std::max(hi, p[i]);
    }
}

// OpenCV forks and joins its stripes with primitives the thread checker cannot see;
// under it, these tell it that the stripes start after, and end before, the caller.
#if defined(__SANITIZE_THREAD__)
#define EP_THREAD_CHECK 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define EP_THREAD_CHECK 1
#endif
#endif
#ifdef EP_THREAD_CHECK
extern "C" void __tsan_acquire(void *addr);
extern "C" void __tsan_release(void *addr);
void checkerAcquire(void *addr) { __tsan_acquire(addr); }
void checkerRelease(void *addr) { __tsan_release(addr); }
#else
void checkerAcquire(void *) {}
void checkerRelease(void *) {}
#endif

// Runs body(firstRow, endRow) over row stripes on OpenCV's worker threads.
template <typename Body>
class Stripes : public cv::ParallelLoopBody
{
public:
    Stripes(int rows, int stripes, Body &body) : m_rows(rows), m_stripes(stripes), m_body(body) {}

    void operator()(const cv::Range &range) const override
    {
        checkerAcquire(&m_fork);
        for (int s = range.start; s < range.end; ++s)
            m_body(static_cast<int>(static_cast<std::int64_t>(m_rows) * s / m_stripes),
                   static_cast<int>(static_cast<std::int64_t>(m_rows) * (s + 1) / m_stripes));
        checkerRelease(&m_join);
    }

    void run()
    {
        checkerRelease(&m_fork);
        cv::parallel_for_(cv::Range(0, m_stripes), *this, m_stripes);
        checkerAcquire(&m_join);
    }

private:
    const int m_rows;
    const int m_stripes;
    Body &m_body;
    mutable char m_fork = 0, m_join = 0; // addresses naming the fork and the join
};

template <typename Body>
void forStripes(int rows, Body body)
{
    const int stripes = std::max(1, std::min(cv::getNumThreads(), rows / 32));
    Stripes<Body>(rows, stripes, body).run();
}

void minMax16(const cv::Mat &mtx, double *smin, double *smax)
{
    std::mutex mutex;
    ushort lo = 0xffff, hi = 0;
    forStripes(mtx.rows, [&](int first, int last) {
        ushort stripeLo = 0xffff, stripeHi = 0;
        for (int y = first; y < last; ++y)
            rowMinMax(mtx.ptr<ushort>(y), mtx.cols, stripeLo, stripeHi);
        std::lock_guard<std::mutex> lock(mutex);
        lo = std::min(lo, stripeLo);
        hi = std::max(hi, stripeHi);
    });
    *smin = lo;
    *smax = hi;
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

QImage toQImage(const cv::Mat &mtx)
{
    switch (mtx.type()) {
    case CV_8UC1: {
        auto image = newImage(mtx, QImage::Format_Grayscale8);
        cv::Mat dst = wrap(image, CV_8UC1);
        mtx.copyTo(dst);
        checkInPlace(dst, image);
        return image;
    }
    case CV_16UC1: {
        // Same stretch as a min-max normalise to 0..255, written into our buffer only.
        double smin = 0, smax = 0;
        minMax16(mtx, &smin, &smax);
        const double scale = 255.0 * (smax - smin > DBL_EPSILON ? 1. / (smax - smin) : 0);
        const double shift = 0.0 - smin * scale;
        auto image = newImage(mtx, QImage::Format_Grayscale8);
        cv::Mat dst = wrap(image, CV_8UC1);
        std::atomic<bool> inPlace{true};
        forStripes(mtx.rows, [&](int first, int last) {
            cv::Mat part = dst.rowRange(first, last);
            mtx.rowRange(first, last).convertTo(part, CV_8U, scale, shift);
            if (part.data != dst.ptr(first))
                inPlace = false;
        });
        if (!inPlace)
            throw QStringLiteral("conversion did not write into the image");
        return image;
    }
    case CV_8UC3: {
        auto image = newImage(mtx, QImage::Format_RGB888);
        cv::Mat dst = wrap(image, CV_8UC3);
        cv::cvtColor(mtx, dst, cv::COLOR_BGR2RGB);
        checkInPlace(dst, image);
        return image;
    }
    case CV_8UC4: {
        // ARGB32 is one 32-bit word per pixel: bytes B, G, R, A on little-endian hosts.
        auto image = newImage(mtx, QImage::Format_ARGB32);
        cv::Mat dst = wrap(image, CV_8UC4);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        mtx.copyTo(dst);
#else
        static const int order[] = {3, 0, 2, 1, 1, 2, 0, 3};
        cv::mixChannels(&mtx, 1, &dst, 1, order, 4);
#endif
        checkInPlace(dst, image);
        return image;
    }
    default:
        return QImage();
    }
}

} // namespace imageconvert
