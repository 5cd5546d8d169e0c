#include "dashboard/bitview.h"

#include <QDebug>
#include <QHash>
#include <QHeaderView>
#include <QIcon>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QLabel>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QTreeView>

namespace
{
const char* const greenLamp = ":/resources/greenlight_icon_small.png";
const char* const redLamp = ":/resources/redlight_icon_small.png";

// The controller line grew extra fields; older firmware sends fewer and its later lines
// cannot be trusted.
constexpr int minimumControllerFields = 8;
} // namespace

BITView::BITView(QObject* parent, QTreeView* treeView, QLabel* waitingLabel)
    : QObject(parent), treeView(treeView), waitingLabel(waitingLabel),
      configFile(QStringLiteral("bit_json.json"))
{
    moduleCodes = QStringList{QStringLiteral("B"),  QStringLiteral("CL"), QStringLiteral("LT"),
                              QStringLiteral("IR"), QStringLiteral("RA"), QStringLiteral("TA"),
                              QStringLiteral("PW"), QStringLiteral("WI")};

    model = new QStandardItemModel();
    model->setColumnCount(2);
    model->setHorizontalHeaderItem(0, new QStandardItem(QStringLiteral("BIT Name")));
    model->setHorizontalHeaderItem(1, new QStandardItem(QStringLiteral("Description")));

    if (treeView) {
        treeView->setModel(model);
        // The tree's own sheet gives it and every part of it a 10-pixel margin and padding;
        // the header row is too low for them and would show no text at all.
        treeView->header()->setStyleSheet(QStringLiteral("margin: 0px; padding: 0px;"));
        treeView->setWordWrap(true);
        treeView->setColumnWidth(0, 400);
        treeView->resizeColumnToContents(1);
    }
    if (waitingLabel)
        waitingLabel->hide();
}

// The view drops a model that is destroyed under it, so the tree may outlive this object.
BITView::~BITView()
{
    delete model;
}

void BITView::loadBitConfig()
{
    if (!configFile.open(QIODevice::ReadOnly)) {
        if (treeView)
            treeView->expandAll();
        return;
    }
    const QByteArray content = configFile.readAll();
    configFile.close();

    const QJsonObject object = QJsonDocument::fromJson(content).object();
    modules = object.value(QStringLiteral("modules")).toArray();
    const QString version =
        QString::number(object.value(QStringLiteral("version")).toDouble(), 'g', 6);

    emit info(QStringLiteral("INFO: Bit Status Config File Version ") + version +
              QStringLiteral(" Loaded"));

    if (treeView)
        treeView->expandAll();
}

QString BITView::moduleName(const QString& code)
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("B"), QStringLiteral("Main Controller")},
        {QStringLiteral("CL"), QStringLiteral("Ceilometer Module")},
        {QStringLiteral("LT"), QStringLiteral("Lightning Module")},
        {QStringLiteral("IR"), QStringLiteral("Iridium Module")},
        {QStringLiteral("RA"), QStringLiteral("Radio Module")},
        {QStringLiteral("TA"), QStringLiteral("Temperature, Pressure & Humidity Module")},
        {QStringLiteral("PW"), QStringLiteral("Present Weather Module")},
        {QStringLiteral("WI"), QStringLiteral("Wind Module")},
    };
    return names.value(code);
}

QString BITView::statusText(const QString& status)
{
    static const QHash<QString, QString> texts = {
        {QStringLiteral("00"), QStringLiteral("System OK - No errors")},
        {QStringLiteral("01"), QStringLiteral("Maintenance issues")},
        {QStringLiteral("02"), QStringLiteral("Degraded performance")},
        {QStringLiteral("03"), QStringLiteral("Maintenance + Degraded")},
        {QStringLiteral("04"), QStringLiteral("Critical failure")},
        {QStringLiteral("05"), QStringLiteral("Critical + Maintenance")},
        {QStringLiteral("06"), QStringLiteral("Critical + Degraded")},
        {QStringLiteral("07"), QStringLiteral("Critical + Degraded + Maintenance")},
    };
    return texts.value(status);
}

QStandardItem* BITView::findOrAddModuleItem(const QString& name)
{
    const QList<QStandardItem*> found =
        model->findItems(name, Qt::MatchExactly | Qt::MatchRecursive, 0);
    if (!found.isEmpty())
        return found.first();

    auto* item = new QStandardItem(name);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    model->appendRow(item);
    return item;
}

void BITView::setModuleFault(const QString& name, const QString& status, const QString& text)
{
    QStandardItem* item = findOrAddModuleItem(name);
    item->setIcon(QIcon(QString::fromLatin1(redLamp)));
    if (item->rowCount() > 0)
        item->removeRows(0, item->rowCount());

    auto* codeItem = new QStandardItem(status);
    codeItem->setEditable(false);
    auto* textItem = new QStandardItem(text);
    textItem->setEditable(false);
    item->appendRow({codeItem, textItem});

    if (treeView)
        treeView->expandAll();
}

void BITView::setModuleStatusIcon(const QString& name)
{
    QStandardItem* item = findOrAddModuleItem(name);
    if (item->rowCount() > 0)
        item->removeRows(0, item->rowCount());
    item->setIcon(QIcon(QString::fromLatin1(greenLamp)));
}

void BITView::on_bit_packet_received(QByteArray packet)
{
    const QStringList lines = QString::fromUtf8(packet).split(QStringLiteral("\r\n"));
    for (const QString& line : lines) {
        const QStringList fields = line.split(QLatin1Char(':'));
        if (fields.size() < 2)
            continue;

        const QString code = fields.first();
        const QString name = moduleName(code);

        if (code == QLatin1String("B") && fields.size() < minimumControllerFields) {
            qDebug() << "Deprecated BIT firmware";
            return;
        }
        if (!moduleCodes.contains(code))
            continue;

        const QString status = fields.last();
        if (status.size() != 2)
            continue;

        if (status == QLatin1String("00")) {
            QStandardItem* item = findOrAddModuleItem(name);
            if (item->rowCount() > 0 && item->child(0, 0))
                emit error(QStringLiteral("BIT CLEARED (") + name + QStringLiteral(") - ") +
                           item->child(0, 0)->text());
            setModuleStatusIcon(name);
        } else {
            const QString text = statusText(status);
            setModuleFault(name, status, text);
            emit error(QStringLiteral("BIT DETECTED (") + name + QStringLiteral(") - ") + status +
                       QStringLiteral(": ") + text);
        }
    }

    if (waitingLabel)
        waitingLabel->setVisible(model->rowCount() == 0);
}
