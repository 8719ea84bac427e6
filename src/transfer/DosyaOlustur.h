#pragma once

#include "filter/AktarimSecimi.h"

#include <QString>

class SonucListesi;

// What an export wrote.
struct DisaAktarimSayilari {
    int kdvGrubu = 0;
    int fiyatTanimi = 0;
    int kart = 0;
    int fiyatSatiri = 0;
};

// Writes the transfer file of the listed cards at `yol`, replacing a file there, with the
// progress display but without any dialog or question. The file is written beside the
// target and put in place only when complete. Throws Hata (nothing written, an existing file
// untouched) when a statement fails, a listed card is gone, a price level lies outside 0..10
// or a value cannot stand in the file.
DisaAktarimSayilari AktarimDosyasiYaz(const QString &yol, const SonucListesi &Fisgrd, const AktarimSecimi &secim);

// "DOSYA OLUŞTUR": the file dialog with the remembered path, the overwrite question, the
// file, and "İşlem Tamamlandı" or the reason the file was not written.
void DosyaOlustur(const SonucListesi &Fisgrd, const AktarimSecimi &secim);
