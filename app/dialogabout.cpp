#include "app/dialogabout.h"

#include "forms/dialogabout_ui.h"

DialogAbout::DialogAbout(QWidget* parent)
    : QDialog(parent), versionText(QStringLiteral("Vantora Direct Version 3.1.13b")),
      ui(new Ui_DialogAbout)
{
    ui->setupUi(this);
    connect(ui->pushButtonClose, &QPushButton::clicked, this, &QDialog::close);
    ui->labelVersion->setText(versionText);
}

DialogAbout::~DialogAbout()
{
    delete ui;
}
