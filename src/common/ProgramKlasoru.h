#pragma once

#include <QString>

// The program's own folder, where the remembered transfer path is kept. Tests point it at a
// temporary folder.
QString ProgramKlasoru();
// Overrides the folder; an empty text returns to the executable's folder.
void ProgramKlasorunuAyarla(const QString &klasor);
