#pragma once

#include "state/SutunTipi.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

// The one rule by which every database value becomes text (shown, compared, written to a
// transfer file) and by which a text written into a typed column becomes a value again.
// It follows the Turkish convention the workstation is set to, whatever the machine's locale:
// decimal comma, no digit grouping, dates dd.MM.yyyy, bits True/False, NULL as empty text.

// Value to text, not trimmed. A value of unknown column type is judged by its own type.
QString DegerMetni(const QVariant &deger, SutunTipi tip = SutunTipi::Bilinmiyor);

// A number with decimal comma, no grouping and no trailing zeros: 12,5; 8; 0.
QString SayiMetni(double sayi);

// Text to the value a column stores. Throws Hata when the column cannot take the text;
// never turns it silently into 0 or NULL. `sqliteIcin` gives the embedded storage form
// (datetime as 'YYYY-MM-DD HH:MM:SS', bit as 0/1).
QVariant MetinDegeri(const QString &metin, const SutunBilgisi &sutun, bool sqliteIcin);

// The embedded backend's stored form of a date and time.
QString SQLiteTarihMetni(const QDateTime &zaman);
QDateTime SQLiteTarihOku(const QString &metin);
