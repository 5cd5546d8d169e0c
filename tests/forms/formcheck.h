#pragma once

// Expectations on the main window form, one table per area of the window, and the helpers that
// check a built form against them. A row reads like the description of the form:
//
//   {"labelConnectedTo", "QLabel", "frameMenu", "verticalLayout_36", "item 0",
//    QStringLiteral("Connected To"),
//    {{"sizePolicy", "Expanding/Preferred"}, {"font", "Muli, 7, bold"}, {"alignment",
//    "AlignCenter"}}}
//
// name       object name; empty for a spacer (spacers have no object)
// className  exact class ("QLabel", "QVBoxLayout", "QSpacerItem", ...)
// parent     object name of the parent widget (widgets only); empty = not checked
// container  what holds the object: a layout, stack, tab widget, scroll area or the window
// cell       where in the container:
//              "item N"                              box layout index (spacers and layouts count)
//              "row R, column C[, spans RS x CS]"    grid layout cell
//              "..., alignment A"                    and the item's alignment in its cell
//              "row R, label|field|spanning"         form layout row and role
//              "page N" / "tab N"                    page of a QStackedWidget / QTabWidget
//              "layout"                              the container widget's own layout
//              "content"                             the content widget of a QScrollArea
//              "central widget" / "status bar"       of the window
//              "child"                               a plain child object (actions, button groups)
// text       the text retranslateUi sets (label/button text, group box title, tab title, action
//            text, line edit text, window title); std::nullopt when it sets none
// props      further checks, by key (see checkProp): font, styleSheet, sizePolicy, margins,
//            spacing, horizontalSpacing, verticalSpacing, stretch, rowStretch, columnStretch,
//            pixmap, icon, windowIcon, sizeHint and policy (spacers), buttons (button groups),
//            or any Qt property by name ("alignment", "readOnly", "minimumSize", ...).
//
// Widgets without a "font" or "styleSheet" entry must have no font or sheet of their own;
// layouts without margins or spacing entries must keep the defaults.

#include <QMetaType>
#include <QPair>
#include <QString>
#include <QVector>

#include <optional>

class QObject;
class QWidget;

using FormProps = QVector<QPair<QString, QString>>;

struct FormObject {
    QString name;
    QString className;
    QString parent;
    QString container;
    QString cell;
    std::optional<QString> text;
    FormProps props;

    QString label() const; // row name for data-driven tests
};
Q_DECLARE_METATYPE(FormObject)

// Text column: retranslateUi sets an empty text / sets no text at all.
inline const std::optional<QString> kEmptyText{QString()};
inline const std::optional<QString> kNoText{};

struct FormArea {
    QString title;
    QVector<FormObject> (*objects)();
};

// Every area of the form that is laid out so far; each later area adds its table here.
const QVector<FormArea>& formAreas();

// The areas' tables (one file each).
QVector<FormObject> frameObjects();
QVector<FormObject> menuAndKeyPageObjects();
QVector<FormObject> dashboardPageObjects();
QVector<FormObject> imagesPageObjects();
QVector<FormObject> statusPagesObjects();
QVector<FormObject> tablePageObjects();
QVector<FormObject> commandPageObjects();
QVector<FormObject> settingsPageObjects();

// The object with this name among the window and its descendants, or nullptr when there is
// none or more than one.
QObject* findFormObject(QObject* window, const QString& name);

// Text that retranslateUi sets on an object of this kind; false when the class carries none.
bool readFormText(QObject* object, QString* text);
bool writeFormText(QObject* object, const QString& text);

// Checks class, parent, cell, text, visibility and every listed property of one row. Uses the
// QtTest macros, so a failure ends the calling test function.
void checkFormObject(QObject* window, const FormObject& expected);
