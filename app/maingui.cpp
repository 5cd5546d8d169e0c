#include "app/maingui.h"

#include "forms/maingui_ui.h"

MainGUI::MainGUI(QWidget* parent) : QMainWindow(parent), ui(new Ui_MainGUI)
{
    ui->setupUi(this);
}

MainGUI::~MainGUI()
{
    delete ui;
}
