#include "dashboard/bitview.h"

// The tree, the configuration file and the frame reading come with the status view's own work.

BITView::BITView(QObject* parent, QTreeView* treeView, QLabel* waitingLabel)
    : QObject(parent), treeView(treeView), waitingLabel(waitingLabel)
{
}

BITView::~BITView() = default;

void BITView::loadBitConfig() {}

void BITView::on_bit_packet_received(QByteArray) {}
