#include "SimCamera.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr double kReferenceExposure = 5000.0;
const int kKnownCodes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, 17, 18, 1000};
} // namespace

SimCamera::SimCamera(int typeCode) : m_code(typeCode)
{
    journal << QStringLiteral("create:%1").arg(typeCode);
}

SimCamera::~SimCamera() = default;

bool SimCamera::knownTypeCode(int code)
{
    return std::find(std::begin(kKnownCodes), std::end(kKnownCodes), code) != std::end(kKnownCodes);
}

void SimCamera::setParams(QMap<QString, QString> &params)
{
    QStringList keys = params.keys();
    journal << QStringLiteral("setParams:id=%1:%2").arg(id).arg(keys.join(QLatin1Char('|')));
    const QLocale c = QLocale::c();
    const QStringList roi = params.value(QStringLiteral("ROI")).split(QLatin1Char(','));
    bool okW = false, okH = false;
    if (roi.size() == 4) {
        const int w = c.toInt(roi.at(2).trimmed(), &okW);
        const int h = c.toInt(roi.at(3).trimmed(), &okH);
        if (okW && okH && w > 0 && h > 0 && w <= 16384 && h <= 16384) {
            m_width = w;
            m_height = h;
        }
    }
    bool ok = false;
    const int exposure = c.toInt(params.value(QStringLiteral("曝光时间")), &ok);
    if (ok && exposure > 0)
        m_exposure = exposure;
    const double gain = c.toDouble(params.value(QStringLiteral("增益")), &ok);
    if (ok && gain > 0)
        m_gain = gain;
    const QString format = params.value(QStringLiteral("SimFormat"));
    if (!format.isEmpty())
        m_format = format;
    m_flat = params.value(QStringLiteral("SimPattern")) == QLatin1String("flat");
    m_fail = params.value(QStringLiteral("SimFail")).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

bool SimCamera::init()
{
    journal << QStringLiteral("init");
    m_ready = !m_fail.contains(QLatin1String("init"));
    return m_ready;
}

bool SimCamera::setData(std::vector<cv::Mat> &images, QStringList &data)
{
    if (images.empty() && data.isEmpty()) {
        journal << QStringLiteral("trigger");
        if (!m_ready || m_fail.contains(QLatin1String("setData")))
            return false;
        m_triggered = true;
        return true;
    }
    bool understood = true;
    const QLocale c = QLocale::c();
    for (const QString &command : data) {
        journal << QStringLiteral("command:") + command;
        bool ok = false;
        if (command.startsWith(QLatin1String("SetExposureTime_"))) {
            QString value = command.mid(16);
            if (value.endsWith(QLatin1Char('#')))
                value.chop(1);
            const int e = c.toInt(value, &ok);
            if (ok && e > 0)
                m_exposure = e;
        } else if (command.startsWith(QLatin1String("SetGain_"))) {
            const double g = c.toDouble(command.mid(8), &ok);
            if (ok && g > 0)
                m_gain = g;
        }
        understood = understood && ok;
    }
    return understood;
}

void SimCamera::data(std::vector<cv::Mat> &images, QStringList &data)
{
    if (!m_triggered)
        return;
    m_triggered = false;
    journal << QStringLiteral("data:%1").arg(m_frame);
    if (m_fail.contains(QLatin1String("data")))
        return;
    images.push_back(makeFrame());
    data << QStringLiteral("frame=%1").arg(m_frame);
    ++m_frame;
}

cv::Mat SimCamera::makeFrame() const
{
    const double factor = m_exposure * m_gain / kReferenceExposure;
    auto level = [&](int ramp, double full) {
        return std::min(full, std::round(ramp * (full / 255.0) * factor));
    };
    int type = CV_8UC1;
    if (m_format == QLatin1String("mono16"))
        type = CV_16UC1;
    else if (m_format == QLatin1String("bgr"))
        type = CV_8UC3;
    else if (m_format == QLatin1String("bgra"))
        type = CV_8UC4;

    // One period of the ramp, repeated so every row is a plain copy at its offset.
    const int period = 256;
    cv::Mat line(1, m_width + period, type);
    for (int i = 0; i < line.cols; ++i) {
        const int ramp = m_flat ? 128 : i % period;
        switch (type) {
        case CV_8UC1:
            line.at<uchar>(0, i) = uchar(level(ramp, 255));
            break;
        case CV_16UC1:
            line.at<ushort>(0, i) = ushort(level(ramp, 65535));
            break;
        case CV_8UC3:
            line.at<cv::Vec3b>(0, i) = cv::Vec3b(uchar(level(ramp, 255)), uchar(level(ramp / 2, 255)),
                                                 uchar(level(255 - ramp, 255)));
            break;
        default:
            line.at<cv::Vec4b>(0, i) = cv::Vec4b(uchar(level(ramp, 255)), uchar(level(ramp / 2, 255)),
                                                 uchar(level(255 - ramp, 255)), 255);
            break;
        }
    }
    const bool roi = m_format == QLatin1String("roi");
    const int border = roi ? 8 : 0;
    cv::Mat frame(m_height + 2 * border, m_width + 2 * border, type, cv::Scalar::all(0x5A));
    cv::Mat inner = frame(cv::Rect(border, border, m_width, m_height));
    const size_t rowBytes = size_t(m_width) * inner.elemSize();
    for (int y = 0; y < m_height; ++y) {
        const int offset = rampValue(0, y, m_frame);
        std::memcpy(inner.ptr(y), line.ptr(0) + size_t(offset) * inner.elemSize(), rowBytes);
    }
    return roi ? inner : frame;
}
