#include "common/Saat.h"

namespace {
QDate sabitGun;
}

QDate Bugun()
{
    return sabitGun.isValid() ? sabitGun : QDate::currentDate();
}

void BugunuAyarla(const QDate &gun)
{
    sabitGun = gun;
}
