#pragma once

#include <QString>
#include <QVector>

// The workstation's regional settings must follow the Turkish convention the program's users
// expect (decimal comma, thousands point, dd.MM.yyyy). The check runs first at start-up.

struct BolgeselDeger {
    QString ad;      // value under "Control Panel\International"
    QString gerekli; // required content
    QString etiket;  // mismatch label
};

// The four values in the order they are read.
const QVector<BolgeselDeger> &BolgeselDegerler();
inline const QString BolgeselAnahtar = QStringLiteral("Control Panel\\International");

// The label of the last value that differs from its required content; empty when all agree.
QString BolgeselUyumsuzluk();

enum class BolgeselSonuc {
    Devam,          // start-up goes on
    ProgramiBitir,  // the operator refused the change
    YenidenBaslat   // changed; the platform needs a restart, the program ends
};

// The platform's major version. Where there is no registry to restart for, a version at which
// no restart is needed.
int PlatformAnaSurumu();

// Compares, asks the operator (question, Yes/No) and on Yes writes all four values.
// With a platform version of 4 or less the change needs a restart: the operator is told and
// the program ends.
BolgeselSonuc BolgeselAyarlariAyarla(int anaSurum = PlatformAnaSurumu());
