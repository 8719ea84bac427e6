#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

// Windows-1254 (Turkish), the single-byte code page of the workstations: transfer files
// and the stored-password encoding use it.

// The bytes of a text, or nothing when a character has no place in the code page.
std::optional<QByteArray> Windows1254e(const QString &metin);
// The code of one character, or -1 when the code page cannot hold it.
int Windows1254Kodu(QChar karakter);
QString Windows1254ten(const QByteArray &baytlar);
// Every byte's character, 0 for the bytes the code page leaves undefined (the NUL byte's
// character is 0 as well): for readers that decode line by line.
const std::array<char16_t, 256> &Windows1254Karakterleri();
