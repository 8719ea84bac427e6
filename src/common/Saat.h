#pragma once

#include <QDate>
#include <QDateTime>

// Today's date, as the commands that stamp or propose dates read it. Tests fix it.
QDate Bugun();
// Fixes the date Bugun() answers; an invalid date returns to the system clock.
void BugunuAyarla(const QDate &gun);

// The date and time a change report gives its lines. Tests fix it (and with it Bugun()).
QDateTime Simdi();
void SimdiyiAyarla(const QDateTime &an);
