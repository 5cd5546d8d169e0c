// SPECI criteria page of the main window: reads the unit's visibility and ceiling criteria into
// the two tables, tracks the operator's edits and writes the changed rows back.

#include "app/maingui.h"

#include "app/modalrunner.h"
#include "forms/maingui_ui.h"
#include "reports/criteriatablemodel.h"

#include <QHeaderView>
#include <QMessageBox>

#include <algorithm>

namespace
{

constexpr int kMainSettingsPage = 0;
constexpr int kSpeciSettingsPage = 2;
// The unit keeps far fewer criteria; a garbled reply must not grow a table without end.
constexpr int kMaxReplyCriteria = 64;

const QString kTableStyle = QStringLiteral(
    "QTableView { background-color:#FFFFFF; color:black; font:16px; }QTableView "
    "QTableCornerButton::section { background-color:#E0E0E0; }QHeaderView::section { "
    "background-color:#E0E0E0; }");

void formatCriteriaView(QTableView* view, int widthMargin)
{
    view->setStyleSheet(kTableStyle);
    view->setColumnWidth(0, 150);
    view->setColumnWidth(1, 120);
    view->verticalHeader()->setDefaultSectionSize(35);
    view->setMaximumWidth(view->columnWidth(0) + view->verticalHeader()->width() +
                          view->columnWidth(1) + widthMargin);
}

int askOrAcknowledge(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                     const QString& text, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, text, buttons, parent);
    return runModal(box);
}

void markChanged(QSet<int>& changedRows, const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
        changedRows.insert(row);
}

} // namespace

void MainGUI::displayORVASpeciSettings(QString value, int kind)
{
    SPECITableModel* model = nullptr;
    QSet<int>* changedRows = nullptr;
    QString table;
    if (kind == SpeciReplyVisibility) {
        model = speciVisibilityModel;
        changedRows = &speciVisibilityChangedRows;
        table = QStringLiteral("SPECI Visibility");
        ui->textEdit_SPECI_status->append(QStringLiteral("Parsing device visibility settings..."));
    } else if (kind == SpeciReplyCeiling) {
        model = speciCeilingModel;
        changedRows = &speciCeilingChangedRows;
        table = QStringLiteral("SPECI Ceiling");
        ui->textEdit_SPECI_status->append(QStringLiteral("Parsing device ceiling settings..."));
    } else {
        return;
    }

    const QStringList parts = value.split(QLatin1Char(' ')).mid(0, kMaxReplyCriteria);
    const int count = parts.size();
    const int rows = model->rowCount();
    if (rows < count)
        model->insertRows(rows, count - rows);
    else if (rows > count)
        model->removeRows(count, rows - count);

    // The table shows what the unit holds, in range or not: the operator's range check is for
    // typed values. A part that is no whole number cannot be shown, and its row must not keep
    // the previous value as if the unit had sent it: it is left blank and disabled.
    QStringList unreadable;
    for (int i = 0; i < count; ++i) {
        bool number = false;
        const int threshold = parts.at(i).toInt(&number);
        if (!number)
            unreadable << QString::number(i);
        const bool unset = !number || threshold == -1;
        model->setUnitThreshold(i, unset ? -1 : threshold);
        model->setData(model->index(i, 1), QVariant(int(unset ? Qt::Checked : Qt::Unchecked)),
                       Qt::CheckStateRole);
    }
    if (!unreadable.isEmpty()) {
        const QString line = QStringLiteral("ERROR: ") + table +
                             QStringLiteral(" values from device are not numbers at Index ") +
                             unreadable.join(QStringLiteral(", ")) +
                             QStringLiteral("; shown blank and disabled.");
        emit logDataMainMsg(line.toUtf8());
        displayErrorMessages(line);
    }

    if (kind == SpeciReplyCeiling)
        ui->textEdit_SPECI_status->append(QStringLiteral("Parsing Complete!\r\n"));
    // Storing the unit's own values is not an operator edit.
    speciEdited = false;
    changedRows->clear();
}

void MainGUI::on_SPECI_visibilitymodel_datachanged(QModelIndex topLeft, QModelIndex bottomRight,
                                                   QVector<int>)
{
    speciEdited = true;
    markChanged(speciVisibilityChangedRows, topLeft, bottomRight);
}

void MainGUI::on_SPECI_ceilingmodel_datachanged(QModelIndex topLeft, QModelIndex bottomRight,
                                                QVector<int>)
{
    speciEdited = true;
    markChanged(speciCeilingChangedRows, topLeft, bottomRight);
}

void MainGUI::on_speciValidationError(int row, QString message)
{
    askOrAcknowledge(this, QMessageBox::Warning, QStringLiteral("INVALID NUMERIC ENTRY"),
                     QStringLiteral("Number out of Allowed Range") + message +
                         QStringLiteral(" for Index ") + QString::number(row) +
                         QStringLiteral(".\n Please correct entry and resubmit. \n\n"),
                     QMessageBox::Ok);
}

