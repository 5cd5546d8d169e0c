#pragma once

// Records of the two families and the report the decoder makes of them.

#include "decoder/weatherdatadecoder.h"
#include "tests/support/recordtext.h"

#include <QList>
#include <QString>

namespace
{

const int kBrq = static_cast<int>(DeviceTypes::BRQ);
const int kOrva = static_cast<int>(DeviceTypes::ORVA);
const char* const kTime = "24/03/05,14:07:09";

// An ORVA record of station KXYZ; `time` is the T line's value.
inline QString orvaRecord(const QList<RecordLine>& lines, const QString& time = kTime,
                          const QString& frame = "@1")
{
    QList<RecordLine> all{{"N", {"0", "0", "0", "0", "kxyz", "1", "1"}}, {"T", time.split(':')}};
    return frame + buildRecord(all + lines);
}

// A BRQ record of unit 300234010, a routine observation.
inline QString brqRecord(const QList<RecordLine>& lines, const QString& time = kTime)
{
    QList<RecordLine> all{{"@I", {"300234010"}}, {"N", {"0", "M"}}, {"T", time.split(':')}};
    return buildRecord(all + lines);
}

inline QString familyRecord(int deviceType, const QList<RecordLine>& lines,
                            const QString& time = kTime)
{
    return deviceType == kOrva ? orvaRecord(lines, time) : brqRecord(lines, time);
}

inline QString reportOf(WeatherDataDecoder& decoder, const QString& record, int deviceType)
{
    decoder.setRecordText(record);
    decoder.setDeviceType(deviceType, false);
    return decoder.createMetar();
}

inline QString bodyOf(const QString& report)
{
    return report.left(report.indexOf(QLatin1String("RMK AO2 ")));
}

inline QString remarksOf(const QString& report)
{
    return report.mid(report.indexOf(QLatin1String("RMK AO2 ")));
}

// The lines whose values are given; an empty list leaves its line out.
inline QList<RecordLine> linesFrom(const QStringList& keys, const QList<QStringList>& values)
{
    QList<RecordLine> lines;
    for (int i = 0; i < keys.size(); ++i) {
        if (!values.at(i).isEmpty())
            lines.append({keys.at(i), values.at(i)});
    }
    return lines;
}

// A record text from its lines as the unit sends them, "KEY:v0:v1...".
inline QString unitText(const QStringList& lines)
{
    return QStringLiteral("\r\n") + lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

// One value, or no line at all when it is empty.
inline QStringList given(const QString& value)
{
    return value.isEmpty() ? QStringList() : QStringList{value};
}

} // namespace
