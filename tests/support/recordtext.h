#pragma once

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <utility>

// Builds the unit's record text: "\r\n" then one "KEY:v0:v1...\r\n" line per field key.
using RecordLine = std::pair<QString, QStringList>;

QString recordLine(const QString& key, const QStringList& values);
QString buildRecord(std::initializer_list<RecordLine> lines);
QString buildRecord(const QList<RecordLine>& lines);
