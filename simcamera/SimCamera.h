// Simulated camera of the stand-in camera module library. Parameters it reads from the
// camera's table (all optional):
//   "ROI"         x,y,width,height: the frame size is width x height (default 640 x 480)
//   "曝光时间"    starting exposure (default 5000)
//   "增益"        starting gain (default 1.0)
//   "SimFormat"   mono8 (default), mono16, bgr, bgra, or roi (mono8 sub-matrix of a larger frame)
//   "SimPattern"  moving (default) or flat
//   "SimFail"     any of init, setData, data: that operation fails (data: no image)
// Frames: a diagonal ramp that moves with the frame counter; brightness scales with
// exposure x gain / 5000.
#pragma once

#include "CameraModule.h"

class SimCamera : public CameraModule
{
public:
    explicit SimCamera(int typeCode);
    ~SimCamera() override;

    void setParams(QMap<QString, QString> &params) override;
    bool init() override;
    bool setData(std::vector<cv::Mat> &images, QStringList &data) override;
    void data(std::vector<cv::Mat> &images, QStringList &data) override;

    // The calls received, oldest first ("create:<code>", "setParams:id=<id>:<keys>", "init",
    // "trigger", "command:<text>", "data:<frame>").
    QStringList journal;

    static bool knownTypeCode(int code);
    // Ramp value (0..255) at a pixel for a frame counter.
    static int rampValue(int x, int y, quint64 frame) { return int((x + y + 4 * frame) % 256); }

private:
    cv::Mat makeFrame() const;

    int m_code;
    int m_width = 640;
    int m_height = 480;
    int m_exposure = 5000;
    double m_gain = 1.0;
    QString m_format = QStringLiteral("mono8");
    bool m_flat = false;
    QStringList m_fail;
    bool m_ready = false;
    bool m_triggered = false;
    quint64 m_frame = 0;
};
