#pragma once

#include <QDialog>
#include <QString>

class Ui_DialogEncryptionKey;

// The dialog in which the operator asks for a new link key: a password and an automatic or
// manual salt.
class DialogEncryptionKey : public QDialog
{
    Q_OBJECT

public:
    explicit DialogEncryptionKey(QWidget* parent = nullptr);
    ~DialogEncryptionKey() override;

signals:
    void sendData(QString password, QString salt, bool manualSalt);

public slots:
    void clearValues();
    void on_radioButton_autoSalt_clicked();
    void on_radioButton_manualSalt_clicked();
    void on_pushButton_generateKey_clicked();
    QString generateSalt();

private:
    Ui_DialogEncryptionKey* ui = nullptr;
};
