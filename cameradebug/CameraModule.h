// The camera object of the camera module library ("Bx_CameraModule_All"), and its exports:
//   CameraModule *create(int typeCode);   // null for a code the library does not know
//   void destory(CameraModule *camera);
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <opencv2/core.hpp>

#include <vector>

class CameraModule
{
public:
    // "相机key", "取图超时" and one entry per parameter: name -> values joined by ",".
    virtual void setParams(QMap<QString, QString> &params) = 0;
    // True when the camera is ready.
    virtual bool init() = 0;
    // Both empty: trigger a grab. Empty images and commands: set exposure and gain
    // ("SetExposureTime_<e>#", "SetGain_<g>").
    virtual bool setData(std::vector<cv::Mat> &images, QStringList &data) = 0;
    // Hands out the grabbed images.
    virtual void data(std::vector<cv::Mat> &images, QStringList &data) = 0;

    int id = 0; // the camera's index in the tool's camera list

protected:
    virtual ~CameraModule() = default; // only "destory" deletes
};

using CameraModule_CreateFunc = CameraModule *(*)(int typeCode);
using CameraModule_DestroyFunc = void (*)(CameraModule *camera);
