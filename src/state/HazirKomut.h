#pragma once

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

class VeriTabaniBaglantisi;
struct sqlite3;
struct sqlite3_stmt;

// A statement prepared once and run again and again with other values. On the embedded
// backend it goes straight through SQLite's own interface on the connection's handle, which
// spares the per-value bookkeeping of QSqlQuery where a command sends hundreds of thousands of
// statements; elsewhere it is the connection's prepared QSqlQuery. Values come and go as the
// same QVariants QSqlQuery takes and gives. Every run counts as one statement sent.
class HazirKomut
{
public:
    HazirKomut(VeriTabaniBaglantisi &baglanti, const QString &sql); // throws Hata
    ~HazirKomut();
    HazirKomut(const HazirKomut &) = delete;
    HazirKomut &operator=(const HazirKomut &) = delete;

    // The value of "?" number `sira` (0-based) for the next run.
    void Bagla(int sira, const QVariant &deger);
    // Runs the statement; rows are then read with Sonraki(). Throws Hata.
    void Yurut();
    bool Sonraki(); // throws Hata
    int SutunSayisi() const;
    QString SutunAdi(int sutun) const;
    QVariant Deger(int sutun) const;
    // The key of the row the last INSERT created.
    QVariant SonEklenenId() const;
    // Lets go of the result (and of the database's read lock).
    void Bitir();

private:
    [[noreturn]] void Firlat(int sonuc);

    VeriTabaniBaglantisi &m_baglanti;
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_komut = nullptr;
    bool m_calisti = false;  // stepped since the last reset
    bool m_satirHazir = false; // the first step's row is not yet handed out
    QSqlQuery *m_sorgu = nullptr;
};
