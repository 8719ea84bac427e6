#pragma once

#include "state/SutunTipi.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

class ArkaUc;

// The one rule by which every database value becomes text (shown, compared, written to a
// transfer file) and by which a text written into a typed column becomes a value again.
// It follows the Turkish convention the workstation is set to, whatever the machine's locale:
// decimal comma, no digit grouping, dates dd.MM.yyyy, bits True/False, NULL as empty text.

// Value to text, not trimmed. A value of unknown column type is judged by its own type.
QString DegerMetni(const QVariant &deger, SutunTipi tip = SutunTipi::Bilinmiyor);

// A number with decimal comma, no grouping and no trailing zeros: 12,5; 8; 0.
QString SayiMetni(double sayi);

// Text to the value a column stores. Throws Hata when the column cannot take the text;
// never turns it silently into 0 or NULL. Dates and bits take the backend's stored form.
QVariant MetinDegeri(const QString &metin, const SutunBilgisi &sutun, const ArkaUc &arkaUc);

// The embedded backend's stored form of a date and time: 'yyyy-MM-dd HH:mm:ss', read back
// in that form or a shorter one.
QString SaklananTarihMetni(const QDate &tarih, const QTime &saat);
QDateTime SQLiteTarihOku(const QString &metin);
