#pragma once

#include <QString>

// The remembered transfer path "öncekitrnsfr.txt": its first line is the path the export or
// the import chose last, and both propose it in their file dialog. It is kept in the
// program's folder; when that folder cannot be written (an installed program), in the
// user's application data folder. Written in UTF-8 with CRLF: it holds a path of this
// machine, and UTF-8 keeps any file name the system can hold.

QString OncekiDosyaYolu();
// The remembered path, or an empty text when there is none or it cannot be read.
QString OncekiDosyaOku();
// Replaces the file with the one line. Throws Hata when it cannot be written.
void OncekiDosyaYaz(const QString &yol);
