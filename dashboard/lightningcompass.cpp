// Lightning compass of the dashboard.

#include "dashboard/lightningcompass.h"

#include "app/maingui.h"
#include "decoder/clock.h"

#include <QBrush>
#include <QDebug>
#include <QGraphicsEllipseItem>
#include <QtMath>

namespace LightningCompass
{

const char* const kTimeFormat = "yyyy-MM-dd hh:mm:ss";

void StrikeOwner::connectionEnded()
{
    tracker.connectionEnded();
    newStrikes = 0;
}

int StrikeOwner::strikesKept(DeviceTypes family, const QString& identifier, bool checked,
                             int strikes)
{
    const bool another = tracker.startsAnotherUnit(family, identifier, checked);
    const int kept = another ? qMin(newStrikes, strikes) : strikes;
    newStrikes = 0;
    return kept;
}

QStringList frameEntries(const QByteArray& frame)
{
    const QStringList lines = QString::fromUtf8(frame).split(QLatin1Char('\n'));
    if (lines.size() < 3)
        return {};
    const QString& raw = lines.at(2);
    // The line ends in two characters of framing; a shorter line leaves nothing.
    const QString line = raw.left(qMax(0, raw.size() - 2));
    if (line.contains(QLatin1Char(';')))
        return line.split(QLatin1Char(';'));
    const QStringList words = line.split(QLatin1Char(' '));
    QStringList entries;
    for (int i = 0; i < words.size(); i += 2)
        entries << (i + 1 < words.size() ? words.at(i) + QLatin1Char(' ') + words.at(i + 1)
                                         : words.at(i));
    return entries;
}

double ringRadius(double d)
{
    if (d < 5)
        return d;
    if (d < 10)
        return 47.3 + (d - 5) / 5 * (82.9 - 47.3);
    if (d < 25)
        return 82.9 + (d - 10) / 15 * (111.2 - 82.9);
    if (d < 50)
        return 111.2 + (d - 25) / 25 * (130 - 111.2);
    return 130;
}

QPointF dotCorner(double distance, double bearing)
{
    const double r = ringRadius(distance);
    const double a = (bearing - 90) * 0.017453292519943295;
    return QPointF(r * std::cos(a), r * std::sin(a));
}

QColor ageColour(qint64 ageMs)
{
    if (ageMs <= kRedMs)
        return QColor(Qt::red);
    if (ageMs <= kYellowMs)
        return QColor(Qt::yellow);
    return QColor(Qt::green);
}

QDateTime parseUtc(const QString& text)
{
    // Date and time are read apart and joined as UTC. Read whole, the text would be taken as the
    // PC's local time first: an hour that a daylight-saving change skips would not exist.
    if (text.size() != 19 || text.at(10) != QLatin1Char(' '))
        return {};
    return QDateTime(QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd")),
                     QTime::fromString(text.mid(11), QStringLiteral("hh:mm:ss")), Qt::UTC);
}

QString formatUtc(const QDateTime& instant)
{
    return instant.toUTC().toString(QLatin1String(kTimeFormat));
}

QDateTime wholeSecondsUtc(const QDateTime& instant)
{
    return parseUtc(formatUtc(instant));
}

} // namespace LightningCompass

void MainGUI::displayORVALightning(QByteArray frame)
{
    using namespace LightningCompass;
    const QStringList entries = frameEntries(frame);
    qDebug() << "Raw Lightning Data: " << entries;
    if (entries.size() < 2)
        return;

    for (const QString& entry : entries) {
        qDebug().noquote() << "Processing Lightning Entry: " + entry;
        const QStringList fields = entry.split(QLatin1Char(','));
        if (fields.size() < 4) {
            const QString detail =
                QStringLiteral("Lightning packet parsing index out of range [ ") + entry + " ]";
            displayErrorMessages(QStringLiteral("WARNING: ") + detail);
            const QString error = QStringLiteral("ERROR: ") + detail;
            qDebug().noquote() << error;
            emit logDataMainMsg(error.toUtf8());
            continue;
        }
        qDebug().noquote() << "Timestamp: " + fields.at(1);
        qDebug().noquote() << "Direction(degrees): " + fields.at(2);
        qDebug().noquote() << "Distance (SM): " + fields.at(3);

        const LightningStrike strike{fields.at(1), fields.at(3), fields.at(2),
                                     formatUtc(Clock::nowUtc())};
        if (alertActive.value(QStringLiteral("Lightning")))
            checkAlert(QStringLiteral("Lightning"), strike.distance);

        if (strike.distance.toInt(nullptr, 10) > kDisplayRange) {
            displaySystemMessages(
                QStringLiteral("INFO: Lightning Data Received, but is out of display range. "
                               "[ Bearing ") +
                strike.bearing + QStringLiteral("\u00B0, Distance ") + strike.distance +
                QStringLiteral(" SM ] "));
            continue;
        }
        lightningStrikes.append(strike);
        strikeOwner.strikeKept();
        drawLightning();
    }
}

void MainGUI::drawLightning()
{
    using namespace LightningCompass;
    lightningScene.clear();
    if (lightningStrikes.isEmpty())
        return;

    for (int i = 0; i < lightningStrikes.size();) {
        const LightningStrike& strike = lightningStrikes.at(i);
        const QDateTime now = wholeSecondsUtc(Clock::nowUtc());
        const qint64 age = parseUtc(strike.receivedUtc).msecsTo(now);
        if (age > kKeepMs) {
            lightningStrikes.removeAt(i);
            continue;
        }
        const double d = strike.distance.toDouble();
        const double b = strike.bearing.toDouble();
        // "inf" and "nan" from the wire would give a dot with no place in the scene.
        if (d <= kDisplayRange && qIsFinite(d) && qIsFinite(b)) {
            auto* dot =
                new QGraphicsEllipseItem(QRectF(dotCorner(d, b), QSizeF(kDotSize, kDotSize)));
            dot->setBrush(QBrush(ageColour(age), Qt::SolidPattern));
            lightningScene.addItem(dot);
        }
        ++i;
    }
}

void MainGUI::checkBRQLightning()
{
    using namespace LightningCompass;
    const QDateTime now = wholeSecondsUtc(Clock::nowUtc());
    for (int i = 0; i < brqLightningRecords.size();) {
        if (parseUtc(brqLightningRecords.at(i).timeStamp).msecsTo(now) > kBrqKeepMs)
            brqLightningRecords.removeAt(i);
        else
            ++i;
    }
}
