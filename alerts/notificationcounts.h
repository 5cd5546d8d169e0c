#pragma once

// Texts of the unread counts: the three notification tabs and the Notifications menu button.

#include <QString>

// Decimal digits of n, one more when n is negative; 0 for 0.
int digitCount(int n);

// Tab 0 "Alerts", 1 "Error Messages", 2 "System Messages".
QString notificationTabName(int tab);

// With a count: the name, " [", the count, "]" and the blanks that keep the Alerts and Error
// Messages tabs of even width. Without: the name and six blanks.
QString notificationTabText(int tab, int count, bool showCount);

// A tab shows its count while it has unread lines and is not in front, or while the
// notifications page is open.
bool notificationTabShowsCount(int tab, int count, int currentTab, bool pageOpen);

// The number on the menu button: unread errors while the Alerts tab is in front, unread alerts
// while the Error Messages tab is, both otherwise. System messages never count.
int notificationMenuNumber(int currentTab, int unreadAlerts, int unreadErrors);

// The number text handed to the button: padded to three characters; four blanks for 0 or less.
QString notificationMenuNumberText(int number);

// unreadAlerts + unreadErrors, or 0 if the sum is negative.
int totalNotificationNumber(int unreadAlerts, int unreadErrors);

// "  Notifications" padded to 40 characters.
QString notificationButtonPlainText();

// The button text for a number text: the plain text for "0"; a 36-, 35- or 34-character padded
// name followed by the text for a number of one, two or three digits; an empty text (the button
// stays as it is) for any other digit count.
QString notificationButtonText(const QString& number);
