#pragma once

#include <QString>

class QSettings;

// The current user's settings store, reached the way the registry is: a root key, a subkey
// path with "\" between its parts, and a text value. On Windows this is the registry itself
// (HKEY_CURRENT_USER); elsewhere Qt's per-user settings file, with the same key and value
// names. Nothing here reports a failure: what cannot be read is empty text.

// The only root key this system uses.
constexpr quint32 HKEY_CURRENT_USER_KOKU = 0x80000001u;

// The text of a value; empty when the key or the value is missing or not text.
QString RegistryOku(quint32 kok, const QString &altAnahtar, const QString &degerAdi);
// One value of a key already opened: text values only, cut at the first zero character.
QString RegistryDegerOku(QSettings &anahtar, const QString &degerAdi);
// Writes a text value, creating the key when it is missing.
void RegistryYaz(quint32 kok, const QString &altAnahtar, const QString &degerAdi, const QString &metin);
