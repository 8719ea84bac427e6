#pragma once

#include <QString>
#include <optional>

// The date-entry check of a text being typed: keeps the digits, rebuilds them as day/month/
// year with "/" after a complete day and month. An impossible day or month is refused with
// its critical message (through the operator seam); the result is nothing then and the
// caller leaves the typed text as it was and gives the focus back.
std::optional<QString> TarihKontrol(const QString &metin);
