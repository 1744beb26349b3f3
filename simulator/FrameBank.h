// Result images rendered once per camera; the running station hands out shared
// headers of them, so no pixel buffer is allocated per frame.
#pragma once

#include "SimConfig.h"

#include <opencv2/core.hpp>

#include <QVector>

namespace sim {

class FrameBank
{
public:
    // Renders settings.prerenderedFrames frames per camera, camera i in type i mod n.
    void build(const QList<Camera> &cameras, const Settings &settings);
    void clear();

    bool isEmpty() const { return m_frames.isEmpty(); }
    // True when the frames were rendered for these cameras and image settings.
    bool builtFor(const QList<Camera> &cameras, const Settings &settings) const;
    int cameraCount() const { return m_frames.size(); }
    // Frame n (cycling) of a camera: a header sharing the pre-rendered pixels.
    cv::Mat frame(int camera, quint64 n) const;
    // A small matrix of a type the console does not convert.
    cv::Mat unsupported() const { return m_unsupported; }
    ImageType typeOf(int camera) const { return m_types.value(camera); }
    size_t bytes() const;

private:
    QVector<QVector<cv::Mat>> m_frames;
    QVector<ImageType> m_types;
    cv::Mat m_unsupported;
    QString m_signature;
};

} // namespace sim
