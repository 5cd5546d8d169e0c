#pragma once

#include <QObject>

class data_incoming : public QObject
{
    Q_OBJECT
public:
    explicit data_incoming(QObject* parent = nullptr);
};
