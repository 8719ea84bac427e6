#pragma once

#include <QString>

// Writes a demo back-office into a folder or onto a SQL Server: "Defination_DB" with users
// and companies, and three company databases:
//  - FIRMA01 "MERKEZ MAĞAZA" (code 01): the source, rich in stock cards and price rows;
//  - FIRMA02 "KADIKÖY ŞUBE" (code 02): the same VAT groups, half of the source's stock codes
//    (a quarter of them identical, a quarter with other values) and cards of its own;
//  - FIRMA03 "İZMİR TOPTAN" (code 03): VAT groups that disagree with the others.
// Users: TORVELA (password "1234") may open all three; KASIYER (password "kasa") only FIRMA02.
// On SQL Server each user is also a login with that password ("torvela", "kasiyer": the names
// as typed at login, so that they match under every case-insensitive server collation), with
// read and write rights in "Defination_DB" and in its companies' databases.
// The same rows on both backends: only the writing differs.
struct DemoAyarlari {
    int kartSayisi = 600;   // cards of the source company
    int fiyatSayisi = 4;    // price rows per card (levels 1..n, at most 10)
    bool uzerineYaz = false; // replace a back-office (databases, logins) already there
};

// Into a folder, as FOLDER/NAME.sqlite. Throws Hata when the folder cannot be written or
// already holds a back-office and `uzerineYaz` is not set.
void DemoOlustur(const QString &klasor, const DemoAyarlari &ayarlar = DemoAyarlari());
// Onto the SQL Server named by `server` (as typed at login), through an administrator login.
// Throws Hata when it cannot connect, when a database or login is already there and
// `uzerineYaz` is not set, or when the server refuses a statement.
void SqlServerDemoOlustur(const QString &server, const QString &kullanici, const QString &sifre,
                          const DemoAyarlari &ayarlar = DemoAyarlari());
class DemoYazici;
// Through a writer of the caller's (one that reuses an open connection).
void DemoYaz(DemoYazici &yazici, const DemoAyarlari &ayarlar);

// The demo users, for the README and the tests.
inline constexpr auto DemoKullanici = "torvela";
inline constexpr auto DemoSifre = "1234";
