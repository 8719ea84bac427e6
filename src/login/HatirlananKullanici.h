#pragma once

#include <QString>

// The last user name and server, remembered per operator in the settings store under
// "DEF_TORVELA" ("DEF_KUL", "DEF_SRVR"). The password is never stored.
namespace HatirlananKullanici {
inline const QString Anahtar = QStringLiteral("DEF_TORVELA");
inline const QString KullaniciDegeri = QStringLiteral("DEF_KUL");
inline const QString ServerDegeri = QStringLiteral("DEF_SRVR");

// The stored texts as they are (empty when missing).
QString Kullanici();
QString Server();
// Stores both, trimmed.
void Kaydet(const QString &kullanici, const QString &server);
} // namespace HatirlananKullanici
