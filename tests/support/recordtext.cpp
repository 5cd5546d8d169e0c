#include "recordtext.h"

QString recordLine(const QString& key, const QStringList& values)
{
    return key + QLatin1Char(':') + values.join(QLatin1Char(':')) + QStringLiteral("\r\n");
}

QString buildRecord(const QList<RecordLine>& lines)
{
    QString text = QStringLiteral("\r\n");
    for (const auto& line : lines)
        text += recordLine(line.first, line.second);
    return text;
}

QString buildRecord(std::initializer_list<RecordLine> lines)
{
    return buildRecord(QList<RecordLine>(lines));
}
