#pragma once

#include <QString>
#include <QVector>

// One slot of the main window that the form binds by name at the end of setupUi: the widget,
// its class, the signal (as it is emitted) and the slot's exact signature.
struct FormBinding {
    QString object;
    QString className;
    QString signal;
    QString slot;
    QString page; // the page or tab that holds the widget
};

// Every slot the form binds by name, in the order of the window's slot declarations.
const QVector<FormBinding>& formBindings();
