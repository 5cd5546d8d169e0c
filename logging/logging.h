#pragma once

#include <QObject>

class logging : public QObject
{
    Q_OBJECT
public:
    explicit logging(QObject* parent = nullptr);
};