void MainGUI::on_pushButton_editSpeciSettings_clicked()
{
    ui->stackedWidget_Settings->setCurrentIndex(kSpeciSettingsPage);
    loadSpeciSettings();
}

void MainGUI::on_pushButton_returnSPECISettings_clicked()
{
    if (speciEdited &&
        askOrAcknowledge(this, QMessageBox::Warning, QStringLiteral("CONFIRM COMMAND"),
                         QStringLiteral("Save SPECI values to device? \n\n"),
                         QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
        on_speciSaveSettings();
    ui->stackedWidget_Settings->setCurrentIndex(kMainSettingsPage);
}

void MainGUI::on_pushButton_setSPECIdefaults_clicked()
{
    on_speciCustomDefault();
}

void MainGUI::on_pushButton_saveSPECItoDevice_clicked()
{
    on_speciSaveSettings();
}

void MainGUI::loadSpeciSettings()
{
    ui->textEdit_SPECI_status->append(QStringLiteral("Loading Settings."));
    ui->textEdit_SPECI_status->append(QStringLiteral("Querying device settings..."));
    writecommands(QByteArrayLiteral("speci_read_visibility\r\n"));
    writecommands(QByteArrayLiteral("speci_read_ceiling\r\n"));
    formatCriteriaView(ui->tableView_SPECISettings_Visibility, 15);
    formatCriteriaView(ui->tableView_SPECISettings_Ceiling, 20);
    speciEdited = false;
    speciVisibilityChangedRows.clear();
    speciCeilingChangedRows.clear();
}

void MainGUI::on_speciSaveSettings()
{
    struct Table {
        SPECITableModel* model;
        const QSet<int>* changedRows;
        QString name;
        QByteArray command;
        QString logPrefix;
        QString savedLine;
    };
    const Table tables[] = {
        {speciVisibilityModel, &speciVisibilityChangedRows, QStringLiteral("SPECI Visibility"),
         QByteArrayLiteral("speci_write_visibility "),
         QStringLiteral("INFO: SPECI Visibility parameter Index "),
         QStringLiteral("Saved visibility settings.")},
        {speciCeilingModel, &speciCeilingChangedRows, QStringLiteral("SPECI Ceiling"),
         QByteArrayLiteral("speci_write_ceiling "),
         QStringLiteral("INFO: SPECI Ceiling parameter Index "),
         QStringLiteral("Saved ceiling settings.")},
    };

    bool written = false;
    for (const Table& table : tables) {
        QList<int> rows = table.changedRows->values();
        std::sort(rows.begin(), rows.end());
        for (int row : rows) {
            // A row removed through the menu after its edit no longer exists to be written.
            if (row >= table.model->rowCount())
                continue;
            const bool disabled =
                table.model->data(table.model->index(row, 1), Qt::CheckStateRole) == QVariant(2);
            const int value =
                disabled ? -1
                         : table.model->data(table.model->index(row, 0), Qt::DisplayRole).toInt();
            if (!disabled && value < 1) {
                on_speciBlankError(row, table.name);
                return;
            }
            writecommands(table.command + QByteArray::number(row) + ' ' +
                          QByteArray::number(value) + "\r\n");
            const QString line = table.logPrefix + QString::number(row) +
                                 QStringLiteral(" custom value set [ ") + QString::number(value) +
                                 QStringLiteral(" ]");
            emit logDataMainMsg(line.toUtf8());
            displaySystemMessages(line);
            written = true;
        }
        ui->textEdit_SPECI_status->append(table.savedLine);
    }

    speciEdited = false;
    speciVisibilityChangedRows.clear();
    speciCeilingChangedRows.clear();
    if (written)
        askOrAcknowledge(this, QMessageBox::Information, QStringLiteral("SPECI Custom Values"),
                         QStringLiteral("Custom SPECI values have been set"), QMessageBox::Ok);
}

void MainGUI::on_speciCustomDefault()
{
    if (askOrAcknowledge(
            this, QMessageBox::Warning, QStringLiteral("CONFIRM COMMAND"),
            QStringLiteral("Confirm Setting ALL SPECI Settings to Default AFMAN Values? \n\n"),
            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    writecommands(QByteArrayLiteral("speci_default\r\n"));
    ui->textEdit_SPECI_status->append(QStringLiteral("Setting defaults."));
    // The first row stays so that each table keeps its columns for the unit's reply.
    for (SPECITableModel* model : {speciVisibilityModel, speciCeilingModel}) {
        if (model->rowCount() > 1)
            model->removeRows(1, model->rowCount() - 1);
    }
    speciEdited = false;
    speciVisibilityChangedRows.clear();
    speciCeilingChangedRows.clear();
    loadSpeciSettings();
}

void MainGUI::on_speciBlankError(int row, QString table)
{
    askOrAcknowledge(this, QMessageBox::Warning, QStringLiteral("BLANK ENTRY"),
                     QStringLiteral("Table ") + table + QStringLiteral(" at Index ") +
                         QString::number(row) +
                         QStringLiteral(".\n Please correct entry and resubmit. \n\n"),
                     QMessageBox::Ok);
}
