#include "app/maingui.h"

void MainGUI::display_weather_data(QJsonObject) {}
QString MainGUI::celsiusToFahrenheit(QString) { return QString(); }
int MainGUI::countDigits(QString) { return 0; }

void MainGUI::increment_receive_error_count()
{
}
