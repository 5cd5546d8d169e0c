#include "link/data_incoming.h"

data_incoming::data_incoming(QObject* parent) : QObject(parent) {}
