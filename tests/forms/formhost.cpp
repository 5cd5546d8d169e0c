#include "formhost.h"

#include "forms/maingui_ui.h"

FormHost::FormHost(QMainWindow* window) : m_window(window), m_ui(new Ui_MainGUI)
{
    m_ui->setupUi(window);
}

FormHost::~FormHost()
{
    delete m_ui;
}

void FormHost::retranslate()
{
    m_ui->retranslateUi(m_window);
}
