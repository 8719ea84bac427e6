#pragma once

#include <QPushButton>

// A command button of the program's screens: found by its object name, of one height, and
// never the dialog's default (Enter belongs to the grids and boxes, not to a button).
inline QPushButton *Dugme(QWidget *ust, const char *ad, const QString &metin)
{
    auto *d = new QPushButton(metin, ust);
    d->setObjectName(QLatin1String(ad));
    d->setMinimumHeight(34);
    d->setAutoDefault(false);
    return d;
}
