#include "app/dialogencryptionkey.h"

#include "forms/dialogencryptionkey_ui.h"

#include <QRandomGenerator>

DialogEncryptionKey::DialogEncryptionKey(QWidget* parent)
    : QDialog(parent), ui(new Ui_DialogEncryptionKey)
{
    ui->setupUi(this);
    clearValues();
    connect(ui->pushButton_cancelGenerate, &QPushButton::clicked, this, &QDialog::close);
}

DialogEncryptionKey::~DialogEncryptionKey()
{
    delete ui;
}

void DialogEncryptionKey::clearValues()
{
    ui->lineEdit_userSalt->hide();
    ui->label_entersalt->hide();
    ui->lineEdit_userPassword->clear();
    ui->lineEdit_userSalt->clear();
    ui->radioButton_autoSalt->setChecked(true);
    ui->label_generatingKeyInProgress->hide();
}

void DialogEncryptionKey::on_radioButton_autoSalt_clicked()
{
    ui->lineEdit_userSalt->hide();
    ui->label_entersalt->hide();
}

void DialogEncryptionKey::on_radioButton_manualSalt_clicked()
{
    ui->lineEdit_userSalt->show();
    ui->label_entersalt->show();
}

void DialogEncryptionKey::on_pushButton_generateKey_clicked()
{
    ui->label_generatingKeyInProgress->show();
    const QString password = ui->lineEdit_userPassword->text();
    QString salt;
    bool manual = false;
    if (ui->radioButton_manualSalt->isChecked()) {
        salt = ui->lineEdit_userSalt->text();
        manual = true;
    } else if (ui->radioButton_autoSalt->isChecked()) {
        salt = generateSalt();
    }
    emit sendData(password, salt, manual);
    close();
}

QString DialogEncryptionKey::generateSalt()
{
    return QString::number(QRandomGenerator::global()->generate());
}
