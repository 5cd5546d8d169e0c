#include "logging/logging.h"

logging::logging(QObject* parent) : QObject(parent) {}
