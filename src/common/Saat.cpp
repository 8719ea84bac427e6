#include "common/Saat.h"

namespace {
QDate sabitGun;
QDateTime sabitAn;
}

QDate Bugun()
{
    if (sabitGun.isValid())
        return sabitGun;
    return sabitAn.isValid() ? sabitAn.date() : QDate::currentDate();
}

void BugunuAyarla(const QDate &gun)
{
    sabitGun = gun;
}

QDateTime Simdi()
{
    return sabitAn.isValid() ? sabitAn : QDateTime::currentDateTime();
}

void SimdiyiAyarla(const QDateTime &an)
{
    sabitAn = an;
}
