// Camera pictures on the images page.

#include "dashboard/cameraimages.h"

#include "app/maingui.h"
#include "forms/fadein.h"
#include "forms/maingui_ui.h"

#include <QEasingCurve>
#include <QGraphicsOpacityEffect>
#include <QProgressBar>
#include <QPropertyAnimation>

namespace CameraImages
{

QString captureTimeText(const QString& date, const QString& time)
{
    return QStringLiteral("Last Capture Time: ") + date + QStringLiteral(", ") + time;
}

QString captionText(int camera, double angle, const QString& date, const QString& time)
{
    // One multi-argument arg() so that a "%" in the unit's date or time is not substituted again.
    return QStringLiteral("Camera %1 (%2%3)\n%4, %5")
        .arg(QString::number(camera), QString::number(angle, 'g', 6), QStringLiteral("\u00B0"),
             date, time);
}

QPixmap fittedPicture(const QString& path)
{
    const QPixmap picture(path);
    if (picture.isNull())
        return picture;
    return picture.scaled(kPictureWidth, kPictureHeight, Qt::KeepAspectRatio,
                          Qt::SmoothTransformation);
}

} // namespace CameraImages

namespace
{

void showPicture(QLabel* label, const QString& path)
{
    // The form stretches a label's contents to its size, which would undo the fit's aspect.
    label->setScaledContents(false);
    label->setPixmap(CameraImages::fittedPicture(path));
    label->setAlignment(Qt::AlignCenter);
}

} // namespace

void MainGUI::displayImageDataProgress(QString imagePath, int camera, QString time, double angle,
                                       QString date)
{
    using namespace CameraImages;
    // The link reports cameras 1 to 4 only; another number has no label to write to.
    if (!validCamera(camera) || !imageLabels[camera - 1] || !cameraInfoLabels[camera - 1])
        return;
    ui->label_CameraTime->setText(captureTimeText(date, time));
    cameraInfoLabels[camera - 1]->setText(captionText(camera, angle, date, time));
    showPicture(imageLabels[camera - 1], imagePath);
}

void MainGUI::displayImageDataFinal(int camera, QString imagePath)
{
    using namespace CameraImages;
    if (imageProgressBar)
        imageProgressBar->setValue(imageProgressMaximum);
    if (validCamera(camera) && imageLabels[camera - 1] && camera <= imagePaths.size()) {
        QLabel* label = imageLabels[camera - 1];
        imagePaths[camera - 1] = imagePath;
        fadeIn(label, kFadeInMs);
        showPicture(label, imagePaths.at(camera - 1));
    }
    if (imageProgressBar)
        imageProgressBar->hide();
}
