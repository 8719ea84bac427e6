#pragma once

#include <QString>

// The form in which the user table holds passwords: each character's Windows-1254 code
// times two plus its 1-based position, as a Windows-1254 character; a result above 255
// adds nothing (the following characters keep their own positions).
// "abc" gives the characters with codes 195, 198 and 201.
QString SifreKodla(const QString &sifre);

// Turkish-aware upper-casing: "i" becomes "İ" and "ı" becomes "I" ("istanbul" -> "İSTANBUL").
QString BuyukHarf(const QString &metin);
