#pragma once

#include <QString>

// The display format of amounts with n decimals: "#,##" then "." and n times "#"
// (0 or less: "#,##"; 2: "#,##.##").
QString ParaFormati(int ondalik);

// Reads the settings row of the company `Degiskenler::FirmaID` on the current connection
// (the definitions database) into the shared state: the 21 values and the three formats.
// Throws Hata when the row is missing or a column is missing, empty (NULL) or does not fit
// its variable; the shared state is then left as it was.
void FirmaAyarlariniOku();
