#include "alerts/alertlistrules.h"

#include "alerts/alertrules.h"
#include "alerts/temperatureunitstate.h"

#include <QStringList>

const QVector<AlertListRow>& alertListRows()
{
    // The delete group numbers station pressure to cross wind in another order than the audio
    // group; each handler decodes with its own column.
    static const QVector<AlertListRow> rows = {
        {"Temperature", "Temp", "Temperature", "Temp", 0, 0},
        {"Wind Speed", "WindSpeed", "Wind Speed", "Wind Speed", 2, 2},
        {"Wind Chill", "WindChill", "Wind Chill", "Wind Chill", 4, 4},
        {"Wind Direction", "WindDirection", "Wind Direction", "Wind Direction", 6, 6},
        {"Gust Speed", "WindGustSpeed", "Wind Gust Speed", "Wind Gust Speed", 8, 8},
        {"Visibility", "Visibility", "Visibility", "Visibility", 10, 10},
        {"Dew Point", "DewPoint", "Dew Point", "Dew Point", 12, 12},
        {"Heat Index", "HeatIndex", "Heat Index", "Heat Index", 14, 14},
        {"Altimeter", "Altimeter", "Altimeter", "Altimeter", 16, 16},
        {"Relative Humidity", "RelativeHumidity", "Relative Humidity", "Relative Humidity", 18, 18},
        {"Station Pressure", "StationPressure", "Station Pressure", "Station Pressure", 20, 28},
        {"Sea Level Pressure", "SeaLevelPressure", "Sea Level Pressure", "Sea Level Pressure", 22,
         30},
        {"Pressure Altitude", "PressureAltitude", "Pressure Altitude", "Pressure Altitude", 24, 20},
        {"Density Altitude", "DensityAltitude", "Density Altitude", "Density Altitude", 26, 22},
        {"3Hr Pressure Change", "3hrPressureChange", "3Hr Pressure Change", "3Hr Pressure Change",
         28, 24},
        {"Cross Wind Speed", "CrossWindSpeed", "Cross Wind Speed", "Cross Wind Speed", 30, 26},
        {"Lightning", "Lightning", "Lightning", "Lightning", 32, 32},
    };
    return rows;
}

const AlertListRow* alertListRowForParameter(const QString& parameter)
{
    for (const AlertListRow& row : alertListRows()) {
        if (row.parameter == parameter)
            return &row;
    }
    return nullptr;
}

namespace
{

AlertRowRef rowForId(int id, int AlertListRow::*column)
{
    AlertRowRef ref;
    if (id < 0)
        return ref;
    for (const AlertListRow& row : alertListRows()) {
        if (id == row.*column || id == row.*column + 1) {
            ref.row = &row;
            ref.greater = id == row.*column + 1;
            break;
        }
    }
    return ref;
}

} // namespace

AlertRowRef alertRowForAudioId(int id)
{
    return rowForId(id, &AlertListRow::audioId);
}

AlertRowRef alertRowForDeleteId(int id)
{
    return rowForId(id, &AlertListRow::deleteId);
}

QString alertRowValueText(const AlertDef& def, bool fahrenheit)
{
    const QString prefix =
        def.setting == kAlertGreaterThan ? QStringLiteral("> ") : QStringLiteral("< ");
    const bool temperature = isTemperatureParameter(def.parameter);
    const QString value =
        temperature && fahrenheit ? celsiusToFahrenheitText(def.value) : def.value;
    return prefix + value + QLatin1Char(' ') + alertUnitText(def.parameter, fahrenheit);
}

QString alertStoredValue(const QString& parameter, const QString& typed, bool fahrenheit)
{
    if (fahrenheit && isTemperatureParameter(parameter))
        return fahrenheitToCelsiusText(typed);
    return typed;
}

AlertAudioError alertAudioErrorTexts(const AlertRowRef& ref)
{
    if (!ref.row)
        return {};
    const QString direction =
        ref.greater ? QStringLiteral(" Greater Than") : QStringLiteral(" Less Than");
    const QString word = ref.row->errorWord;
    const QString text = QStringLiteral("Audio for ") + word + direction;
    // These two rows have always written their pane line without the level word, and their
    // less-than log line with a doubled blank; log readers match on these texts.
    if (word == QLatin1String("Cross Wind Speed") || word == QLatin1String("Lightning")) {
        const QString logGap = ref.greater ? QStringLiteral(" ") : QStringLiteral("  ");
        return {text + QStringLiteral(" unable to toggle"),
                QStringLiteral("ERROR: ") + text + logGap + QStringLiteral("unable to toggle")};
    }
    const QString full = QStringLiteral("ERROR: ") + text + QStringLiteral(" unable to toggle");
    return {full, full};
}

namespace
{

bool namesTemperatureParameter(const QString& line)
{
    return line.contains(QLatin1String("Wind Chill")) ||
           line.contains(QLatin1String("Heat Index")) ||
           line.contains(QLatin1String("Temperature")) || line.contains(QLatin1String("Dew Point"));
}

QString convertLine(const QString& line, bool toFahrenheit)
{
    const QString oldUnit = temperatureUnitText(!toFahrenheit);
    const QString newUnit = temperatureUnitText(toFahrenheit);
    auto convert = [toFahrenheit](const QString& word) {
        return toFahrenheit ? celsiusToFahrenheitText(word) : fahrenheitToCelsiusText(word);
    };

    QString stripped = line;
    stripped.remove(oldUnit);
    const QStringList words = stripped.split(QLatin1Char(' '));

    // Two-word parameter names push every message word one place on.
    const int shift = words.contains(QStringLiteral("Temperature")) ? 0 : 1;
    const int valueAt = 3 + shift;
    const int rangeWordAt = 6 + shift;
    const int greaterAt = 9 + shift;
    const int lessAt = 11 + shift;
    const bool range =
        words.size() > rangeWordAt && words.at(rangeWordAt).contains(QLatin1String("Threshold"));
    const int last = range ? lessAt : greaterAt;
    if (words.size() <= last)
        return line;

    QStringList out;
    for (int i = 0; i <= last; ++i) {
        const QString& word = words.at(i);
        if (i == valueAt || i == last)
            out << convert(word) + newUnit;
        else if (range && i == greaterAt)
            out << convert(word);
        else
            out << word;
    }
    return out.join(QLatin1Char(' '));
}

} // namespace

QString convertAlertPaneText(const QString& text, bool toFahrenheit)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (namesTemperatureParameter(line))
            line = convertLine(line, toFahrenheit);
    }
    return lines.join(QLatin1Char('\n'));
}
