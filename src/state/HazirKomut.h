#pragma once

#include "state/ArkaUc.h"

#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <memory>

class QSqlQuery;
class VeriTabaniBaglantisi;

// One backend's way of running a prepared statement; HazirKomut holds the one its backend gives.
class HazirKomutUcu
{
public:
    virtual ~HazirKomutUcu() = default;
    virtual void Bagla(int sira, const QVariant &deger) = 0;
    virtual void Yurut() = 0;
    virtual bool Sonraki() = 0;
    virtual int SutunSayisi() const = 0;
    virtual QString SutunAdi(int sutun) const = 0;
    virtual QVariant Deger(int sutun) const = 0;
    // The result's columns as a record (typed where the driver tells the types).
    virtual QSqlRecord Kayit() const = 0;
    virtual QVariant SonEklenenId() = 0;
    virtual void Bitir() = 0;
};

// The statement through a QSqlQuery of the connection: prepared once and kept by the
// connection, or run once (TekSefer, no values).
std::unique_ptr<HazirKomutUcu> SorguKomutu(VeriTabaniBaglantisi &baglanti, const QString &sql, KomutKullanimi kullanim);

// A statement prepared once and run again and again with other values. On the embedded
// backend it goes straight through SQLite's own interface on the connection's handle, which
// spares the per-value bookkeeping of QSqlQuery where a command sends hundreds of thousands of
// statements; elsewhere it is the connection's prepared QSqlQuery. Values come and go as the
// same QVariants QSqlQuery takes and gives. Every run counts as one statement sent.
class HazirKomut
{
public:
    // Throws Hata.
    HazirKomut(VeriTabaniBaglantisi &baglanti, const QString &sql, KomutKullanimi kullanim = KomutKullanimi::Tekrar);
    ~HazirKomut();
    HazirKomut(const HazirKomut &) = delete;
    HazirKomut &operator=(const HazirKomut &) = delete;

    // The value of "?" number `sira` (0-based) for the next run.
    void Bagla(int sira, const QVariant &deger) { m_uc->Bagla(sira, deger); }
    // Runs the statement; rows are then read with Sonraki(). Throws Hata.
    void Yurut() { m_uc->Yurut(); }
    bool Sonraki() { return m_uc->Sonraki(); } // throws Hata
    int SutunSayisi() const { return m_uc->SutunSayisi(); }
    QString SutunAdi(int sutun) const { return m_uc->SutunAdi(sutun); }
    QVariant Deger(int sutun) const { return m_uc->Deger(sutun); }
    QSqlRecord Kayit() const { return m_uc->Kayit(); }
    // The key of the row the last INSERT created; invalid or NULL when there is none.
    QVariant SonEklenenId() const { return m_uc->SonEklenenId(); }
    // Lets go of the result (and of the database's read lock).
    void Bitir() { m_uc->Bitir(); }

private:
    std::unique_ptr<HazirKomutUcu> m_uc;
};
