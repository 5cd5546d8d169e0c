#include "alerts/notificationcounts.h"

#include <climits>

namespace
{
const QString kButtonName = QStringLiteral("  Notifications");
}

int digitCount(int n)
{
    int digits = n < 0 ? 1 : 0;
    // Division truncates toward zero, so negative values (INT_MIN too) need no negation.
    while (n != 0) {
        n /= 10;
        ++digits;
    }
    return digits;
}

QString notificationTabName(int tab)
{
    switch (tab) {
    case 0:
        return QStringLiteral("Alerts");
    case 1:
        return QStringLiteral("Error Messages");
    case 2:
        return QStringLiteral("System Messages");
    default:
        return QString();
    }
}

QString notificationTabText(int tab, int count, bool showCount)
{
    const QString name = notificationTabName(tab);
    if (!showCount)
        return name + QStringLiteral("      ");
    QString text = name + QStringLiteral(" [") + QString::number(count) + QLatin1Char(']');
    if (tab == 0 || tab == 1) {
        const int digits = digitCount(count);
        if (digits == 2)
            text += QLatin1Char(' ');
        else if (digits != 3)
            text += QStringLiteral("  ");
    }
    return text;
}

bool notificationTabShowsCount(int tab, int count, int currentTab, bool pageOpen)
{
    return count >= 1 && (tab != currentTab || pageOpen);
}

int notificationMenuNumber(int currentTab, int unreadAlerts, int unreadErrors)
{
    if (currentTab == 0)
        return unreadErrors;
    if (currentTab == 1)
        return unreadAlerts;
    return unreadAlerts + unreadErrors;
}

QString notificationMenuNumberText(int number)
{
    if (number <= 0)
        return QStringLiteral("    ");
    if (number <= 9)
        return QString::number(number) + QStringLiteral("  ");
    if (number <= 99)
        return QString::number(number) + QLatin1Char(' ');
    return QString::number(number);
}

int totalNotificationNumber(int unreadAlerts, int unreadErrors)
{
    const qint64 sum = qint64(unreadAlerts) + unreadErrors;
    return sum < 0 ? 0 : int(qMin<qint64>(sum, INT_MAX));
}

QString notificationButtonPlainText()
{
    return kButtonName.leftJustified(40, QLatin1Char(' '));
}

QString notificationButtonText(const QString& number)
{
    if (number == QLatin1String("0"))
        return notificationButtonPlainText();
    const int value = number.trimmed().toInt();
    int width = 0;
    switch (digitCount(value)) {
    case 1:
        width = 36;
        break;
    case 2:
        width = 35;
        break;
    case 3:
        width = 34;
        break;
    default:
        return QString();
    }
    return kButtonName.leftJustified(width, QLatin1Char(' ')) + number;
}
