#pragma once

// Rules of the images page: the caption and capture-time texts and the shown picture's size.

#include <QPixmap>
#include <QString>

namespace CameraImages
{

constexpr int kCameraCount = 4;
constexpr int kPictureWidth = 320;
constexpr int kPictureHeight = 240;
constexpr int kFadeInMs = 1000;

inline bool validCamera(int camera)
{
    return camera >= 1 && camera <= kCameraCount;
}

QString captureTimeText(const QString& date, const QString& time);
QString captionText(int camera, double angle, const QString& date, const QString& time);
// The picture in `path` fitted into 320 x 240; empty when the file cannot be read.
QPixmap fittedPicture(const QString& path);

} // namespace CameraImages
