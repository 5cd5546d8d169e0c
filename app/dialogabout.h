#pragma once

#include <QDialog>
#include <QString>

class Ui_DialogAbout;

// The about box: logo, version line, rights notice and an OK button that hides it.
class DialogAbout : public QDialog
{
    Q_OBJECT

public:
    explicit DialogAbout(QWidget* parent = nullptr);
    ~DialogAbout() override;

private:
    QString versionText;
    Ui_DialogAbout* ui = nullptr;
};
