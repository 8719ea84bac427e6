#pragma once

#include <QDate>

// Today's date, as the commands that stamp or propose dates read it. Tests fix it.
QDate Bugun();
// Fixes the date Bugun() answers; an invalid date returns to the system clock.
void BugunuAyarla(const QDate &gun);
