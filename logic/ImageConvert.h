// Conversion of the module's result matrices into displayable images.
#pragma once

#include <QImage>

#include <opencv2/core.hpp>

namespace imageconvert {

// A 2-D matrix whose every row lies inside its data span (sub-matrices included).
bool isWellFormed(const cv::Mat &mtx);

// One pass straight into a new image's own buffer.
// CV_8UC1 and CV_16UC1 (min-max stretched) give Grayscale8, CV_8UC3 (BGR) RGB888,
// CV_8UC4 (BGRA) ARGB32. Other types give a null image. Throws when the image cannot be allocated.
QImage toQImage(const cv::Mat &mtx);

} // namespace imageconvert
