#pragma once

#include <QString>

// Writes a demo back-office into a folder: "Defination_DB" with users and companies, and
// three company databases:
//  - FIRMA01 "MERKEZ MAĞAZA" (code 01): the source, rich in stock cards and price rows;
//  - FIRMA02 "KADIKÖY ŞUBE" (code 02): the same VAT groups, half of the source's stock codes
//    (a quarter of them identical, a quarter with other values) and cards of its own;
//  - FIRMA03 "İZMİR TOPTAN" (code 03): VAT groups that disagree with the others.
// Users: TORVELA (password "1234") may open all three; KASIYER (password "kasa") only FIRMA02.
struct DemoAyarlari {
    int kartSayisi = 600;   // cards of the source company
    int fiyatSayisi = 4;    // price rows per card (levels 1..n, at most 10)
};

// Throws Hata when the folder cannot be written.
void DemoOlustur(const QString &klasor, const DemoAyarlari &ayarlar = DemoAyarlari());

// The demo users, for the README and the tests.
inline constexpr auto DemoKullanici = "torvela";
inline constexpr auto DemoSifre = "1234";
