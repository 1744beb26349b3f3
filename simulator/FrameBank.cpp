#include "FrameBank.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <random>

namespace sim {
namespace {

struct Spot
{
    cv::Point centre;
    cv::Size axes;
};

// A product on a belt: gradient background, a round part, a few dark spots, a caption.
cv::Mat renderGray(int w, int h, const QString &caption, int frame, std::mt19937 &rng, QVector<Spot> *spots)
{
    cv::Mat img(h, w, CV_8UC1);
    for (int y = 0; y < h; ++y)
        img.row(y).setTo(cv::Scalar(40 + 50 * y / h));
    const int r = std::min(w, h) * 3 / 10;
    const cv::Point c(w / 2 + (frame % 3 - 1) * w / 40, h / 2 + (frame % 2) * h / 40);
    cv::circle(img, c, r, cv::Scalar(175), cv::FILLED, cv::LINE_8);
    cv::circle(img, c, r / 3, cv::Scalar(95), cv::FILLED, cv::LINE_8);
    cv::circle(img, c, r * 2 / 3, cv::Scalar(140), std::max(1, r / 40), cv::LINE_8);
    const int inner = r / 3 + 1;
    std::uniform_int_distribution<int> angle(0, 359), dist(inner, std::max(inner, r - 4)), size(2, std::max(3, r / 12));
    const int count = 1 + frame % 3;
    for (int i = 0; i < count; ++i) {
        const double a = angle(rng) * CV_PI / 180.0;
        const int d = dist(rng);
        Spot s{cv::Point(c.x + int(d * std::cos(a)), c.y + int(d * std::sin(a))), cv::Size(size(rng), size(rng))};
        cv::ellipse(img, s.centre, s.axes, angle(rng), 0, 360, cv::Scalar(30), cv::FILLED, cv::LINE_8);
        spots->append(s);
    }
    const double scale = std::max(0.4, h / 600.0);
    const std::string text = (caption + QStringLiteral("  #%1").arg(frame)).toStdString();
    cv::putText(img, text, cv::Point(w / 40 + 2, int(30 * scale) + 2), cv::FONT_HERSHEY_SIMPLEX, scale,
                cv::Scalar(230), std::max(1, int(scale * 2)), cv::LINE_8);
    return img;
}

cv::Mat colourise(const cv::Mat &gray, const QVector<Spot> &spots)
{
    cv::Mat bgr;
    cv::cvtColor(gray, bgr, cv::COLOR_GRAY2BGR);
    for (const Spot &s : spots) {
        const cv::Point pad(s.axes.width + 6, s.axes.height + 6);
        cv::rectangle(bgr, s.centre - pad, s.centre + pad, cv::Scalar(0, 0, 255), 2, cv::LINE_8);
    }
    return bgr;
}

QString signature(const QList<Camera> &cameras, const Settings &s)
{
    QString text = QStringLiteral("%1x%2/%3/%4/").arg(s.imageWidth).arg(s.imageHeight).arg(s.prerenderedFrames).arg(s.seed);
    for (ImageType t : s.imageTypes)
        text += imageTypeName(t) + QLatin1Char(',');
    for (const Camera &c : cameras)
        text += QLatin1Char('/') + c.key;
    return text;
}

} // namespace

bool FrameBank::builtFor(const QList<Camera> &cameras, const Settings &settings) const
{
    return !m_frames.isEmpty() && m_signature == signature(cameras, settings);
}

void FrameBank::build(const QList<Camera> &cameras, const Settings &settings)
{
    clear();
    std::mt19937 rng(settings.seed ? settings.seed : 12345u);
    const int w = settings.imageWidth, h = settings.imageHeight;
    for (int ci = 0; ci < cameras.size(); ++ci) {
        const ImageType type = settings.imageTypes.at(ci % settings.imageTypes.size());
        QVector<cv::Mat> frames;
        for (int f = 0; f < settings.prerenderedFrames; ++f) {
            QVector<Spot> spots;
            cv::Mat gray = renderGray(w, h, cameras.at(ci).key, f, rng, &spots);
            cv::Mat out;
            switch (type) {
            case ImageType::Gray8:
                out = gray;
                break;
            case ImageType::Gray16:
                gray.convertTo(out, CV_16U, 12.0, 800.0);
                break;
            case ImageType::Bgr8:
                out = colourise(gray, spots);
                break;
            case ImageType::Bgra8:
                cv::cvtColor(colourise(gray, spots), out, cv::COLOR_BGR2BGRA);
                break;
            }
            frames.append(out);
        }
        m_frames.append(frames);
        m_types.append(type);
    }
    m_unsupported = cv::Mat(64, 64, CV_32FC1, cv::Scalar(0.5));
    m_signature = signature(cameras, settings);
}

void FrameBank::clear()
{
    m_frames.clear();
    m_types.clear();
    m_unsupported.release();
    m_signature.clear();
}

cv::Mat FrameBank::frame(int camera, quint64 n) const
{
    if (camera < 0 || camera >= m_frames.size() || m_frames.at(camera).isEmpty())
        return cv::Mat();
    const QVector<cv::Mat> &frames = m_frames.at(camera);
    return frames.at(int(n % quint64(frames.size())));
}

size_t FrameBank::bytes() const
{
    size_t total = 0;
    for (const QVector<cv::Mat> &frames : m_frames)
        for (const cv::Mat &m : frames)
            total += m.total() * m.elemSize();
    return total;
}

} // namespace sim
