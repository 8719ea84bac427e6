#pragma once

#include <QString>
#include <optional>

class SonucListesi;

// Fills the result list from `Degiskenler::ListeSQL` on `Degiskenler::ListeRS`, with the
// progress display and a pause for pending events every 20 rows. The record count, or
// nothing when the statement could not be opened (reported already; the list stays empty).
std::optional<int> StoklariListele(SonucListesi &Fisgrd);

// The caption of `Kayit_SayisiLbl` for a count.
QString KayitSayisiMetni(int sayi);
inline const QString KayitSayisiBasligi = QStringLiteral("LİSTELENEN KAYIT SAYISI : ");
